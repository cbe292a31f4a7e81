#pragma once

/// Receives the key presses of the whole desktop, on the main thread.
class KeyListener
{
public:
    virtual ~KeyListener() = default;
    virtual void KeyHookProc() = 0;
    /// The system ended the subscription (for instance, its connection was lost).
    virtual void keySubscriptionCancelled() = 0;
};

/// The keyboard of the whole desktop, also while other programs have the focus.
class KeyEventSource
{
public:
    virtual ~KeyEventSource() = default;
    /// Subscribes the listener to every key press, in place of any earlier subscription; false
    /// when the desktop offers no such events.
    virtual bool startKeys(KeyListener& listener) = 0;
    /// Ends the subscription; harmless when there is none.
    virtual void stopKeys() = 0;
};

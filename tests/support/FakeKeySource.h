#pragma once

#include "detect/KeyEventSource.h"

/// The desktop's keyboard in a test: the test presses keys and cancels the subscription.
class FakeKeySource : public KeyEventSource
{
public:
    bool startKeys(KeyListener& listener) override
    {
        ++starts;
        if (!startSucceeds)
            return false;
        m_listener = &listener;
        return true;
    }
    void stopKeys() override { m_listener = nullptr; }

    bool subscribed() const { return m_listener != nullptr; }
    /// A key pressed anywhere on the desktop, delivered when subscribed.
    void press()
    {
        if (m_listener)
            m_listener->KeyHookProc();
    }
    /// The system ends the subscription.
    void cancel()
    {
        KeyListener* listener = m_listener;
        m_listener = nullptr;
        if (listener)
            listener->keySubscriptionCancelled();
    }

    bool startSucceeds = true;
    int starts = 0;

private:
    KeyListener* m_listener = nullptr;
};

#pragma once

#include <QPoint>
#include <optional>

/// What the desktop's pointer did.
enum class PointerEvent { LeftPress, MiddlePress, RightPress, Wheel, Move, Other };

/// Receives the pointer events of the whole desktop, on the main thread.
class PointerListener
{
public:
    virtual ~PointerListener() = default;
    virtual void MouseHookProc(PointerEvent event) = 0;
    /// The system ended the subscription (for instance, its connection was lost).
    virtual void subscriptionCancelled() = 0;
};

/// The pointer of the whole desktop, also while other programs have the focus.
class PointerEventSource
{
public:
    virtual ~PointerEventSource() = default;
    /// Subscribes the listener to every pointer event, in place of any earlier subscription;
    /// false when the desktop offers no such events.
    virtual bool start(PointerListener& listener) = 0;
    /// Ends the subscription; harmless when there is none.
    virtual void stop() = 0;
    /// The pointer's position on the screen; nothing when it cannot be read.
    virtual std::optional<QPoint> cursorPos() = 0;
    /// True when only the pointer over X11 windows is seen (XWayland in a Wayland session).
    virtual bool seesOnlyX11Windows() const = 0;
};

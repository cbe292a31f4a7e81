#pragma once

#include "detect/PointerEventSource.h"

#include <functional>

/// The desktop's pointer in a test: the test moves it, presses its buttons and cancels the
/// subscription; the source counts its starts and stops.
class FakePointerSource : public PointerEventSource
{
public:
    bool start(PointerListener& listener) override
    {
        ++starts;
        if (onStart)
            onStart();
        if (!startSucceeds)
            return false;
        m_listener = &listener;
        return true;
    }
    void stop() override
    {
        if (m_listener && onStop)
            onStop();
        ++stops;
        m_listener = nullptr;
    }
    std::optional<QPoint> cursorPos() override { return positionReadable ? std::optional(position) : std::nullopt; }
    bool seesOnlyX11Windows() const override { return x11Only; }

    bool subscribed() const { return m_listener != nullptr; }
    /// An event of the desktop's pointer, delivered when subscribed.
    void send(PointerEvent event)
    {
        if (m_listener)
            m_listener->MouseHookProc(event);
    }
    /// The pointer moves to `to` in one event.
    void moveTo(QPoint to)
    {
        position = to;
        send(PointerEvent::Move);
    }
    /// The system ends the subscription.
    void cancel()
    {
        PointerListener* listener = m_listener;
        m_listener = nullptr;
        if (listener)
            listener->subscriptionCancelled();
    }

    QPoint position{500, 400};
    bool positionReadable = true;
    bool startSucceeds = true;
    bool x11Only = false;
    int starts = 0;
    int stops = 0;
    std::function<void()> onStart; // runs as start() begins
    std::function<void()> onStop;  // runs as stop() ends a subscription

private:
    PointerListener* m_listener = nullptr;
};


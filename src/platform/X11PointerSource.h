#pragma once

#include "detect/PointerEventSource.h"

#include <functional>
#include <memory>

struct _XDisplay;
class QSocketNotifier;

/// The desktop's pointer through XInput2 (2.1 or later): raw button presses and raw motion
/// selected on the root window of a connection of its own, for all master devices. Events are read on the main
/// thread when the connection's socket has data, so no thread is added. A lost connection is
/// reported to the listener as a cancelled subscription; the program goes on.
class X11PointerSource : public PointerEventSource
{
public:
    X11PointerSource();
    ~X11PointerSource() override;
    X11PointerSource(const X11PointerSource&) = delete;
    X11PointerSource& operator=(const X11PointerSource&) = delete;

    bool start(PointerListener& listener) override;
    void stop() override;
    std::optional<QPoint> cursorPos() override;
    bool seesOnlyX11Windows() const override;

private:
    /// Main thread: hands every queued event to the listener.
    void readEvents();
    std::function<void()> readEventsLater();
    bool selectRawEvents();
    void closeDisplay();
    static void onConnectionLost(_XDisplay* display, void* self);

    _XDisplay* m_display = nullptr;
    int m_xiOpcode = 0;
    bool m_lost = false;
    PointerListener* m_listener = nullptr;
    std::unique_ptr<QSocketNotifier> m_notifier;
    std::shared_ptr<int> m_alive = std::make_shared<int>(0); // gone with the source
};

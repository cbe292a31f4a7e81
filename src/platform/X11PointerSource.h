#pragma once

#include "detect/KeyEventSource.h"
#include "detect/PointerEventSource.h"

#include <functional>
#include <memory>

struct _XDisplay;
class QSocketNotifier;

/// The desktop's pointer and keyboard through XInput2 (2.1 or later): raw button presses, raw
/// motion and raw key presses, each selected while it has a listener, on the root window of one
/// connection of its own, for all master devices. Events are read on the main thread when the
/// connection's socket has data, so no thread is added. A lost connection is reported to every
/// listener as a cancelled subscription; the program goes on.
class X11PointerSource : public PointerEventSource, public KeyEventSource
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
    bool startKeys(KeyListener& listener) override;
    void stopKeys() override;

private:
    /// Opens the connection when there is none and selects what the listeners want; false, with
    /// the listener taken back, when that fails.
    template <typename Listener> bool subscribe(Listener*& slot, Listener& listener);
    /// The selection follows the listeners; without any, the connection closes.
    void unsubscribed();
    bool openConnection();
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
    KeyListener* m_keyListener = nullptr;
    std::unique_ptr<QSocketNotifier> m_notifier;
    std::shared_ptr<int> m_alive = std::make_shared<int>(0); // gone with the source
};

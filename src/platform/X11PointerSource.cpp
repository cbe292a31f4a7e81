#include "X11PointerSource.h"

#include <QSocketNotifier>
#include <set>
#include <utility>

// After Qt: the X11 headers define names such as None and Status as macros.
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

namespace {
/// Errors of our own requests while a selection is checked; any other connection's errors go
/// to the handler that was there before.
int g_requestError = Success;
Display* g_checkedDisplay = nullptr;
XErrorHandler g_previousHandler = nullptr;

int recordRequestError(Display* display, XErrorEvent* error)
{
    if (display == g_checkedDisplay) {
        g_requestError = error->error_code;
        return 0;
    }
    return g_previousHandler ? g_previousHandler(display, error) : 0;
}

/// Our connections: when one of them breaks, the program goes on.
std::set<Display*>& ownDisplays()
{
    static std::set<Display*> displays;
    return displays;
}

XIOErrorHandler g_previousIOHandler = nullptr;

int onBrokenConnection(Display* display)
{
    // Returning hands the broken connection to its exit handler, which only takes note. Any
    // other connection (the toolkit's) keeps the handling it had, which ends the program.
    if (ownDisplays().count(display))
        return 0;
    return g_previousIOHandler ? g_previousIOHandler(display) : 0;
}

Display* openDisplay(void (*onLost)(Display*, void*), void* data)
{
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return nullptr;
    // The handler is the process's: it goes in once, after the toolkit has put in its own.
    static const bool handlerInstalled = [] {
        g_previousIOHandler = XSetIOErrorHandler(onBrokenConnection);
        return true;
    }();
    Q_UNUSED(handlerInstalled);
    ownDisplays().insert(display);
    // Without an exit handler of ours Xlib would end the process when the connection breaks.
    XSetIOErrorExitHandler(display, onLost, data);
    return display;
}

void closeOwnDisplay(Display* display)
{
    // Closing flushes: a connection that broke unnoticed raises its error in here, and must
    // still be known as ours then.
    XCloseDisplay(display);
    ownDisplays().erase(display);
}

PointerEvent pressOf(int button)
{
    switch (button) {
    case 1:
        return PointerEvent::LeftPress;
    case 2:
        return PointerEvent::MiddlePress;
    case 3:
        return PointerEvent::RightPress;
    case 4:
    case 5:
    case 6:
    case 7:
        return PointerEvent::Wheel;
    default:
        return PointerEvent::Other;
    }
}
} // namespace

X11PointerSource::X11PointerSource() = default;

X11PointerSource::~X11PointerSource()
{
    m_listener = nullptr;
    m_keyListener = nullptr;
    closeDisplay();
}

void X11PointerSource::onConnectionLost(Display*, void* self)
{
    static_cast<X11PointerSource*>(self)->m_lost = true;
}

bool X11PointerSource::start(PointerListener& listener)
{
    return subscribe(m_listener, listener);
}

bool X11PointerSource::startKeys(KeyListener& listener)
{
    return subscribe(m_keyListener, listener);
}

template <typename Listener> bool X11PointerSource::subscribe(Listener*& slot, Listener& listener)
{
    slot = &listener;
    if (openConnection() && selectRawEvents())
        return true;
    slot = nullptr;
    unsubscribed();
    return false;
}

bool X11PointerSource::openConnection()
{
    if (m_display)
        return !m_lost;
    m_display = openDisplay(&X11PointerSource::onConnectionLost, this);
    if (!m_display)
        return false;
    m_notifier = std::make_unique<QSocketNotifier>(ConnectionNumber(m_display), QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(),
                     readEventsLater());
    return true;
}

bool X11PointerSource::selectRawEvents()
{
    int event = 0;
    int error = 0;
    // 2.1 or later: raw events keep coming while another program grabs the pointer.
    int major = 2;
    int minor = 2;
    if (!XQueryExtension(m_display, "XInputExtension", &m_xiOpcode, &event, &error) ||
        XIQueryVersion(m_display, &major, &minor) != Success || major * 10 + minor < 21)
        return false;
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    if (m_listener) {
        XISetMask(bits, XI_RawButtonPress);
        XISetMask(bits, XI_RawMotion);
    }
    if (m_keyListener)
        XISetMask(bits, XI_RawKeyPress);
    XIEventMask mask{XIAllMasterDevices, int(sizeof(bits)), bits};

    g_requestError = Success;
    g_checkedDisplay = m_display;
    g_previousHandler = XSetErrorHandler(recordRequestError);
    XISelectEvents(m_display, DefaultRootWindow(m_display), &mask, 1);
    XSync(m_display, False);
    XSetErrorHandler(g_previousHandler);
    g_checkedDisplay = nullptr;
    return g_requestError == Success && !m_lost;
}

void X11PointerSource::stop()
{
    m_listener = nullptr;
    unsubscribed();
}

void X11PointerSource::stopKeys()
{
    m_keyListener = nullptr;
    unsubscribed();
}

void X11PointerSource::unsubscribed()
{
    if (!m_listener && !m_keyListener)
        closeDisplay();
    else if (m_display && !m_lost)
        selectRawEvents();
}

void X11PointerSource::closeDisplay()
{
    // This may run inside the notifier's own signal: it goes once that has returned.
    if (m_notifier) {
        m_notifier->setEnabled(false);
        m_notifier.release()->deleteLater();
    }
    if (m_display)
        closeOwnDisplay(m_display);
    m_display = nullptr;
    m_lost = false;
}

std::function<void()> X11PointerSource::readEventsLater()
{
    // A notifier lives on briefly after a stop, and may outlive the source: it reads only while
    // the source is there.
    return [this, alive = std::weak_ptr<int>(m_alive)] {
        if (!alive.expired())
            readEvents();
    };
}

void X11PointerSource::readEvents()
{
    while (m_display && !m_lost && XPending(m_display) > 0) {
        XEvent event;
        XNextEvent(m_display, &event);
        XGenericEventCookie* cookie = &event.xcookie;
        if (cookie->type != GenericEvent || cookie->extension != m_xiOpcode ||
            !XGetEventData(m_display, cookie))
            continue;
        const int type = cookie->evtype;
        PointerEvent kind = PointerEvent::Other;
        if (type == XI_RawMotion)
            kind = PointerEvent::Move;
        else if (type == XI_RawButtonPress)
            kind = pressOf(static_cast<XIRawEvent*>(cookie->data)->detail);
        XFreeEventData(m_display, cookie);
        if (type == XI_RawKeyPress) {
            if (m_keyListener)
                m_keyListener->KeyHookProc();
        } else if (m_listener) {
            m_listener->MouseHookProc(kind);
        }
    }
    if (m_display && m_lost) {
        PointerListener* listener = std::exchange(m_listener, nullptr);
        KeyListener* keyListener = std::exchange(m_keyListener, nullptr);
        closeDisplay();
        if (listener)
            listener->subscriptionCancelled();
        if (keyListener)
            keyListener->keySubscriptionCancelled();
    }
}

std::optional<QPoint> X11PointerSource::cursorPos()
{
    // Before a start, and between starts, a short connection of its own reads the position.
    Display* display = m_display ? m_display : openDisplay(&X11PointerSource::onConnectionLost, this);
    if (!display)
        return std::nullopt;
    Window root = 0;
    Window child = 0;
    int rootX = 0;
    int rootY = 0;
    int windowX = 0;
    int windowY = 0;
    unsigned int buttons = 0;
    const bool onScreen = !m_lost && XQueryPointer(display, DefaultRootWindow(display), &root, &child,
                                                   &rootX, &rootY, &windowX, &windowY, &buttons);
    if (display != m_display) {
        closeOwnDisplay(display);
        m_lost = false;
    } else if (XEventsQueued(display, QueuedAlready) > 0) {
        // Waiting for the reply read events in that the socket will not announce again.
        QMetaObject::invokeMethod(m_notifier.get(), readEventsLater(), Qt::QueuedConnection);
    }
    if (!onScreen)
        return std::nullopt;
    return QPoint(rootX, rootY);
}

bool X11PointerSource::seesOnlyX11Windows() const
{
    return qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland");
}

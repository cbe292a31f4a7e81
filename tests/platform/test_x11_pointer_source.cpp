// The desktop's pointer and keyboard through XInput2 on a real X server: the rig's Xvfb, driven by xdotool,
// and a private Xvfb that goes away under the source.
#include "platform/X11PointerSource.h"

#include <QDir>
#include <QProcess>
#include <QTest>
#include <functional>

// After Qt: the X11 headers define names such as None as macros.
#include <X11/Xlib.h>

namespace {
struct Recorder : PointerListener
{
    void MouseHookProc(PointerEvent event) override
    {
        events << event;
        if (onEvent)
            onEvent();
    }
    void subscriptionCancelled() override { ++cancels; }
    QList<PointerEvent> events;
    int cancels = 0;
    std::function<void()> onEvent;
};

struct KeyRecorder : KeyListener
{
    void KeyHookProc() override { ++presses; }
    void keySubscriptionCancelled() override { ++cancels; }
    int presses = 0;
    int cancels = 0;
};

void xdotool(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral("xdotool"), arguments);
    QVERIFY(process.waitForFinished(10000));
    QCOMPARE(process.exitCode(), 0);
}

/// An X server of the test's own, on a display it chooses itself.
class PrivateServer
{
public:
    PrivateServer()
    {
        m_server.start(QStringLiteral("Xvfb"), {"-displayfd", "1", "-nolisten", "tcp", "-screen",
                                                "0", "640x480x24"});
        if (m_server.waitForReadyRead(10000))
            display = ":" + QString::fromLatin1(m_server.readLine()).trimmed();
    }
    ~PrivateServer() { goAway(); }

    void goAway()
    {
        m_server.terminate();
        m_server.waitForFinished(10000);
    }

    QString display; // empty when the server did not start

private:
    QProcess m_server;
};

/// Sets DISPLAY for the scope of a test.
class DisplayFor
{
public:
    explicit DisplayFor(const QString& display) : m_saved(qgetenv("DISPLAY"))
    {
        qputenv("DISPLAY", display.toLocal8Bit());
    }
    ~DisplayFor() { qputenv("DISPLAY", m_saved); }

private:
    QByteArray m_saved;
};
} // namespace

class X11PointerSourceTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY2(!qEnvironmentVariable("DISPLAY").isEmpty(), "needs the headless rig's X server");
        // An idle Xvfb resets each time its last client leaves and refuses connections while it
        // does; a desktop's server never does. One connection held for the whole test keeps the
        // rig's server like a desktop's.
        m_keepAlive = XOpenDisplay(nullptr);
        QVERIFY(m_keepAlive);
    }

    void cleanupTestCase()
    {
        if (m_keepAlive)
            XCloseDisplay(m_keepAlive);
    }

    void pressesWheelAndMovesArriveAsTheirKinds()
    {
        X11PointerSource source;
        Recorder recorder;
        QVERIFY(source.start(recorder));
        const std::pair<const char*, PointerEvent> clicks[] = {
            {"1", PointerEvent::LeftPress},   {"2", PointerEvent::MiddlePress},
            {"3", PointerEvent::RightPress},  {"4", PointerEvent::Wheel},
            {"5", PointerEvent::Wheel},
        };
        for (const auto& [button, kind] : clicks) {
            recorder.events.clear();
            xdotool({"click", button});
            // The press arrives; the release that follows it is no event of ours.
            QTRY_COMPARE(recorder.events, QList<PointerEvent>{kind});
            QTest::qWait(50);
            QCOMPARE(recorder.events, QList<PointerEvent>{kind});
        }

        xdotool({"mousemove", "200", "200"});
        QTRY_COMPARE(source.cursorPos(), std::optional(QPoint(200, 200)));
        recorder.events.clear();
        xdotool({"mousemove_relative", "--", "40", "-30"});
        QTRY_VERIFY(!recorder.events.isEmpty());
        QVERIFY(recorder.events.contains(PointerEvent::Move));
        QCOMPARE(source.cursorPos(), std::optional(QPoint(240, 170)));
        QCOMPARE(recorder.cancels, 0);
    }

    void nothingArrivesAfterStop()
    {
        X11PointerSource source;
        Recorder recorder;
        QVERIFY(source.start(recorder));
        source.stop();
        xdotool({"click", "1"});
        QTest::qWait(200);
        QVERIFY(recorder.events.isEmpty());
        // The position is still readable, through a short connection of its own.
        QVERIFY(source.cursorPos());
    }

    void eventsKeepComingWhileAnotherProgramGrabsThePointer()
    {
        X11PointerSource source;
        Recorder recorder;
        QVERIFY(source.start(recorder));
        // An open menu of another program holds the pointer like this.
        Display* other = XOpenDisplay(nullptr);
        QVERIFY(other);
        QCOMPARE(XGrabPointer(other, DefaultRootWindow(other), False, ButtonPressMask,
                              GrabModeAsync, GrabModeAsync, 0, 0, CurrentTime),
                 GrabSuccess);
        XSync(other, False);
        xdotool({"click", "1"});
        xdotool({"mousemove_relative", "--", "5", "5"});
        QTRY_VERIFY(recorder.events.contains(PointerEvent::LeftPress));
        QTRY_VERIFY(recorder.events.contains(PointerEvent::Move));
        XUngrabPointer(other, CurrentTime);
        XCloseDisplay(other);
    }

    void aListenerMayStopOrRestartTheSourceFromAnEvent()
    {
        X11PointerSource source;
        Recorder recorder;
        int restarts = 0;
        recorder.onEvent = [&] {
            source.stop();
            if (restarts++ == 0)
                QVERIFY(source.start(recorder));
        };
        QVERIFY(source.start(recorder));
        xdotool({"click", "1"});
        QTRY_COMPARE(recorder.events.size(), 1);
        // The restarted subscription hears the next click, and stops for good with it.
        xdotool({"click", "3"});
        QTRY_COMPARE(recorder.events.size(), 2);
        xdotool({"click", "1"});
        QTest::qWait(200);
        QCOMPARE(recorder.events, (QList<PointerEvent>{PointerEvent::LeftPress, PointerEvent::RightPress}));
    }

    void keyPressesAndThePointerShareOneConnectionAndStopApart()
    {
        X11PointerSource source;
        Recorder pointer;
        KeyRecorder keys;
        QVERIFY(source.startKeys(keys));
        xdotool({"key", "a"});
        // The press arrives; the release that follows it is no event of ours.
        QTRY_COMPARE(keys.presses, 1);
        QTest::qWait(100);
        QCOMPARE(keys.presses, 1);

        QVERIFY(source.start(pointer));
        xdotool({"click", "1"});
        QTRY_VERIFY(pointer.events.contains(PointerEvent::LeftPress));
        QCOMPARE(keys.presses, 1);
        xdotool({"key", "b"});
        QTRY_COMPARE(keys.presses, 2);

        source.stopKeys();
        pointer.events.clear();
        xdotool({"key", "c"});
        xdotool({"click", "3"});
        QTRY_VERIFY(pointer.events.contains(PointerEvent::RightPress));
        QCOMPARE(keys.presses, 2);
        QVERIFY(source.startKeys(keys));
        source.stop();
        xdotool({"key", "d"});
        QTRY_COMPARE(keys.presses, 3);
        QCOMPARE(keys.cancels, 0);
    }

    void withoutAnXServerTheStartFails()
    {
        QString gone;
        {
            PrivateServer server;
            gone = server.display;
        }
        QVERIFY(!gone.isEmpty());
        const DisplayFor none(gone);
        X11PointerSource source;
        Recorder recorder;
        QVERIFY(!source.start(recorder));
        QCOMPARE(source.cursorPos(), std::nullopt);
    }

    void aServerThatGoesAwayEndsTheSubscriptionAndTheProgramGoesOn_data()
    {
        QTest::addColumn<bool>("stopFirst");
        QTest::newRow("the event loop notices: a cancel notice") << false;
        QTest::newRow("stopped before the loop notices: nothing else") << true;
    }

    void aServerThatGoesAwayEndsTheSubscriptionAndTheProgramGoesOn()
    {
        QFETCH(bool, stopFirst);
        PrivateServer server;
        QVERIFY(!server.display.isEmpty());
        const DisplayFor ours(server.display);
        X11PointerSource source;
        Recorder recorder;
        KeyRecorder keys;
        QVERIFY(source.start(recorder));
        QVERIFY(source.startKeys(keys));
        server.goAway();
        if (stopFirst) {
            source.stop();
            source.stopKeys();
            QTest::qWait(100);
            QCOMPARE(recorder.cancels, 0);
            QCOMPARE(keys.cancels, 0);
            return;
        }
        QTRY_COMPARE(recorder.cancels, 1);
        QCOMPARE(keys.cancels, 1);
        // A new subscription finds no server: it fails, and nothing else happens.
        QVERIFY(!source.start(recorder));
        QVERIFY(!source.startKeys(keys));
        QCOMPARE(recorder.cancels, 1);
        QCOMPARE(keys.cancels, 1);
    }

private:
    Display* m_keepAlive = nullptr;
};

QTEST_GUILESS_MAIN(X11PointerSourceTest)
#include "test_x11_pointer_source.moc"

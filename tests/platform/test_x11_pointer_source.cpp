// The desktop's pointer through XInput2 on a real X server: the rig's Xvfb, driven by xdotool,
// and a private Xvfb that goes away under the source.
#include "platform/X11PointerSource.h"

#include <QDir>
#include <QProcess>
#include <QTest>

namespace {
struct Recorder : PointerListener
{
    void MouseHookProc(PointerEvent event) override { events << event; }
    void subscriptionCancelled() override { ++cancels; }
    QList<PointerEvent> events;
    int cancels = 0;
};

void xdotool(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral("xdotool"), arguments);
    QVERIFY(process.waitForFinished(10000));
    QCOMPARE(process.exitCode(), 0);
}

/// A display number no X server uses here.
QString freeDisplay()
{
    for (int n = 90; n < 200; ++n)
        if (!QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)) &&
            !QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(n)))
            return QStringLiteral(":%1").arg(n);
    return {};
}

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

    void withoutAnXServerTheStartFails()
    {
        const DisplayFor none(freeDisplay());
        X11PointerSource source;
        Recorder recorder;
        QVERIFY(!source.start(recorder));
        QCOMPARE(source.cursorPos(), std::nullopt);
    }

    void aServerThatGoesAwayCancelsTheSubscriptionAndTheProgramGoesOn()
    {
        const QString display = freeDisplay();
        QVERIFY(!display.isEmpty());
        QProcess server;
        server.start(QStringLiteral("Xvfb"), {display, "-nolisten", "tcp", "-screen", "0", "640x480x24"});
        QVERIFY(server.waitForStarted(5000));
        const QString socket = "/tmp/.X11-unix/X" + display.mid(1);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(socket), 10000);

        const DisplayFor ours(display);
        X11PointerSource source;
        Recorder recorder;
        // The server may take a moment to answer once its socket is there.
        QTRY_VERIFY_WITH_TIMEOUT(source.start(recorder), 10000);
        server.terminate();
        QVERIFY(server.waitForFinished(10000));
        QTRY_COMPARE(recorder.cancels, 1);
        // A new subscription finds no server: it fails, and nothing else happens.
        QVERIFY(!source.start(recorder));
        QCOMPARE(recorder.cancels, 1);
    }
};

QTEST_GUILESS_MAIN(X11PointerSourceTest)
#include "test_x11_pointer_source.moc"

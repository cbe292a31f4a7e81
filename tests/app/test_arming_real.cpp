// The real program under the headless X server: armed with a click, killed while armed,
// started again, and disarmed with Esc, all through X input.
#include "TempEnvironment.h"
#include "app/gUtils.h"
#include "app/gVars.h"
#include "platform/XdgAutostart.h"
#include "report/ReportLog.h"
#include "settings/gRegistry.h"

#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QTest>
#include <functional>

using namespace gRegistry;

namespace {
constexpr int ClientHeight = 594;
const QPoint ActivateRing(471, 11); // client position of the top of btnActivate's glyph ring

QString run(const QString& program, const QStringList& arguments, int timeoutMs = 20000)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

QString xdotool(const QStringList& arguments)
{
    return run(QStringLiteral("xdotool"), arguments);
}

bool waitFor(const std::function<bool()>& condition, int timeoutMs = 15000)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(50);
    }
    return true;
}

QStringList reportMessages()
{
    QStringList messages;
    for (const QString& line : ReadReportFile(ReportsFolder + "Report.txt"))
        messages << line.mid(line.indexOf("] ") + 2);
    return messages;
}

QString stored(const QString& valueName)
{
    return SettingsStore(SettingsFilePath()).ReadSetting(StateKey, valueName);
}

class Program
{
public:
    ~Program() { stop(); }

    void start()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        m_process.setProcessEnvironment(env);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(qEnvironmentVariable("OSTREL_EXECUTABLE"), {});
        QVERIFY2(m_process.waitForStarted(5000), qPrintable(m_process.errorString()));
        window = xdotool({"search", "--sync", "--onlyvisible", "--pid",
                          QString::number(m_process.processId()), "--name", "^Ostrel$"});
        QVERIFY2(!window.isEmpty() && !window.contains('\n'), "no Ostrel window appeared");
        // The client area sits below the menu bar, whose height the window's own size gives.
        const QString shell = xdotool({"getwindowgeometry", "--shell", window});
        const QString height = shell.section("HEIGHT=", 1).section('\n', 0, 0);
        menuBar = height.toInt() - ClientHeight;
        QVERIFY2(menuBar >= 0 && menuBar < 100, qPrintable(shell));
    }

    void kill()
    {
        m_process.kill(); // SIGKILL: nothing of the program's own runs
        m_process.waitForFinished(5000);
    }

    void stop()
    {
        if (m_process.state() != QProcess::NotRunning)
            kill();
    }

    void click(QPoint client)
    {
        xdotool({"mousemove", "--window", window, QString::number(client.x()),
                 QString::number(client.y() + menuBar), "click", "1"});
    }

    /// The colour the screen shows at a client position.
    QColor pixel(QPoint client)
    {
        QProcess capture;
        capture.start("import", {"-window", window, "png:-"});
        capture.waitForFinished(10000);
        const QImage shot = QImage::fromData(capture.readAllStandardOutput(), "PNG");
        return shot.isNull() ? QColor() : shot.pixelColor(client.x(), client.y() + menuBar);
    }

    QString window;
    int menuBar = 0;

private:
    QProcess m_process;
};

bool isRed(const QColor& c)
{
    return c.isValid() && c.red() > 180 && c.green() < 80 && c.blue() < 80;
}
} // namespace

class ArmingRealTest : public QObject
{
    Q_OBJECT
private slots:
    void armKillRestartAndEscapeUnderX()
    {
        QVERIFY2(!qEnvironmentVariable("DISPLAY").isEmpty(), "needs the headless rig's X server");
        QElapsedTimer wall;
        wall.start();
        TempEnvironment env;
        {
            SettingsStore store(env.settingsFile());
            store.WriteSetting(TuningKey, "frmMainspnActivationDelay", "2");
            store.WriteSetting(StateKey, "ActSimToggle", "T");
            store.WriteSetting(SoundSelectionKey, "beep.wav", "T");
        }
        QDir().mkpath(SoundsFolder);
        run("sox", {"-n", "-r", "44100", "-c", "1", SoundsFolder + "beep.wav", "synth", "0.3", "sine", "800"});
        QVERIFY(QFile::exists(SoundsFolder + "beep.wav"));

        Program first;
        first.start();
        QVERIFY(!QTest::currentTestFailed());
        QVERIFY(!isRed(first.pixel(ActivateRing)));
        first.click(QPoint(471, 23)); // btnActivate
        const QString waiting = QStringLiteral("Waiting 2 second(s) before Activation");
        QVERIFY2(waitFor([&] { return reportMessages() == QStringList{waiting}; }),
                 qPrintable(reportMessages().join(" | ")));
        QElapsedTimer delay;
        delay.start();
        const QStringList armed{waiting, "Simulation - Enabled", "Alarm - Activated"};
        QVERIFY2(waitFor([&] { return reportMessages() == armed; }),
                 qPrintable(reportMessages().join(" | ")));
        QVERIFY2(delay.elapsed() > 1500, qPrintable(QString::number(delay.elapsed())));
        QVERIFY(waitFor([] { return stored("Alarm Active") == "T"; }));
        QFile entry(XdgAutostart::filePath());
        QVERIFY(entry.open(QIODevice::ReadOnly));
        QVERIFY(entry.readAll().contains("Exec=\"" + qgetenv("OSTREL_EXECUTABLE") + "\"\n"));
        QVERIFY(isRed(first.pixel(ActivateRing)));
        first.kill();

        Program second;
        second.start();
        QVERIFY(!QTest::currentTestFailed());
        // Armed from the first moment, before the activation delay has run out.
        QVERIFY(waitFor([&] { return isRed(second.pixel(ActivateRing)); }, 5000));
        QVERIFY2(reportMessages().size() <= armed.size() + 1, "the armed picture came only after the delay");
        const QStringList resumed = armed + armed;
        QVERIFY2(waitFor([&] { return reportMessages() == resumed; }),
                 qPrintable(reportMessages().join(" | ")));

        xdotool({"windowfocus", "--sync", second.window});
        xdotool({"key", "--window", second.window, "Escape"});
        QVERIFY2(waitFor([] { return reportMessages().endsWith("Alarm - Stoped"); }),
                 qPrintable(reportMessages().join(" | ")));
        QVERIFY(waitFor([] { return stored("Alarm Active").isEmpty(); }));
        QVERIFY(!QFile::exists(XdgAutostart::filePath()));
        QVERIFY(waitFor([&] { return !isRed(second.pixel(ActivateRing)); }, 5000));
        qInfo("real program run: %lld ms wall", wall.elapsed());
    }
};

QTEST_GUILESS_MAIN(ArmingRealTest)
#include "test_arming_real.moc"

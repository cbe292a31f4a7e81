#pragma once

// The real program under the headless rig's X server, driven as a user would: xdotool for the
// pointer and the keys, its report and settings files read from outside.
#include "app/gUtils.h"
#include "app/gVars.h"
#include "report/ReportLog.h"
#include "settings/gRegistry.h"
#include "Xdotool.h"

#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QTest>
#include <functional>

inline constexpr int ClientHeight = 594;
/// btnActivate, in client coordinates.
inline const QPoint ActivateButton(471, 23);

/// Polls the condition while the event loop runs; false when the time ran out first.
inline bool waitFor(const std::function<bool()>& condition, int timeoutMs = 15000)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(50);
    }
    return true;
}

/// The report's messages without their time stamps.
inline QStringList reportMessages()
{
    QStringList messages;
    for (const QString& line : ReadReportFile(ReportsFolder + "Report.txt"))
        messages << line.mid(line.indexOf("] ") + 2);
    return messages;
}

/// A value under the state key, as the settings file holds it now.
inline QString stored(const QString& valueName)
{
    return SettingsStore(SettingsFilePath()).ReadSetting(gRegistry::StateKey, valueName);
}

/// One selected sound and the simulation switch on, so that a click on btnActivate arms, after
/// the given delay.
inline bool PrepareArmable(int activationDelaySeconds)
{
    SettingsStore store(SettingsFilePath());
    store.WriteSetting(gRegistry::TuningKey, "frmMainspnActivationDelay", QString::number(activationDelaySeconds));
    store.WriteSetting(gRegistry::SoundSelectionKey, "beep.wav", "T");
    store.WriteSetting(gRegistry::StateKey, "ActSimToggle", "T");
    QDir().mkpath(SoundsFolder);
    run("sox", {"-n", "-r", "44100", "-c", "1", SoundsFolder + "beep.wav", "synth", "0.3", "sine", "800"});
    return QFile::exists(SoundsFolder + "beep.wav");
}

/// The program from its executable, with this test's environment (its X server, sound server
/// and per-user folders); killed at the latest when the test ends.
class Program
{
public:
    ~Program() { stop(); }

    /// Starts it as a user who has seen the first-run greeting.
    void start()
    {
        SettingsStore(SettingsFilePath()).WriteSetting(gRegistry::StateKey, "MsgThanx", "T");
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

    qint64 processId() const { return m_process.processId(); }
    bool running() const { return m_process.state() != QProcess::NotRunning; }
    /// Whether it ended of itself within the time.
    bool endsWithin(int ms) { return m_process.waitForFinished(ms); }

    void kill()
    {
        m_process.kill(); // SIGKILL: nothing of the program's own runs
        m_process.waitForFinished(5000);
    }

    /// Asks the program to end with SIGTERM; true when it then ended of itself, with exit code 0.
    bool terminate()
    {
        m_process.terminate();
        return m_process.waitForFinished(10000) && m_process.exitStatus() == QProcess::NormalExit &&
               m_process.exitCode() == 0;
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

/// Started with no activation delay and armed with a click on btnActivate.
inline void StartArmed(Program& program)
{
    QVERIFY(PrepareArmable(0));
    program.start();
    QVERIFY(!QTest::currentTestFailed());
    program.click(ActivateButton);
    QVERIFY2(waitFor([] { return reportMessages().contains("Alarm - Activated"); }, 5000),
             qPrintable(reportMessages().join(" | ")));
}

#include "TempEnvironment.h"
#include "Xdotool.h"
#include "app/gUtils.h"
#include "app/gVars.h"
#include "platform/SingleInstance.h"

#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>

#include <csignal>

namespace {
QString executable()
{
    return qEnvironmentVariable("OSTREL_EXECUTABLE");
}

/// Starts the real program in the test's private per-user world.
void start(QProcess& process, bool offscreen = true)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (offscreen)
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(executable(), {});
    QVERIFY2(process.waitForStarted(5000), qPrintable(process.errorString()));
}

bool waitForFile(const QString& path, int timeoutMs = 20000)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!QFile::exists(path) && !deadline.hasExpired())
        QTest::qWait(50);
    return QFile::exists(path);
}

bool runsStill(QProcess& process, int forMs)
{
    return !process.waitForFinished(forMs) && process.state() == QProcess::Running;
}

void stop(QProcess& process)
{
    process.kill();
    process.waitForFinished(5000);
}
} // namespace

class StartupTest : public QObject
{
    Q_OBJECT
private slots:
    void trailingSeparatorIsAddedOnce()
    {
        QCOMPARE(AddTrailingBackslash(QString()), QString());
        QCOMPARE(AddTrailingBackslash(QStringLiteral("/a/b")), QStringLiteral("/a/b/"));
        QCOMPARE(AddTrailingBackslash(QStringLiteral("/a/b/")), QStringLiteral("/a/b/"));
        SetFolderGlobals(QStringLiteral("/ostrel"), QStringLiteral("/home/u/.local/share/"));
        QCOMPARE(AppFolder, QStringLiteral("/"));
        QCOMPARE(DataFolder, QStringLiteral("/home/u/.local/share/Quillmere/Ostrel/"));
        QCOMPARE(SoundsFolder, DataFolder + QStringLiteral("Sounds/"));
        QCOMPARE(ReportsFolder, DataFolder + QStringLiteral("Reports/"));
    }

    void secondStartWakesTheFirstAndTouchesNothing()
    {
        TempEnvironment env;
        SingleInstance first(SingleInstanceFolder());
        QVERIFY(first.claim());
        QVERIFY(first.listen());
        QSignalSpy woken(&first, &SingleInstance::restoreRequested);

        QProcess second;
        start(second);
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QVERIFY(woken.count() == 1 || woken.wait(2000));
        QVERIFY(!QFile::exists(env.settingsFile()));
        QVERIFY(!QDir(GetAppDataFolder() + QStringLiteral("/Quillmere")).exists());
    }

    void firstStartRecordsItsLocationAndAStaleLockDoesNotBlock()
    {
        TempEnvironment env;
        QProcess first;
        start(first);
        QVERIFY(waitForFile(env.settingsFile()));
        QVERIFY(QDir(DataFolder).exists());
        QSettings written(env.settingsFile(), QSettings::IniFormat);
        QCOMPARE(written.value(QStringLiteral("SoftWare/Quillmere/Ostrel/V/ProgramLocation")).toString(),
                 QFileInfo(executable()).absoluteFilePath());

        ::kill(static_cast<pid_t>(first.processId()), SIGKILL);
        QVERIFY(first.waitForFinished(5000));
        QVERIFY(QFile::exists(SingleInstanceFolder() + QStringLiteral("/ostrel.lock")));

        QProcess restarted;
        start(restarted);
        QVERIFY2(runsStill(restarted, 3000), "a start after a killed instance must run");
        QProcess third;
        start(third);
        QVERIFY(third.waitForFinished(10000));
        QCOMPARE(third.exitCode(), 0);
        QVERIFY(restarted.state() == QProcess::Running);
        stop(restarted);
    }

    void dataFolderThatCannotBeCreatedEndsWithExitCodeOne()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("needs the X display of the test rig to answer the message box");
        TempEnvironment env;
        // A plain file where the data folder's parent should be.
        const QString blocked = env.root() + QStringLiteral("/blocked");
        QFile file(blocked);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        qputenv("XDG_DATA_HOME", blocked.toLocal8Bit());

        QProcess process;
        start(process, false);
        // The message box is titled "Ostrel"; Return takes its OK button.
        const QString box = xdotool({"search", "--sync", "--onlyvisible", "--name", "^Ostrel$"});
        QVERIFY(!box.isEmpty() && !box.contains('\n'));
        pressKey(box, "Return");
        QVERIFY(process.waitForFinished(10000));
        QCOMPARE(process.exitCode(), 1);
        QVERIFY(!QFile::exists(env.settingsFile()));
    }

    void withoutAnAudioServerTheProgramSaysSoAndEnds()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("needs the X display of the test rig to answer the message box");
        TempEnvironment env;
        const QByteArray server = qgetenv("PULSE_SERVER");
        qputenv("PULSE_SERVER", "unix:" + env.root().toLocal8Bit() + "/no-audio-server");
        QProcess process;
        start(process, false);
        qputenv("PULSE_SERVER", server);

        // The only window that appears is the message box: small, not the main window.
        const QString window = xdotool({"search", "--sync", "--onlyvisible", "--name", "^Ostrel$"});
        QVERIFY(!window.isEmpty() && !window.contains('\n'));
        const QString geometry = run(QStringLiteral("xwininfo"), {"-id", window});
        const int width = QRegularExpression(QStringLiteral("Width: (\\d+)"))
                              .match(geometry).captured(1).toInt();
        QVERIFY2(width > 0 && width < 537, qPrintable(geometry));
        QVERIFY2(runsStill(process, 500), "the program waits for the message to be read");

        pressKey(window, "Return");
        QVERIFY(process.waitForFinished(10000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
    }
};

QTEST_GUILESS_MAIN(StartupTest)
#include "test_startup.moc"

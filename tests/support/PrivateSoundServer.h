#pragma once

// A PulseAudio daemon of one test's own, with one null sink whose monitor is the default
// source, so the test can kill it and start it again without touching the rig's. While it
// lives, PULSE_SERVER and OSTREL_TEST_SINK name it: the engine, the program, paplay and the
// monitor capture all meet there.
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

class PrivateSoundServer
{
public:
    static constexpr const char* Sink = "private_sink";

    PrivateSoundServer()
        : m_previousServer(qgetenv("PULSE_SERVER")), m_previousSink(qgetenv("OSTREL_TEST_SINK"))
    {
        const QString socket = m_dir.filePath("native");
        QFile script(m_dir.filePath("server.pa"));
        if (script.open(QIODevice::WriteOnly)) {
            script.write(QStringLiteral(
                             "load-module module-native-protocol-unix auth-anonymous=1 socket=%1\n"
                             "load-module module-null-sink sink_name=%2 rate=44100 channels=2\n"
                             "set-default-sink %2\n"
                             "set-default-source %2.monitor\n")
                             .arg(socket, Sink)
                             .toUtf8());
        }
        qputenv("PULSE_SERVER", "unix:" + socket.toUtf8());
        qputenv("OSTREL_TEST_SINK", Sink);
    }

    ~PrivateSoundServer()
    {
        kill();
        restore("PULSE_SERVER", m_previousServer);
        restore("OSTREL_TEST_SINK", m_previousSink);
    }

    /// Starts the daemon and waits until it answers; false when it does not within 10 s.
    bool start()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", m_dir.path());
        env.insert("PULSE_RUNTIME_PATH", m_dir.filePath("runtime"));
        env.insert("PULSE_STATE_PATH", m_dir.filePath("state"));
        // No session bus: the daemon must not start a D-Bus daemon that nobody stops.
        env.insert("DBUS_SESSION_BUS_ADDRESS", "disabled:");
        m_daemon.setProcessEnvironment(env);
        m_daemon.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_daemon.start("pulseaudio",
                       {"-n", "-F", m_dir.filePath("server.pa"), "--daemonize=no",
                        "--exit-idle-time=-1", "--disable-shm=yes", "--use-pid-file=no",
                        "--log-target=file:" + m_dir.filePath("server.log")});
        if (!m_daemon.waitForStarted(5000))
            return false;
        QDeadlineTimer deadline(10000);
        while (!answers()) {
            if (deadline.hasExpired() || m_daemon.state() == QProcess::NotRunning)
                return false;
            QTest::qWait(50);
        }
        return true;
    }

    /// Ends the daemon at once, as a crash would.
    void kill()
    {
        if (m_daemon.state() == QProcess::NotRunning)
            return;
        m_daemon.kill();
        m_daemon.waitForFinished(5000);
    }

    /// Runs pactl against this server; whether it succeeded.
    bool command(const QStringList& arguments) const { return pactl(arguments).has_value(); }
    /// Runs pactl against this server; its output, empty when it failed.
    QString query(const QStringList& arguments) const { return pactl(arguments).value_or(QString()); }

    bool answers() const { return command({"info"}); }

private:
    std::optional<QString> pactl(const QStringList& arguments) const
    {
        QProcess process;
        process.start("pactl", arguments);
        if (!process.waitForFinished(10000) || process.exitStatus() != QProcess::NormalExit ||
            process.exitCode() != 0)
            return std::nullopt;
        return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    }

    static void restore(const char* name, const QByteArray& value)
    {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }

    QTemporaryDir m_dir;
    QByteArray m_previousServer;
    QByteArray m_previousSink;
    QProcess m_daemon;
};

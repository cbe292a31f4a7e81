// The real program's start under the headless X server: the first-run greeting, and the one
// running instance.
#include "RealProgram.h"
#include "TempEnvironment.h"
#include "platform/SingleInstance.h"

#include <QDir>
#include <QScopeGuard>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

namespace {
/// The id of the top-most window on the screen, as xdotool gives ids.
QString topWindow()
{
    // The root's children, the top-most first.
    const QString tree = run("xwininfo", {"-root", "-children"});
    for (const QString& line : tree.split('\n')) {
        const QString first = line.trimmed().section(' ', 0, 0);
        bool ok = false;
        const qulonglong id = first.toULongLong(&ok, 16);
        if (first.startsWith("0x") && ok)
            return QString::number(id);
    }
    return {};
}

int descriptorsOf(qint64 pid)
{
    return int(QDir(QStringLiteral("/proc/%1/fd").arg(pid)).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size());
}

/// Silent connections to the socket, held until closed.
std::vector<int> flood(const QString& socketPath, int count)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray path = QFile::encodeName(socketPath);
    std::copy(path.begin(), path.end(), address.sun_path);
    std::vector<int> sockets;
    for (int i = 0; i < count; ++i) {
        const int s = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        ::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof(address));
        sockets.push_back(s);
        if (i % 10 == 9)
            QTest::qWait(10); // in waves, as the program takes them
    }
    return sockets;
}
/// Closes the connections after holding them for holdMs.
void hangUp(const std::vector<int>& sockets, int holdMs = 0)
{
    QTest::qWait(holdMs);
    for (const int s : sockets)
        ::close(s);
}
} // namespace

class InstanceRealTest : public QObject
{
    Q_OBJECT
private slots:
    void aNewUserIsGreetedBeforeTheMainWindowAndOnlyOnce()
    {
        QVERIFY2(!qEnvironmentVariable("DISPLAY").isEmpty(), "needs the headless rig's X server");
        TempEnvironment env;
        const auto visibleWindows = [] {
            return xdotool({"search", "--onlyvisible", "--name", "^Ostrel$"}).split('\n', Qt::SkipEmptyParts);
        };
        const auto width = [](const QString& window) {
            return xdotool({"getwindowgeometry", "--shell", window}).section("WIDTH=", 1).section('\n', 0, 0).toInt();
        };
        for (const bool firstStart : {true, false}) {
            QProcess program;
            program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            program.start(qEnvironmentVariable("OSTREL_EXECUTABLE"), {});
            QVERIFY(waitFor([&] { return !visibleWindows().isEmpty(); }));
            const QStringList first = visibleWindows();
            QCOMPARE(first.size(), 1);
            // The greeting is 449 pixels wide, the main window more.
            QCOMPARE(width(first.front()) == 449, firstStart);
            if (firstStart) {
                pressKey(first.front(), "Escape");
                QVERIFY(waitFor([&] {
                    const QStringList shown = visibleWindows();
                    return shown.size() == 1 && width(shown.front()) != 449;
                }));
                QVERIFY(waitFor([] { return stored("MsgThanx") == "T"; }));
            }
            program.kill();
            program.waitForFinished();
        }
    }

    void aSecondStartAfterAFloodPastTheDescriptorLimitWakesTheFirst()
    {
        QVERIFY2(!qEnvironmentVariable("DISPLAY").isEmpty(), "needs the headless rig's X server");
        TempEnvironment env;
        const QString socket = SingleInstanceFolder() + "/ostrel.socket";
        Program first;
        first.start();
        QVERIFY(!QTest::currentTestFailed());
        // Another window over it, which a woken program rises above.
        QProcess cover;
        cover.start("xmessage", {"-geometry", "300x200+0+0", "cover"});
        QVERIFY(cover.waitForStarted(5000));
        const auto uncover = qScopeGuard([&] {
            cover.kill();
            cover.waitForFinished();
        });
        QVERIFY(waitFor([&] { return !topWindow().isEmpty() && topWindow() != first.window; }, 5000));

        // One caller while descriptors are left, for the sanitizer builds: their runtime needs a
        // pipe to check a type the first time, and gets none once the table is full.
        hangUp(flood(socket, 1));
        QTest::qWait(300);
        // Two descriptors to spare, far fewer than the callers.
        const QString pid = QString::number(first.processId());
        const QString limit = QStringLiteral("--nofile=%1:").arg(descriptorsOf(first.processId()) + 2);
        QCOMPARE(QProcess::execute("prlimit", {"--pid", pid, limit}), 0);
        hangUp(flood(socket, 300), 1500);
        QVERIFY(QFile::exists(socket));

        QVERIFY(topWindow() != first.window);
        QElapsedTimer took;
        took.start();
        QProcess second;
        second.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        second.start(qEnvironmentVariable("OSTREL_EXECUTABLE"), {});
        QVERIFY2(waitFor([&] { return topWindow() == first.window; }, 5000),
                 "the first start was not woken");
        qInfo("woken %lld ms after the second start", took.elapsed());
        QVERIFY2(took.elapsed() < 1000, qPrintable(QString::number(took.elapsed())));
        QVERIFY(second.state() == QProcess::NotRunning || second.waitForFinished(5000));
        QCOMPARE(second.exitCode(), 0);
    }
};

QTEST_GUILESS_MAIN(InstanceRealTest)
#include "test_instance_real.moc"

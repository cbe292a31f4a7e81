// The running instance's listener against a flood of callers beyond its descriptor limit.
#include "platform/SingleInstance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
/// A child process that connects `count` times to the socket and holds every connection for
/// holdMs; only async-signal-safe calls after the fork.
pid_t flood(const QString& socketPath, int count, int holdMs)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray path = QFile::encodeName(socketPath);
    std::copy(path.begin(), path.end(), address.sun_path);
    const pid_t child = ::fork();
    if (child != 0)
        return child;
    for (int i = 0; i < count; ++i) {
        const int s = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
        if (s >= 0)
            ::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    }
    ::usleep(useconds_t(holdMs) * 1000);
    ::_exit(0);
}

int openDescriptors()
{
    return int(QDir("/proc/self/fd").entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size());
}
} // namespace

class SingleInstanceTest : public QObject
{
    Q_OBJECT
private slots:
    void aFloodPastTheDescriptorLimitLeavesItListeningAndWakeable()
    {
        QTemporaryDir dir;
        SingleInstance first(dir.path());
        QVERIFY(first.claim());
        QVERIFY(first.listen());
        QSignalSpy woken(&first, &SingleInstance::restoreRequested);

        rlimit normal{};
        QCOMPARE(::getrlimit(RLIMIT_NOFILE, &normal), 0);
        const pid_t flooder = flood(first.socketPath(), 300, 1500);
        QVERIFY(flooder > 0);
        // A few descriptors to spare, far fewer than the callers.
        rlimit low{rlim_t(openDescriptors() + 3), normal.rlim_max};
        QCOMPARE(::setrlimit(RLIMIT_NOFILE, &low), 0);
        QTest::qWait(2000);
        QCOMPARE(::setrlimit(RLIMIT_NOFILE, &normal), 0);
        int status = 0;
        QCOMPARE(::waitpid(flooder, &status, 0), flooder);
        QVERIFY(first.callers() <= 8);
        QTest::qWait(1100); // the last callers heard are let go
        QCOMPARE(first.callers(), 0);
        QVERIFY(QFile::exists(first.socketPath()));

        QElapsedTimer took;
        took.start();
        SingleInstance later(dir.path());
        QVERIFY(!later.claim());
        QVERIFY(later.wakeRunning(1000));
        QVERIFY(woken.wait(1000));
        QVERIFY2(took.elapsed() < 1000, qPrintable(QString::number(took.elapsed())));
        QCOMPARE(woken.size(), 1);
    }

    void aCallerIsHeardOnlyForItsShortRequest()
    {
        QTemporaryDir dir;
        SingleInstance first(dir.path());
        QVERIFY(first.claim());
        QVERIFY(first.listen());
        QSignalSpy woken(&first, &SingleInstance::restoreRequested);
        // A caller that says something else, or nothing, is let go without a wake.
        const pid_t silent = flood(first.socketPath(), 3, 300);
        QTest::qWait(1500);
        QCOMPARE(::waitpid(silent, nullptr, 0), silent);
        QCOMPARE(first.callers(), 0);
        QCOMPARE(woken.size(), 0);
    }
};

QTEST_GUILESS_MAIN(SingleInstanceTest)
#include "test_single_instance.moc"

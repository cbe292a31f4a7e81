// The running instance's listener against callers that flood it, say nothing, or say too much.
#include "platform/SingleInstance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <future>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

namespace {
/// A connection to the socket, made without waiting; -1 when refused at once. The descriptor
/// is taken whether or not the connection is.
int call(const QString& socketPath, bool* connected = nullptr)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray path = QFile::encodeName(socketPath);
    std::copy(path.begin(), path.end(), address.sun_path);
    const int s = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    const bool made = s >= 0 && ::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
    if (connected)
        *connected = made;
    return s;
}

/// True once the listener has closed its end of the connection.
bool closedByListener(int s)
{
    char c;
    return ::recv(s, &c, 1, MSG_DONTWAIT) == 0;
}

int openDescriptors()
{
    return int(QDir("/proc/self/fd").entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size());
}

void hangUp(std::vector<int>& sockets)
{
    for (const int s : sockets)
        ::close(s);
    sockets.clear();
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
        // One caller while descriptors are left: the undefined-behaviour sanitizer needs a pipe to
        // check an object's type the first time it meets it, and gets none once the table is full.
        std::vector<int> early{call(first.socketPath())};
        QTRY_COMPARE(first.callers(), 1);
        hangUp(early);
        QTRY_COMPARE(first.callers(), 0);

        std::vector<int> flood;
        for (int i = 0; i < 40; ++i)
            flood.push_back(call(first.socketPath()));
        rlimit normal{};
        QCOMPARE(::getrlimit(RLIMIT_NOFILE, &normal), 0);
        // Not one descriptor to spare: every waiting caller meets a full table.
        rlimit none{rlim_t(openDescriptors()), normal.rlim_max};
        QCOMPARE(::setrlimit(RLIMIT_NOFILE, &none), 0);
        for (int round = 0; round < 10; ++round) {
            QTest::qWait(50);
            for (int i = 0; i < 5; ++i) { // more callers keep coming, in the descriptors they free
                if (!flood.empty()) {
                    ::close(flood.back());
                    flood.pop_back();
                }
                flood.push_back(call(first.socketPath()));
            }
        }
        QCOMPARE(::setrlimit(RLIMIT_NOFILE, &normal), 0);
        QVERIFY(first.callers() <= 8);
        hangUp(flood);
        QVERIFY(QFile::exists(first.socketPath()));

        // A later start is another process; here, another thread, while this one listens.
        QElapsedTimer took;
        took.start();
        SingleInstance later(dir.path());
        QVERIFY(!later.claim());
        auto waking = std::async(std::launch::async, [&later] { return later.wakeRunning(1000); });
        QVERIFY(woken.wait(1000));
        QVERIFY(waking.get());
        QVERIFY2(took.elapsed() < 1000, qPrintable(QString::number(took.elapsed())));
        QCOMPARE(woken.size(), 1);
        QTRY_COMPARE_WITH_TIMEOUT(first.callers(), 0, 2000);
    }

    void callersAreHeardBrieflyFewAtATimeAndOnlyForTheRequest()
    {
        QTemporaryDir dir;
        SingleInstance first(dir.path());
        QVERIFY(first.claim());
        QVERIFY(first.listen());
        QSignalSpy woken(&first, &SingleInstance::restoreRequested);

        // Eight silent callers fill the seats; the ninth takes the seat of the first.
        std::vector<int> silent;
        for (int i = 0; i < 8; ++i) {
            bool connected = false;
            silent.push_back(call(first.socketPath(), &connected));
            QVERIFY(connected);
            QTRY_COMPARE(first.callers(), i + 1);
        }
        std::vector<int> ninth{call(first.socketPath())};
        QTRY_VERIFY_WITH_TIMEOUT(closedByListener(silent.front()), 500);
        QCOMPARE(first.callers(), 8);
        QVERIFY(!closedByListener(ninth.front()));
        // Silence is let go after about a second.
        QTRY_COMPARE_WITH_TIMEOUT(first.callers(), 0, 2500);
        for (const int s : silent)
            QVERIFY(closedByListener(s));
        hangUp(silent);
        hangUp(ninth);

        // A caller with a megabyte to say is cut off after the request's length, unheard.
        std::vector<int> talker{call(first.socketPath())};
        const QByteArray garbage(1 << 20, 'x');
        qsizetype sent = 0;
        QElapsedTimer sending;
        sending.start();
        while (sent < garbage.size() && sending.elapsed() < 3000) {
            const ssize_t n = ::send(talker.front(), garbage.constData() + sent, std::size_t(garbage.size() - sent),
                                     MSG_DONTWAIT | MSG_NOSIGNAL);
            if (n > 0)
                sent += n;
            else if (n < 0 && errno != EAGAIN)
                break; // the listener has hung up
            QTest::qWait(5);
        }
        QVERIFY2(sent < garbage.size(), "the listener read the whole megabyte");
        QTRY_COMPARE(first.callers(), 0);
        hangUp(talker);
        QCOMPARE(woken.size(), 0);

        // The request in two pieces is still heard.
        std::vector<int> slow{call(first.socketPath())};
        QCOMPARE(::send(slow.front(), "rest", 4, MSG_NOSIGNAL), 4);
        QTest::qWait(100);
        QCOMPARE(::send(slow.front(), "ore\n", 4, MSG_NOSIGNAL), 4);
        QVERIFY(woken.wait(1000));
        hangUp(slow);
        QVERIFY(QFile::exists(first.socketPath()));
    }
};

QTEST_GUILESS_MAIN(SingleInstanceTest)
#include "test_single_instance.moc"

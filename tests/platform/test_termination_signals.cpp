// The three signals that ask a program to end arrive on the main thread instead of ending it.
#include "platform/TerminationSignals.h"

#include <QSignalSpy>
#include <QTest>
#include <csignal>

namespace {
bool takesDefaultAction(int signal)
{
    struct sigaction current{};
    sigaction(signal, nullptr, &current);
    return current.sa_handler == SIG_DFL;
}
} // namespace

class TerminationSignalsTest : public QObject
{
    Q_OBJECT
private slots:
    void eachSignalIsReportedInOrderAndTheProcessLivesOn()
    {
        {
            TerminationSignals termination;
            QSignalSpy requested(&termination, &TerminationSignals::terminationRequested);
            for (int signal : {SIGTERM, SIGHUP, SIGINT, SIGTERM})
                QVERIFY(::raise(signal) == 0);
            // Raised signals are handled at once; their report waits for the event loop.
            QCOMPARE(requested.size(), 0);
            QTRY_COMPARE(requested.size(), 4);
            QCOMPARE(requested.at(0).at(0).toInt(), SIGTERM);
            QCOMPARE(requested.at(1).at(0).toInt(), SIGHUP);
            QCOMPARE(requested.at(2).at(0).toInt(), SIGINT);
            QCOMPARE(requested.at(3).at(0).toInt(), SIGTERM);
            QVERIFY(!takesDefaultAction(SIGTERM));
        }
        for (int signal : {SIGTERM, SIGINT, SIGHUP})
            QVERIFY(takesDefaultAction(signal));
    }
};

QTEST_GUILESS_MAIN(TerminationSignalsTest)
#include "test_termination_signals.moc"

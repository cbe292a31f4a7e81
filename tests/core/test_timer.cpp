#include "VirtualClock.h"
#include "core/QtTimerEngine.h"
#include "core/Random.h"
#include "core/Timer.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

class TimerTest : public QObject
{
    Q_OBJECT
private slots:
    void firesPeriodicallyOnlyWhileEnabled()
    {
        VirtualClock clock;
        Timer timer(clock, 250);
        QSignalSpy fired(&timer, &Timer::timeout);
        clock.advance(1000);
        QCOMPARE(fired.count(), 0);
        timer.setEnabled(true);
        clock.advance(1000);
        QCOMPARE(fired.count(), 4);
        timer.setEnabled(false);
        clock.advance(1000);
        QCOMPARE(fired.count(), 4);
    }

    void enablingAnEnabledTimerDoesNotRestartIt()
    {
        VirtualClock clock;
        Timer timer(clock, 1000);
        QSignalSpy fired(&timer, &Timer::timeout);
        timer.setEnabled(true);
        clock.advance(600);
        timer.setEnabled(true);
        clock.advance(400);
        QCOMPARE(fired.count(), 1);
    }

    void newIntervalRestartsAnEnabledTimer()
    {
        VirtualClock clock;
        Timer timer(clock, 1000);
        QSignalSpy fired(&timer, &Timer::timeout);
        timer.setEnabled(true);
        clock.advance(600);
        timer.setInterval(1000); // same interval: nothing changes
        clock.advance(400);
        QCOMPARE(fired.count(), 1);
        clock.advance(600);
        timer.setInterval(800);
        clock.advance(700);
        QCOMPARE(fired.count(), 1);
        clock.advance(100);
        QCOMPARE(fired.count(), 2);
    }

    void newIntervalOnADisabledTimerDoesNotStartIt()
    {
        VirtualClock clock;
        Timer timer(clock, 1000);
        QSignalSpy fired(&timer, &Timer::timeout);
        timer.setInterval(10);
        clock.advance(5000);
        QCOMPARE(fired.count(), 0);
        QVERIFY(!timer.isEnabled());
    }

    void zeroIntervalNeverFires()
    {
        VirtualClock clock;
        Timer timer(clock, 0);
        QSignalSpy fired(&timer, &Timer::timeout);
        timer.setEnabled(true);
        clock.advance(10000);
        QCOMPARE(fired.count(), 0);
    }

    void handlerMayDisableItselfOrOthers()
    {
        VirtualClock clock;
        Timer first(clock, 100);
        Timer second(clock, 100);
        QSignalSpy secondFired(&second, &Timer::timeout);
        connect(&first, &Timer::timeout, [&] {
            first.setEnabled(false);
            second.setEnabled(false);
        });
        first.setEnabled(true);
        second.setEnabled(true); // due at the same moment, but after the first
        clock.advance(1000);
        QCOMPARE(secondFired.count(), 0);
        QVERIFY(!first.isEnabled());
    }

    void timersFireInTimeOrderAndTheClockShowsTheMoment()
    {
        VirtualClock clock;
        const QDateTime start = clock.now();
        Timer slow(clock, 300);
        Timer fast(clock, 200);
        QList<qint64> moments;
        QStringList order;
        connect(&slow, &Timer::timeout, [&] {
            order << "slow";
            moments << clock.elapsedMs();
        });
        connect(&fast, &Timer::timeout, [&] {
            order << "fast";
            moments << clock.elapsedMs();
        });
        slow.setEnabled(true);
        fast.setEnabled(true);
        clock.advance(600);
        // At 600 both are due: the one scheduled first fires first.
        QCOMPARE(order, (QStringList{"fast", "slow", "fast", "slow", "fast"}));
        QCOMPARE(moments, (QList<qint64>{200, 300, 400, 600, 600}));
        QCOMPARE(clock.now(), start.addMSecs(600));
    }

    void longIntervalsOnTheVirtualClock()
    {
        VirtualClock clock;
        Timer timer(clock, 48 * 3600 * 1000 - 1);
        QSignalSpy fired(&timer, &Timer::timeout);
        timer.setEnabled(true);
        clock.advance(48LL * 3600 * 1000 - 2);
        QCOMPARE(fired.count(), 0);
        clock.advance(1);
        QCOMPARE(fired.count(), 1);
    }

    void qtEngineKeepsTheSameRules()
    {
        QtTimerEngine engine;
        Timer timer(engine, 300);
        QSignalSpy fired(&timer, &Timer::timeout);
        QElapsedTimer elapsed;
        elapsed.start();
        timer.setEnabled(true);
        QTest::qWait(150);
        timer.setEnabled(true); // must not push the first tick back to 450 ms
        QVERIFY(fired.wait(2000));
        QVERIFY2(elapsed.elapsed() < 440, qPrintable(QString::number(elapsed.elapsed())));

        timer.setEnabled(false);
        fired.clear();
        QTest::qWait(700);
        QCOMPARE(fired.count(), 0);
    }

    void qtEngineRestartsOnANewInterval()
    {
        QtTimerEngine engine;
        Timer timer(engine, 400);
        QSignalSpy fired(&timer, &Timer::timeout);
        timer.setEnabled(true);
        QTest::qWait(250);
        QElapsedTimer elapsed;
        elapsed.start();
        timer.setInterval(600);
        QVERIFY(fired.wait(3000));
        QVERIFY2(elapsed.elapsed() >= 580, qPrintable(QString::number(elapsed.elapsed())));
    }

    void randomStaysInRangeAndZeroGivesZero()
    {
        SeededRandom random(42);
        QCOMPARE(random.Random(0), 0);
        QCOMPARE(random.Random(-3), 0);
        QCOMPARE(random.Random(1), 0);
        QSet<int> seen;
        for (int i = 0; i < 2000; ++i) {
            const int r = random.Random(5);
            QVERIFY(r >= 0 && r < 5);
            seen.insert(r);
        }
        QCOMPARE(seen.size(), 5);
    }
};

QTEST_GUILESS_MAIN(TimerTest)
#include "test_timer.moc"

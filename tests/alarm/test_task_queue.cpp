#include "AlarmFixture.h"

#include "core/QtTimerEngine.h"

#include <QElapsedTimer>
#include <QTest>
#include <algorithm>

namespace {
/// Every burst queues exactly this many sounds.
void burstsOf(AlarmFixture& f, int size)
{
    f.tunables.set(Tunable::trkPersistence, size - 1);
    f.tunables.set(Tunable::trkPersistenceRandom, 0);
}
} // namespace

class TaskQueueTest : public QObject
{
    Q_OBJECT
private slots:
    void entriesHaveSixThreeDigitFields()
    {
        QCOMPARE(ZeroPad(0), QStringLiteral("000"));
        QCOMPARE(ZeroPad(42), QStringLiteral("042"));
        QCOMPARE(ZeroPad(999), QStringLiteral("999"));
        QCOMPARE(TaskEntry(7, 42, PanLeft), QStringLiteral("DTC007000042000002"));
        QCOMPARE(TaskEntry(999, 0, PanRight), QStringLiteral("DTC999000000000000"));
    }

    void playerReadsOnlyEntriesItCanAddress()
    {
        const auto task = ParseTaskEntry(QStringLiteral("DTC007000042000002"), 8);
        QVERIFY(task);
        QCOMPARE(task->soundIndex, 7);
        QCOMPARE(task->slot, 0);
        QCOMPARE(task->panMode, int(PanLeft));
        QCOMPARE(ParseTaskEntry(QStringLiteral("DTC007000042003001"), 8)->slot, 3);

        for (const char* bad : {"XYZ007000042000002", // no tag
                                "DTC00700004200000",  // too short
                                "DTC0070000420000021", // too long
                                "DTC007000042004001", // slot 4 does not exist
                                "DTC007000042000003", // no fourth direction
                                "DTC008000042000001", // only 8 sounds selected
                                "DTC0-1000042000001", "DTC+07000042000001", "DTC007000042000 01"})
            QVERIFY2(!ParseTaskEntry(QString::fromLatin1(bad), 8), bad);
    }

    void burstDrawsSizeThenIndexNumberAndDirectionPerTask()
    {
        AlarmFixture f;
        f.sounds = {"a.wav", "b.wav", "c.wav"};
        f.tunables.set(Tunable::trkPersistence, 1);
        f.tunables.set(Tunable::trkPersistenceRandom, 5);
        f.random.script = {1, /*task 1*/ 2, 42, 2, /*task 2*/ 0, 999, 0, /*task 3*/ 1, 7, 1};
        f.queue.AddTask();
        QCOMPARE(f.random.asked, (QList<int>{5, 3, 1000, 3, 3, 1000, 3, 3, 1000, 3}));
        QCOMPARE(f.queue.entries(), (QStringList{"DTC002000042000002", "DTC000000999000000",
                                                 "DTC001000007000001"}));
    }

    void burstSizeFollowsTheDurationSliders()
    {
        AlarmFixture f;
        f.sounds = {"a.wav", "b.wav"};
        burstsOf(f, 1);
        for (int i = 0; i < 20; ++i) {
            f.queue.clear();
            f.queue.AddTask();
            QCOMPARE(f.queue.entries().size(), 1);
        }

        f.tunables.set(Tunable::trkPersistence, 100);
        f.tunables.set(Tunable::trkPersistenceRandom, 100);
        qsizetype smallest = 1000, largest = 0;
        for (int i = 0; i < 200; ++i) {
            f.queue.clear();
            f.queue.AddTask();
            smallest = std::min(smallest, f.queue.entries().size());
            largest = std::max(largest, f.queue.entries().size());
        }
        QVERIFY2(smallest >= 101 && largest <= 200, qPrintable(QStringLiteral("%1..%2").arg(smallest).arg(largest)));
        QVERIFY2(largest - smallest > 50, "the random part of the burst does not vary");
    }

    void oneSelectedSoundIsIndexZeroWithRandomDirections()
    {
        AlarmFixture f;
        f.sounds = {"only.wav"};
        f.tunables.set(Tunable::trkPersistence, 60);
        f.queue.AddTask();
        QSet<QString> directions;
        for (const QString& entry : f.queue.entries()) {
            QCOMPARE(entry.mid(3, 3), QStringLiteral("000"));
            directions << entry.right(3);
        }
        QCOMPARE(directions, (QSet<QString>{"000", "001", "002"}));
    }

    void aBurstIsAddedWholeUpToTheQueueLimit()
    {
        for (const int queued : {999, 1000}) {
            AlarmFixture f;
            f.sounds = {"a.wav"};
            burstsOf(f, 1);
            for (int i = 0; i < queued; ++i)
                f.queue.AddTask(); // one entry each
            f.tunables.set(Tunable::trkPersistence, 100);
            f.queue.AddTask();
            f.queue.AddTask();
            QCOMPARE(f.queue.entries().size(), queued == 999 ? 999 + 101 : 1000);
        }
    }

    void nothingIsQueuedWithoutASelection()
    {
        AlarmFixture f;
        f.queue.AddTask();
        QVERIFY(f.queue.isEmpty());
        QVERIFY(f.random.asked.isEmpty());
    }

    void aLargeSelectionIsDrawnFromItsFirstThousand()
    {
        AlarmFixture f;
        for (int i = 0; i < 1500; ++i)
            f.sounds << QStringLiteral("s%1.wav").arg(i);
        burstsOf(f, 101);
        f.queue.AddTask();
        QCOMPARE(f.random.asked.mid(1, 3), (QList<int>{1000, 1000, 3}));
        for (const QString& entry : f.queue.entries())
            QVERIFY(ParseTaskEntry(entry, f.sounds.size()));
    }

    void playerPlaysOneSoundAtATimeInQueueOrderThenSleeps()
    {
        AlarmFixture f;
        f.addSound("a.wav");
        f.addSound("b.wav");
        f.addSound("c.wav");
        burstsOf(f, 3);
        f.random.script = {0, 2, 1, PanLeft, 0, 2, PanCentre, 1, 3, PanRight};
        f.queue.AddTask();
        QCOMPARE(f.queue.entries().size(), 3);
        QVERIFY(f.playback.calls.isEmpty()); // never inside AddTask: its caller goes on first

        f.clock.advance(1); // the wake: nothing plays, so the first sound starts at once
        QCOMPARE(f.playback.calls, QStringList{"0 2 " + SoundsFolder + "c.wav"});
        QCOMPARE(f.queue.entries().size(), 2);
        f.clock.advance(999); // the sound lasts 1000 ms: the looks at 251, 501, 751 wait
        QCOMPARE(f.playback.calls.size(), 1);
        QCOMPARE(f.playback.polls, 4);
        f.clock.advance(1); // 1001: it has ended, the next starts on this look
        QCOMPARE(f.playback.calls.size(), 2);
        QCOMPARE(f.playback.calls.last(), "0 1 " + SoundsFolder + "a.wav");
        f.clock.advance(1000);
        QCOMPARE(f.playback.calls.last(), "0 0 " + SoundsFolder + "b.wav");
        QVERIFY(f.queue.isEmpty());

        // The last sound still plays, but nothing waits: the loop sleeps.
        QVERIFY(!f.queue.TimTask().isEnabled());
        const int polls = f.playback.polls;
        f.clock.advance(60000);
        QCOMPARE(f.playback.polls, polls);
        QCOMPARE(f.playback.calls.size(), 3);
    }

    void anIdleLoopSleepsAndABurstWakesItForOneLook()
    {
        AlarmFixture f;
        f.addSound("a.wav");
        burstsOf(f, 1);
        f.clock.advance(3600000);
        QCOMPARE(f.playback.polls, 0);

        // A burst cleared before its wake leaves nothing to look at: back to sleep.
        f.queue.AddTask();
        f.queue.clear();
        f.clock.advance(3600000);
        QCOMPARE(f.playback.polls, 0);
        QVERIFY(!f.queue.TimTask().isEnabled());

        // Two bursts before the wake make one look, and the loop then keeps its rhythm.
        f.queue.AddTask();
        f.queue.AddTask();
        f.clock.advance(1);
        QCOMPARE(f.playback.calls.size(), 1);
        QCOMPARE(f.playback.polls, 1);
        f.clock.advance(100);
        f.queue.AddTask(); // the loop is awake: nothing comes forward
        f.clock.advance(149);
        QCOMPARE(f.playback.polls, 1);
        f.clock.advance(1);
        QCOMPARE(f.playback.polls, 2);
    }

    void aBurstQueuedDuringALookWaitsForTheNextPoll()
    {
        AlarmFixture f;
        f.addSound("a.wav");
        burstsOf(f, 1);
        f.playback.onPlay = [&] { f.queue.AddTask(); };
        f.queue.AddTask();
        f.clock.advance(1);
        QCOMPARE(f.playback.polls, 1);
        f.playback.onPlay = nullptr;
        QCOMPARE(f.queue.entries().size(), 1);
        f.clock.advance(249);
        QCOMPARE(f.playback.polls, 1);
        f.clock.advance(1);
        QCOMPARE(f.playback.polls, 2);
    }

    void theLoopRunsOnlyBetweenStartAndStop()
    {
        AlarmFixture f;
        f.addSound("a.wav");
        burstsOf(f, 3);
        TaskQueue queue{f.clock, f.random, f.tunables, f.sounds, SoundsFolder, f.playback};
        queue.AddTask();
        f.clock.advance(10000);
        QCOMPARE(f.playback.polls, 0);

        queue.start(); // what waits is looked at on the next turn, not inside start
        QVERIFY(f.playback.calls.isEmpty());
        f.clock.advance(1);
        QCOMPARE(f.playback.calls.size(), 1);

        queue.stopTimers();
        queue.AddTask();
        f.clock.advance(3600000);
        QCOMPARE(f.playback.calls.size(), 1);
        QCOMPARE(f.playback.polls, 1);
        QVERIFY(!queue.TimTask().isEnabled());
    }

    void aStopDuringALookIsNotUndoneByIt()
    {
        AlarmFixture f;
        f.addSound("a.wav");
        burstsOf(f, 3);
        f.playback.onPlay = [&] { f.queue.stopTimers(); };
        f.queue.AddTask();
        f.clock.advance(1);
        QCOMPARE(f.queue.entries().size(), 2);
        QVERIFY(!f.queue.TimTask().isEnabled());
        f.clock.advance(3600000);
        QCOMPARE(f.playback.calls.size(), 1);
        QCOMPARE(f.playback.polls, 1);
    }

    void aBurstWakesTheLoopOnTheNextTurnOfTheEventLoop()
    {
        AlarmFixture f;
        f.addSound("a.wav");
        burstsOf(f, 1);
        QtTimerEngine engine;
        TaskQueue queue{engine, f.random, f.tunables, f.sounds, SoundsFolder, f.playback};
        queue.start();
        QElapsedTimer elapsed;
        elapsed.start();
        queue.AddTask();
        QVERIFY(f.playback.calls.isEmpty());
        while (f.playback.calls.isEmpty() && elapsed.elapsed() < 1000)
            QTest::qWait(1);
        // A poll would have come at 250 ms at the earliest.
        QVERIFY2(!f.playback.calls.isEmpty() && elapsed.elapsed() < 200,
                 qPrintable(QString::number(elapsed.elapsed())));
    }

    void aMissingFileIsDroppedWithoutSoundAndTheNextPlays()
    {
        AlarmFixture f;
        f.addSound("here.wav");
        f.sounds << "gone.wav";
        burstsOf(f, 2);
        f.random.script = {0, 1, 5, PanCentre, 0, 5, PanCentre};
        f.queue.AddTask();
        f.clock.advance(1);
        QCOMPARE(f.playback.calls, QStringList{"0 1 " + SoundsFolder + "gone.wav"});
        QVERIFY(f.playback.played.isEmpty());
        QCOMPARE(f.queue.entries().size(), 1);
        f.clock.advance(250);
        QCOMPARE(f.playback.played, QStringList{SoundsFolder + "here.wav"});
        QVERIFY(f.queue.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TaskQueueTest)
#include "test_task_queue.moc"

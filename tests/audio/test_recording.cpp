#include "MainWindowFixture.h"
#include "audio/MicRecording.h"

#include <QComboBox>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTest>
#include <thread>

namespace {
quint32 word(quint32 left, quint32 right)
{
    return left | right << 16;
}

int gauge(MainWindowFixture& f, const char* name)
{
    return f.find<QProgressBar>(QString::fromLatin1(name))->value();
}
} // namespace

class RecordingTest : public QObject
{
    Q_OBJECT
private slots:
    void switchingOnRecordsFromTheSelectedInput()
    {
        MainWindowFixture f;
        TfrmMain& w = f.open();
        QCOMPARE(f.audio.activeRecordings(), 0);
        emit w.microphoneSwitched(true);
        QCOMPARE(f.audio.activeRecordings(), 1);
        QVERIFY(f.audio.calls.contains("startRecording 44100"));
        QVERIFY(w.recording().isActive());
    }

    void switchingOnOffAndOnLeavesExactlyOneRecording()
    {
        MainWindowFixture f;
        TfrmMain& w = f.open();
        QAction* micSwitch = w.findChild<QAction*>("ActMicDetectToggle");
        micSwitch->trigger();
        QCOMPARE(f.audio.activeRecordings(), 1);
        QCOMPARE(f.store->ReadSetting(gRegistry::StateKey, "ActMicDetectToggle"), QStringLiteral("T"));
        micSwitch->trigger();
        QCOMPARE(f.audio.activeRecordings(), 0);
        QCOMPARE(f.store->ReadSetting(gRegistry::StateKey, "ActMicDetectToggle"), QString());
        micSwitch->trigger();
        QCOMPARE(f.audio.activeRecordings(), 1);
        emit w.microphoneResumed();
        QCOMPARE(f.audio.activeRecordings(), 1);
    }

    void switchingStopsAlarmSoundsAndEmptiesTheGauges_data()
    {
        QTest::addColumn<bool>("on");
        QTest::newRow("on") << true;
        QTest::newRow("off") << false;
    }

    void switchingStopsAlarmSoundsAndEmptiesTheGauges()
    {
        QFETCH(bool, on);
        MainWindowFixture f;
        TfrmMain& w = f.open();
        emit w.microphoneSwitched(true);
        f.audio.report(w.recording().RecordChannel(), word(80, 0));
        QTest::qWait(0);
        f.find<QProgressBar>("ggDuration")->setValue(30);
        QCOMPARE(gauge(f, "ggDetection"), 80);
        const int stops = f.playback->stops;
        emit w.microphoneSwitched(on);
        QCOMPARE(f.playback->stops, stops + 1);
        QCOMPARE(gauge(f, "ggDetection"), 0);
        QCOMPARE(gauge(f, "ggDuration"), 0);
    }

    void withoutAnInputNothingRecords()
    {
        MainWindowFixture f;
        f.audio.inputs.clear();
        TfrmMain& w = f.open();
        emit w.microphoneSwitched(true);
        emit w.microphoneResumed();
        QCOMPARE(f.audio.activeRecordings(), 0);
        QVERIFY(!f.audio.calls.join(' ').contains("startRecording"));
    }

    void aRecordingThatCannotStartIsWarnedAbout()
    {
        MainWindowFixture f;
        f.audio.recordingStartError = AudioError::Busy;
        TfrmMain& w = f.open();
        emit w.microphoneSwitched(true);
        QCOMPARE(f.messages.shown, QStringList{"Cannot start recording! (8)"});
        QVERIFY(!w.recording().isActive());
    }

    void checkLevelTakesTheLouderChannelAndHoldsTheGaugeInRange_data()
    {
        QTest::addColumn<quint32>("level");
        QTest::addColumn<unsigned>("micLevel");
        QTest::addColumn<int>("shown");
        QTest::newRow("right louder") << word(20, 70) << 70u << 70;
        QTest::newRow("left louder") << word(55, 3) << 55u << 55;
        QTest::newRow("beyond the gauge") << word(250, 0) << 250u << 100;
        QTest::newRow("silence") << word(0, 0) << 0u << 0;
    }

    void checkLevelTakesTheLouderChannelAndHoldsTheGaugeInRange()
    {
        QFETCH(quint32, level);
        QFETCH(unsigned, micLevel);
        QFETCH(int, shown);
        MainWindowFixture f;
        TfrmMain& w = f.open();
        w.CheckLevel(word(40, 40));
        w.CheckLevel(level);
        QCOMPARE(w.MicLevel(), micLevel);
        QCOMPARE(gauge(f, "ggDetection"), shown);
    }

    void reportsReachCheckLevelOnTheMainThreadLater()
    {
        MainWindowFixture f;
        TfrmMain& w = f.open();
        emit w.microphoneSwitched(true);
        f.audio.report(w.recording().RecordChannel(), word(33, 0));
        // The hand-over never runs the receiver inside the recording thread's call.
        QCOMPARE(w.MicLevel(), 0u);
        QTRY_COMPARE(w.MicLevel(), 33u);
    }

    void reportsStillOnTheirWayWhenRecordingStopsAreDropped()
    {
        MainWindowFixture f;
        TfrmMain& w = f.open();
        emit w.microphoneSwitched(true);
        const AudioHandle first = w.recording().RecordChannel();
        f.audio.report(first, word(90, 0));
        emit w.microphoneSwitched(false);
        QTest::qWait(10);
        QCOMPARE(w.MicLevel(), 0u);
        QCOMPARE(gauge(f, "ggDetection"), 0);

        // A restart drops the old recording's reports too, but not the new one's.
        emit w.microphoneSwitched(true);
        f.audio.callbackOf(first)(first, word(91, 0));
        f.audio.report(w.recording().RecordChannel(), word(12, 0));
        QTest::qWait(10);
        QCOMPARE(w.MicLevel(), 12u);
    }

    void reportsFromAnotherThreadArriveOnceEachInOrder()
    {
        MainWindowFixture f;
        TfrmMain& w = f.open();
        emit w.microphoneSwitched(true);
        QSignalSpy levels(&w.recording(), &MicRecording::levelReported);
        const AudioBackend::LevelCallback callback =
            f.audio.callbackOf(w.recording().RecordChannel());
        const AudioHandle channel = w.recording().RecordChannel();
        std::thread recordingThread([&] {
            for (quint32 i = 1; i <= 500; ++i)
                callback(channel, i);
        });
        recordingThread.join();
        QTRY_COMPARE(levels.count(), 500);
        for (int i = 0; i < 500; ++i)
            QCOMPARE(levels[i][0].toUInt(), quint32(i + 1));
        QCOMPARE(w.MicLevel(), 500u);
    }

    void closingStopsTheRecordingThenReleasesRecordingAndOutputLast()
    {
        MainWindowFixture f;
        TfrmMain& w = f.open();
        emit w.microphoneSwitched(true);
        const AudioHandle channel = w.recording().RecordChannel();
        f.audio.calls.clear();
        w.close();
        QCOMPARE(f.audio.activeRecordings(), 0);
        QCOMPARE(f.audio.calls.first(), QStringLiteral("stop %1").arg(channel));
        QCOMPARE(f.audio.calls.mid(f.audio.calls.size() - 2),
                 (QStringList{"freeRecording", "freeOutput"}));
    }

    void aClosedWindowNeverHearsOfItsRecordingAgain()
    {
        MainWindowFixture f;
        TfrmMain& w = f.open();
        emit w.microphoneSwitched(true);
        const AudioHandle channel = w.recording().RecordChannel();
        const AudioBackend::LevelCallback callback = f.audio.callbackOf(channel);
        callback(channel, word(50, 0));
        f.window.reset();
        // Destroying the window stopped its recording and discarded what was on its way.
        QCOMPARE(f.audio.activeRecordings(), 0);
        QTest::qWait(10);
    }
};

QTEST_MAIN(RecordingTest)
#include "test_recording.moc"

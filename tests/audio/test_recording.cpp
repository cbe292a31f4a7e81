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
        f.open();
        QCOMPARE(f.audio.activeRecordings(), 0);
        f.mic().restartRecording();
        QCOMPARE(f.audio.activeRecordings(), 1);
        QVERIFY(f.audio.calls.contains("startRecording 44100"));
        QVERIFY(f.recording().isActive());
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
        f.mic().restartRecording();
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
        f.open();
        f.mic().restartRecording();
        f.audio.report(f.recording().RecordChannel(), word(80, 0));
        QTest::qWait(0);
        f.find<QProgressBar>("ggDuration")->setValue(30);
        QCOMPARE(gauge(f, "ggDetection"), 80);
        const int stops = f.playback->stops;
        on ? f.mic().restartRecording() : f.mic().StopRecording();
        QCOMPARE(f.playback->stops, stops + 1);
        QCOMPARE(gauge(f, "ggDetection"), 0);
        QCOMPARE(gauge(f, "ggDuration"), 0);
    }

    void withoutAnInputNothingRecords()
    {
        MainWindowFixture f;
        f.audio.inputs.clear();
        f.open();
        f.mic().restartRecording();
        f.mic().restartRecording();
        QCOMPARE(f.audio.activeRecordings(), 0);
        QVERIFY(!f.audio.calls.join(' ').contains("startRecording"));
    }

    void aRecordingThatCannotStartIsWarnedAbout()
    {
        MainWindowFixture f;
        f.audio.recordingStartError = AudioError::Busy;
        f.open();
        f.mic().restartRecording();
        QCOMPARE(f.messages.shown, QStringList{"Cannot start recording! (8)"});
        QVERIFY(!f.recording().isActive());
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
        f.open();
        f.logic->microphone().CheckLevel(word(40, 40));
        f.logic->microphone().CheckLevel(level);
        QCOMPARE(f.logic->microphone().MicLevel(), micLevel);
        QCOMPARE(gauge(f, "ggDetection"), shown);
    }

    void reportsReachCheckLevelOnTheMainThreadLater()
    {
        MainWindowFixture f;
        f.open();
        f.mic().restartRecording();
        f.audio.report(f.recording().RecordChannel(), word(33, 0));
        // The hand-over never runs the receiver inside the recording thread's call.
        QCOMPARE(f.logic->microphone().MicLevel(), 0u);
        QTRY_COMPARE(f.logic->microphone().MicLevel(), 33u);
    }

    void reportsStillOnTheirWayWhenRecordingStopsAreDropped()
    {
        MainWindowFixture f;
        f.open();
        f.mic().restartRecording();
        const AudioHandle first = f.recording().RecordChannel();
        f.audio.report(first, word(90, 0));
        f.mic().StopRecording();
        QTest::qWait(10);
        QCOMPARE(f.logic->microphone().MicLevel(), 0u);
        QCOMPARE(gauge(f, "ggDetection"), 0);

        // A restart drops the old recording's reports too, but not the new one's.
        f.mic().restartRecording();
        f.audio.callbackOf(first)(first, word(91, 0));
        f.audio.report(f.recording().RecordChannel(), word(12, 0));
        QTest::qWait(10);
        QCOMPARE(f.logic->microphone().MicLevel(), 12u);
    }

    void reportsFromAnotherThreadArriveOnceEachInOrder()
    {
        MainWindowFixture f;
        f.open();
        f.mic().restartRecording();
        QSignalSpy levels(&f.recording(), &MicRecording::levelReported);
        const AudioBackend::LevelCallback callback =
            f.audio.callbackOf(f.recording().RecordChannel());
        const AudioHandle channel = f.recording().RecordChannel();
        std::thread recordingThread([&] {
            for (quint32 i = 1; i <= 500; ++i)
                callback(channel, i);
        });
        recordingThread.join();
        QTRY_COMPARE(levels.count(), 500);
        for (int i = 0; i < 500; ++i)
            QCOMPARE(levels[i][0].toUInt(), quint32(i + 1));
        QCOMPARE(f.logic->microphone().MicLevel(), 500u);
    }

    void closingStopsTheRecordingThenReleasesRecordingAndOutputLast()
    {
        MainWindowFixture f;
        TfrmMain& w = f.open();
        f.mic().restartRecording();
        const AudioHandle channel = f.recording().RecordChannel();
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
        f.open();
        f.mic().restartRecording();
        const AudioHandle channel = f.recording().RecordChannel();
        const AudioBackend::LevelCallback callback = f.audio.callbackOf(channel);
        callback(channel, word(50, 0));
        f.logic.reset();
        f.window.reset();
        // Ending the program stopped its recording and discarded what was on its way.
        QCOMPARE(f.audio.activeRecordings(), 0);
        QTest::qWait(10);
    }
};

QTEST_MAIN(RecordingTest)
#include "test_recording.moc"

// The report and the recording as the audio devices go away and come back.
#include "FakeMainView.h"
#include "FakeServices.h"
#include "audio/MicRecording.h"
#include "audio/RecordingControl.h"
#include "report/ReportLog.h"

#include <QTest>

using namespace gRegistry;

namespace {
struct LogicRig : FakeServices
{
    FakeMainView view;
    MainLogic logic{services(), view};

    /// Created and first activated, with the microphone switch as given.
    bool start(bool microphoneOn)
    {
        if (microphoneOn)
            store->WriteSetting(StateKey, "ActMicDetectToggle", "T");
        if (!logic.FormCreate())
            return false;
        logic.FormActivate();
        return audio.deviceListener != nullptr;
    }
    int startedRecordings() const { return int(audio.calls.filter("startRecording").size()); }
    qsizetype reported(const QString& message)
    {
        const QStringList& lines = logic.report().ReportLines();
        return std::count_if(lines.begin(), lines.end(),
                             [&](const QString& line) { return line.endsWith("] " + message); });
    }
};
} // namespace

class AudioDeviceWatchTest : public QObject
{
    Q_OBJECT
private slots:
    void aLossIsReportedOnceAndTheReturnRestartsTheSwitchedOnRecording()
    {
        LogicRig r;
        QVERIFY(r.start(true));
        QCOMPARE(r.startedRecordings(), 1);
        const AudioHandle before = r.logic.recordingControl().recording().RecordChannel();
        // The engine's recording ends with its device.
        r.audio.stop(before);
        r.audio.deviceListener->audioDeviceLost();
        r.audio.deviceListener->audioDeviceLost();
        QCOMPARE(r.reported("Audio device lost"), 1);
        QCOMPARE(r.reported("Audio device restored"), 0);

        r.audio.deviceListener->audioDeviceRestored();
        QCOMPARE(r.reported("Audio device restored"), 1);
        QCOMPARE(r.startedRecordings(), 2);
        QCOMPARE(r.audio.activeRecordings(), 1);
        QVERIFY(r.logic.recordingControl().recording().RecordChannel() != before);
        // A second loss is a new event and is reported again.
        r.audio.deviceListener->audioDeviceLost();
        QCOMPARE(r.reported("Audio device lost"), 2);
    }

    void theReturnStartsNoRecordingTheSwitchDoesNotAskFor()
    {
        LogicRig r;
        QVERIFY(r.start(false));
        r.audio.deviceListener->audioDeviceLost();
        r.audio.deviceListener->audioDeviceRestored();
        QCOMPARE(r.startedRecordings(), 0);
        QCOMPARE(r.reported("Audio device restored"), 1);
        // A return without a loss tells nothing.
        r.audio.deviceListener->audioDeviceRestored();
        QCOMPARE(r.reported("Audio device restored"), 1);
    }

    void afterTheCloseTheEngineHasNoOneToTell()
    {
        LogicRig r;
        QVERIFY(r.start(true));
        r.logic.FormClose();
        QVERIFY(r.audio.deviceListener == nullptr);
    }
};

QTEST_GUILESS_MAIN(AudioDeviceWatchTest)
#include "test_audio_device_watch.moc"

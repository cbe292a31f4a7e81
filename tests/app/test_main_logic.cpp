// The main window's logic on its own: no widget, no display, only a core application.
#include "FakeMainView.h"
#include "FakeServices.h"
#include "FakeVolumeControl.h"
#include "SoundTestFiles.h"
#include "alarm/AlarmController.h"
#include "app/gVars.h"
#include "report/ReportLog.h"

#include <QTest>

using namespace gRegistry;

namespace {
struct LogicRig : FakeServices
{
    FakeMainView view;
    MainLogic logic{services(), view};
};
} // namespace

class MainLogicTest : public QObject
{
    Q_OBJECT
private slots:
    void runsCreationActivationAndTeardownWithoutAWidget()
    {
        LogicRig r;
        r.store->WriteSetting(StateKey, "Alarm Active", "T");
        r.store->WriteSetting(StateKey, "ActMouDetectToggle", "T");
        r.store->WriteSetting(SoundSelectionKey, "siren.wav", "T");
        r.store->WriteSetting(TuningKey, "frmMainspnActivationDelay", "0");
        makeFile(SoundsFolder + "siren.wav");
        QVERIFY(r.logic.FormCreate());
        QCOMPARE(r.view.drawn, (QStringList{"ActMicDetectToggle 0", "ActMouDetectToggle 1",
                                            "ActSimToggle 0", "ActActivateToggle 1"}));
        QCOMPARE(r.view.inputs, QStringList{"Microphone"});
        QCOMPARE(r.view.selectedInput, 0);
        // The states come from the switches and the sound list's content, not from a widget.
        QVERIFY(r.view.states);
        QVERIFY(!r.view.states->detectorSwitches);
        QVERIFY(r.view.states->activateToggle);
        QVERIFY(r.view.states->checkCommands);

        r.logic.FormActivate();
        r.logic.FormActivate();
        QCOMPARE(r.pointer.starts, 1);
        QVERIFY(r.pointer.subscribed());
        QCOMPARE(r.logic.report().ReportLines().size(), 2); // mouse enabled, activated

        r.logic.FormClose();
        QVERIFY(!r.pointer.subscribed());
        QCOMPARE(r.audio.calls.mid(r.audio.calls.size() - 2),
                 (QStringList{"freeRecording", "freeOutput"}));
        QCOMPARE(r.store->ReadSetting(StateKey, "Alarm Active"), QStringLiteral("T"));
    }

    void theSpeakerOptionTakesEffectOnceSavedAndTheSpeakersComeBackAtClose()
    {
        FakeVolumeControl server; // outlives the logic, as the sound server's connection does
        LogicRig r;
        r.audio.soundServer = &server;
        r.store->WriteSetting(StateKey, "ActMouDetectToggle", "T");
        r.store->WriteSetting(SoundSelectionKey, "siren.wav", "T");
        r.store->WriteSetting(TuningKey, "frmMainspnActivationDelay", "0");
        r.store->WriteSetting(TuningKey, "frmMainspnTriggerDelay", "0");
        makeFile(SoundsFolder + "siren.wav");
        QVERIFY(r.logic.FormCreate());
        r.logic.FormActivate();
        AlarmController& alarm = r.logic.controller();
        const auto soundAlarm = [&] {
            alarm.ActActivateToggleExecute();
            r.clock.advance(1500); // past any temporary mute
            alarm.ActivateAlarm("Mouse detected");
            r.clock.advance(1);
            QVERIFY(r.playback->IsPlaying());
        };

        // Off, as it is unless chosen: the server is neither watched nor set.
        QVERIFY(!server.watchingSpeakers() && !server.watchingMicrophone());
        soundAlarm();
        QVERIFY(server.asked.empty());
        alarm.ActActivateToggleExecute();

        QCOMPARE(r.logic.changeProtection({.keepSpeakersOn = true, .speakerVolume = 80}),
                 ProtectionVerdict::Saved);
        QVERIFY(server.watchingSpeakers() && server.watchingMicrophone());
        soundAlarm();
        QVERIFY(server.serve());
        QCOMPARE(server.speakers, (VolumeState{QStringLiteral("sink"), 80, false}));
        r.logic.FormClose();
        QVERIFY(server.serve());
        QCOMPARE(server.speakers, (VolumeState{QStringLiteral("sink"), 40, true}));
        QVERIFY(!server.watchingMicrophone());
    }

    void aFailedStartLeavesActivationAndCloseWithNothingToDo()
    {
        LogicRig r;
        r.audio.libraryVersion = r.audio.requiredVersion() - 1;
        r.store->WriteSetting(StateKey, "Alarm Active", "T");
        QVERIFY(!r.logic.FormCreate());
        const QStringList calls = r.audio.calls;
        r.logic.FormActivate();
        r.logic.FormClose();
        QCOMPARE(r.audio.calls, calls);
        QVERIFY(r.view.drawn.isEmpty());
    }
};

QTEST_GUILESS_MAIN(MainLogicTest)
#include "test_main_logic.moc"

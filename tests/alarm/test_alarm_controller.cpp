#include "AlarmFixture.h"

#include <QTest>

namespace {
const QString Waiting10 = QStringLiteral("Waiting 10 second(s) before Activation");
const QString Activated = QStringLiteral("Alarm - Activated");
const QString Stopped = QStringLiteral("Alarm - Stoped");

void prepare(AlarmFixture& f, int activationDelay, int triggerDelay)
{
    f.tunables.set(Tunable::spnActivationDelay, activationDelay);
    f.tunables.set(Tunable::spnTriggerDelay, triggerDelay);
    f.switches.setTag(Switch::ActMouDetectToggle, 1);
    f.addSound("siren.wav");
}

bool muted(AlarmFixture& f)
{
    return f.controller.TimTempMute().isEnabled();
}
} // namespace

class AlarmControllerTest : public QObject
{
    Q_OBJECT
private slots:
    void armingWaitsFlashesAndThenActivates()
    {
        AlarmFixture f;
        prepare(f, 10, 0);
        f.switches.setTag(Switch::ActMicDetectToggle, 1);
        f.switches.setTag(Switch::ActSimToggle, 1);
        f.report.AddToReport("from the last armed period");
        f.controller.ActActivateToggleExecute();

        QVERIFY(f.switches.isOn(Switch::ActActivateToggle));
        QCOMPARE(f.view.calls, (QStringList{"DrawActivateBtnState", "KeyState"}));
        QCOMPARE(f.messages(), QStringList{Waiting10});
        QCOMPARE(f.stored("Alarm Active"), QStringLiteral("T"));
        QVERIFY(f.autostartExists());

        // The lamp turns yellow 500 ms after arming and back every 500 ms.
        const Lamp lamp = Lamp::shpLedActivationDelay;
        f.clock.advance(499);
        QCOMPARE(f.view.lampColour(lamp), Colours::LampOff);
        f.clock.advance(1);
        QCOMPARE(f.view.lampColour(lamp), Colours::LampDelayFlash);
        f.clock.advance(500);
        QCOMPARE(f.view.lampColour(lamp), Colours::LampOff);
        f.clock.advance(500);
        QCOMPARE(f.view.lampColour(lamp), Colours::LampDelayFlash);

        // A trigger inside the delay leaves no trace.
        f.controller.ActivateAlarm("Mouse detected");
        QVERIFY(!muted(f));
        QCOMPARE(f.messages(), QStringList{Waiting10});

        f.clock.advance(10000 - 1500 - 1);
        QCOMPARE(f.messages(), QStringList{Waiting10});
        f.clock.advance(1);
        QCOMPARE(f.messages(), (QStringList{Waiting10, "Microphone Detection - Enabled",
                                            "Mouse Detection - Enabled", "Simulation - Enabled",
                                            Activated}));
        QCOMPARE(f.view.lampColour(lamp), Colours::LampOff);
        QVERIFY(!f.controller.TimActivationDelay().isEnabled());
        QVERIFY(!f.controller.TimActivationDelayFlash().isEnabled());
        // The file was deleted and written again from the list.
        QCOMPARE(ReadReportFile(f.report.filePath()), f.report.ReportLines());
        // Nothing more calls for the control states when the delay ends.
        QCOMPARE(f.view.calls, (QStringList{"DrawActivateBtnState", "KeyState"}));
    }

    void armingWithoutDelayActivatesAtOnce()
    {
        AlarmFixture f;
        prepare(f, 0, 0);
        f.controller.ActActivateToggleExecute();
        QCOMPARE(f.messages(), (QStringList{"Mouse Detection - Enabled", Activated}));
    }

    void acceptedTriggerWithoutDelayQueuesTheBurstAtOnce()
    {
        AlarmFixture f;
        prepare(f, 0, 0);
        f.armAndWait();
        f.controller.ActivateAlarm("Mouse detected");
        QCOMPARE(f.messages().last(), QStringLiteral("Mouse detected"));
        QVERIFY(!f.queue.isEmpty());
        f.clock.advance(1499);
        QVERIFY(muted(f));
        f.clock.advance(1);
        QVERIFY(!muted(f));
    }

    void runningTriggerDelayIsNeitherRestartedNorExtended()
    {
        AlarmFixture f;
        prepare(f, 0, 10);
        f.armAndWait();
        const qsizetype before = f.messages().size();
        f.controller.ActivateAlarm("Mouse detected");
        QVERIFY(f.controller.TimTriggerDelay().isEnabled());
        QVERIFY(f.queue.isEmpty());

        f.clock.advance(500);
        QCOMPARE(f.view.lampColour(Lamp::shpLedTriggerDelay), Colours::LampDelayFlash);
        f.clock.advance(500);
        f.controller.ActivateAlarm("Microphone detected"); // muted
        QCOMPARE(f.messages().size(), before + 1);

        f.clock.advance(1000);
        f.tunables.set(Tunable::spnTriggerDelay, 20); // read only when a delay starts
        f.controller.ActivateAlarm("Microphone detected"); // accepted: written, mute restarted
        QCOMPARE(f.messages().mid(before), (QStringList{"Mouse detected", "Microphone detected"}));
        f.clock.advance(1499);
        f.controller.ActivateAlarm("Alarm simulated"); // the second mute still runs
        QCOMPARE(f.messages().size(), before + 2);

        f.clock.advance(10000 - 3499 - 1);
        QVERIFY(f.queue.isEmpty());
        QVERIFY(f.playback.calls.isEmpty());
        f.clock.advance(1); // ten seconds after the first accepted trigger
        QVERIFY(!f.queue.isEmpty());
        f.clock.advance(1); // the burst's first sound, on the next turn
        QCOMPARE(f.playback.calls.size(), 1);
        QVERIFY(!f.controller.TimTriggerDelay().isEnabled());
        QVERIFY(!f.controller.TimTriggerDelayFlash().isEnabled());
        QCOMPARE(f.view.lampColour(Lamp::shpLedTriggerDelay), Colours::LampOff);
    }

    void triggersWhileSoundingOrBetweenSoundsAreIgnored()
    {
        AlarmFixture f;
        prepare(f, 0, 0);
        f.playback.soundMs = 1100;
        f.tunables.set(Tunable::trkPersistence, 2);
        f.tunables.set(Tunable::trkPersistenceRandom, 0);
        f.armAndWait();
        f.controller.ActivateAlarm("Mouse detected");
        const QStringList written = f.messages();
        // Sounds at 1..1101, 1251..2351 and 2501..3601.
        for (qint64 at : {2000, 2400, 3600}) {
            f.clock.advance(at - f.clock.elapsedMs());
            f.controller.ActivateAlarm("Microphone detected");
            QCOMPARE(f.messages(), written);
            QVERIFY(!muted(f));
        }
        QCOMPARE(f.playback.calls.size(), 3);
        f.clock.advance(1);
        f.controller.ActivateAlarm("Microphone detected");
        QCOMPARE(f.messages().last(), QStringLiteral("Microphone detected"));
    }

    void disarmingDuringTheActivationDelay()
    {
        AlarmFixture f;
        prepare(f, 10, 0);
        f.controller.ActActivateToggleExecute();
        f.clock.advance(3700);
        QCOMPARE(f.view.lampColour(Lamp::shpLedActivationDelay), Colours::LampDelayFlash);
        f.view.calls.clear();
        f.controller.ActActivateToggleExecute();
        QVERIFY(!f.switches.isOn(Switch::ActActivateToggle));
        QCOMPARE(f.view.calls, (QStringList{"DrawActivateBtnState", "ResetTriggerCount", "KeyState"}));
        QCOMPARE(f.view.lampColour(Lamp::shpLedActivationDelay), Colours::LampOff);
        QCOMPARE(f.messages(), (QStringList{Waiting10, Stopped}));
        QCOMPARE(f.stored("Alarm Active"), QString());
        QVERIFY(!f.autostartExists());
        f.clock.advance(30000);
        QCOMPARE(f.messages(), (QStringList{Waiting10, Stopped}));
        QCOMPARE(f.view.lampColour(Lamp::shpLedActivationDelay), Colours::LampOff);
    }

    void disarmingSilencesAtOnceAndEmptiesTheQueue()
    {
        AlarmFixture f;
        prepare(f, 0, 0);
        f.armAndWait();
        f.controller.ActivateAlarm("Mouse detected");
        f.clock.advance(300);
        QVERIFY(f.playback.IsPlaying());
        QVERIFY(!f.queue.isEmpty());
        f.controller.ActActivateToggleExecute();
        QVERIFY(!f.playback.IsPlaying());
        QCOMPARE(f.playback.stops, 1);
        QVERIFY(f.queue.isEmpty());
        f.clock.advance(60000);
        QCOMPARE(f.playback.calls.size(), 1);
        // A trigger while disarmed is rejected.
        f.controller.ActivateAlarm("Alarm simulated");
        QCOMPARE(f.messages().last(), Stopped);
    }

    void escapeDisarmsOnlyAnArmedSystem()
    {
        AlarmFixture f;
        prepare(f, 0, 0);
        f.controller.FormKeyUp(Qt::Key_Escape);
        QVERIFY(f.view.calls.isEmpty());
        QVERIFY(f.messages().isEmpty());
        QCOMPARE(f.playback.stops, 0);

        f.armAndWait();
        f.view.calls.clear();
        f.controller.FormKeyUp(Qt::Key_Return);
        QVERIFY(f.switches.isOn(Switch::ActActivateToggle));
        QVERIFY(f.view.calls.isEmpty());

        f.controller.FormKeyUp(Qt::Key_Escape);
        QVERIFY(!f.switches.isOn(Switch::ActActivateToggle));
        QCOMPARE(f.view.calls, (QStringList{"DrawActivateBtnState", "ResetTriggerCount", "KeyState"}));
        QCOMPARE(f.messages().last(), Stopped);
        QCOMPARE(f.stored("Alarm Active"), QString());
        QVERIFY(!f.autostartExists());
        QCOMPARE(f.playback.stops, 1);
    }

    void reArmingRightAfterAnAcceptedTriggerStaysMuted()
    {
        AlarmFixture f;
        prepare(f, 0, 0);
        f.armAndWait();
        f.controller.ActivateAlarm("Mouse detected");
        f.clock.advance(500);
        f.controller.ActActivateToggleExecute(); // disarm
        f.clock.advance(200);
        f.controller.ActActivateToggleExecute(); // arm again, no delay
        QCOMPARE(f.messages(), (QStringList{"Mouse Detection - Enabled", Activated}));
        f.clock.advance(300);
        f.controller.ActivateAlarm("Mouse detected");
        QCOMPARE(f.messages(), (QStringList{"Mouse Detection - Enabled", Activated}));
        f.clock.advance(500); // 1500 ms after the accepted trigger
        f.controller.ActivateAlarm("Mouse detected");
        QCOMPARE(f.messages().last(), QStringLiteral("Mouse detected"));
    }

    void resumeContinuesTheReportAndStoresNothingAgain()
    {
        AlarmFixture f;
        prepare(f, 10, 0);
        f.report.AddToReport("old line");
        f.controller.ResumeArmedPeriod(); // nothing was armed
        QCOMPARE(f.messages(), QStringList{"old line"});
        f.store.WriteSetting(gRegistry::StateKey, "Alarm Active", "yes");
        f.switches.setTag(Switch::ActActivateToggle, 1);
        f.controller.ResumeArmedPeriod();
        QCOMPARE(f.view.calls, QStringList{"KeyState"});
        QCOMPARE(f.messages(), (QStringList{"old line", Waiting10}));
        QCOMPARE(f.stored("Alarm Active"), QStringLiteral("yes"));
        QVERIFY(!f.autostartExists());
        f.clock.advance(10000);
        QCOMPARE(f.messages(), (QStringList{"old line", Waiting10, "Mouse Detection - Enabled", Activated}));
        QCOMPARE(ReadReportFile(f.report.filePath()), f.report.ReportLines());
    }

    void resumeWithNothingSelectedWritesTriggersButNothingSounds()
    {
        AlarmFixture f;
        f.tunables.set(Tunable::spnActivationDelay, 0);
        f.switches.setTag(Switch::ActSimToggle, 1);
        f.switches.setTag(Switch::ActActivateToggle, 1);
        f.store.WriteSetting(gRegistry::StateKey, "Alarm Active", "T");
        f.controller.ResumeArmedPeriod();
        f.controller.ActivateAlarm("Alarm simulated");
        QCOMPARE(f.messages(), (QStringList{"Simulation - Enabled", Activated, "Alarm simulated"}));
        f.clock.advance(5000);
        QVERIFY(f.playback.calls.isEmpty());
        f.controller.ActivateAlarm("Mouse detected"); // back to armed once the mute ran out
        QCOMPARE(f.messages().last(), QStringLiteral("Mouse detected"));
        f.controller.FormKeyUp(Qt::Key_Escape);
        QCOMPARE(f.messages().last(), Stopped);
        QCOMPARE(f.stored("Alarm Active"), QString());
    }

    void delaysTypedOutOfRangeStillGiveAWorkingTimer()
    {
        AlarmFixture f;
        prepare(f, 2147483, 0); // the largest whole second count a timer can hold
        f.controller.ActActivateToggleExecute();
        QCOMPARE(f.controller.TimActivationDelay().interval(), 2147483000);
        f.controller.ActActivateToggleExecute();

        f.tunables.set(Tunable::spnActivationDelay, 999999999);
        f.controller.ActActivateToggleExecute();
        QCOMPARE(f.messages().first(), QStringLiteral("Waiting 999999999 second(s) before Activation"));
        QCOMPARE(f.controller.TimActivationDelay().interval(), std::numeric_limits<int>::max());
        f.controller.ActActivateToggleExecute();

        f.tunables.set(Tunable::spnActivationDelay, -5);
        f.controller.ActActivateToggleExecute();
        f.clock.advance(1);
        QCOMPARE(f.messages().last(), Activated);
    }
};

QTEST_GUILESS_MAIN(AlarmControllerTest)
#include "test_alarm_controller.moc"

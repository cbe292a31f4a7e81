#include "AlarmFixture.h"

#include <QTest>

namespace {
constexpr qint64 Minute = 60000;

/// Advances to just before the next simulated trigger and across it: true when the lamp lit
/// exactly then and went off again 250 ms later.
bool firesAfter(AlarmFixture& f, qint64 ms)
{
    const Lamp lamp = Lamp::shpLedSimulation;
    f.clock.advance(ms - 1);
    if (f.view.lampColour(lamp) != Colours::LampOff)
        return false;
    f.clock.advance(1);
    if (f.view.lampColour(lamp) != Colours::LampDetection)
        return false;
    f.clock.advance(249);
    if (f.view.lampColour(lamp) != Colours::LampDetection)
        return false;
    f.clock.advance(1);
    return f.view.lampColour(lamp) == Colours::LampOff && !f.simulation.TimLedSim().isEnabled();
}
} // namespace

class AlarmSimulationTest : public QObject
{
    Q_OBJECT
private slots:
    void periodIsEveryMinutesPlusARandomExtra()
    {
        AlarmFixture f;
        f.tunables.set(Tunable::spnSimulateEvery, 7);
        f.tunables.set(Tunable::spnSimulateRandom, 3);
        f.random.script = {1234};
        QCOMPARE(f.simulation.GetSimulationTime(), 7 * Minute + 1234);
        QCOMPARE(f.random.asked, QList<int>{3 * Minute});
        f.tunables.set(Tunable::spnSimulateEvery, 1440);
        f.tunables.set(Tunable::spnSimulateRandom, 1440);
        f.random.script = {1440 * Minute - 1};
        QCOMPARE(f.simulation.GetSimulationTime(), 2 * 1440 * Minute - 1);
    }

    void numbersTypedOutOfRangeKeepThePeriodUsable()
    {
        AlarmFixture f;
        f.tunables.set(Tunable::spnSimulateEvery, 2147483647);
        f.tunables.set(Tunable::spnSimulateRandom, 2147483647);
        QCOMPARE(f.simulation.GetSimulationTime(), std::numeric_limits<int>::max());
        QCOMPARE(f.random.asked.last(), std::numeric_limits<int>::max());
        f.tunables.set(Tunable::spnSimulateRandom, -3);
        for (int every : {0, 1, -20}) {
            f.tunables.set(Tunable::spnSimulateEvery, every);
            QCOMPARE(f.simulation.GetSimulationTime(), 5 * Minute);
        }
    }

    void withoutExtraTriggersComeExactlyEveryPeriod()
    {
        AlarmFixture f;
        f.simulation.ActSimToggleExecute();
        QCOMPARE(f.view.calls, (QStringList{"DrawSimBtnState", "KeyState"}));
        QCOMPARE(f.stored("ActSimToggle"), QStringLiteral("T"));
        QVERIFY(firesAfter(f, 5 * Minute));
        QVERIFY(firesAfter(f, 5 * Minute - 250));
        QVERIFY(firesAfter(f, 5 * Minute - 250));
    }

    void aChangedSpinBoxCountsFromTheNextDraw()
    {
        AlarmFixture f;
        f.simulation.ActSimToggleExecute();
        f.clock.advance(Minute);
        f.tunables.set(Tunable::spnSimulateEvery, 10);
        QVERIFY(firesAfter(f, 4 * Minute));
        QVERIFY(firesAfter(f, 10 * Minute - 250));
    }

    void switchingOffAndOnStartsAFreshPeriod()
    {
        AlarmFixture f;
        f.simulation.ActSimToggleExecute();
        f.clock.advance(4 * Minute);
        f.simulation.ActSimToggleExecute();
        QCOMPARE(f.stored("ActSimToggle"), QString());
        QVERIFY(!f.simulation.TimSimulation().isEnabled());
        f.clock.advance(20 * Minute);
        QVERIFY(!f.view.lamps.count(Lamp::shpLedSimulation));
        f.simulation.ActSimToggleExecute();
        QVERIFY(firesAfter(f, 5 * Minute));
    }

    void rejectedTriggersStillFlashAndDrawTheNextPeriod()
    {
        AlarmFixture f;
        f.addSound("siren.wav");
        f.tunables.set(Tunable::spnActivationDelay, 0);
        f.simulation.ActSimToggleExecute();
        QVERIFY(firesAfter(f, 5 * Minute)); // disarmed
        QVERIFY(f.messages().isEmpty());

        f.playback.soundMs = 10 * Minute;
        f.controller.ActActivateToggleExecute();
        f.controller.ActivateAlarm("Mouse detected");
        const QStringList sounding = f.messages();
        QVERIFY(firesAfter(f, 5 * Minute - 250)); // sounding
        QCOMPARE(f.messages(), sounding);
    }

    void acceptedSimulatedTriggerActsLikeADetection()
    {
        AlarmFixture f;
        f.addSound("siren.wav");
        f.tunables.set(Tunable::spnActivationDelay, 0);
        f.tunables.set(Tunable::spnTriggerDelay, 3);
        f.simulation.ActSimToggleExecute();
        f.controller.ActActivateToggleExecute();
        f.clock.advance(5 * Minute);
        QCOMPARE(f.messages(), (QStringList{"Simulation - Enabled", "Alarm - Activated", "Alarm simulated"}));
        QVERIFY(f.controller.TimTriggerDelay().isEnabled());
        f.clock.advance(3000);
        QVERIFY(!f.queue.isEmpty());
        f.clock.advance(1);
        QVERIFY(!f.playback.calls.isEmpty());
    }

    void resumeStartsOnlyASwitchedOnSimulation()
    {
        AlarmFixture f;
        f.simulation.resume();
        QVERIFY(!f.simulation.TimSimulation().isEnabled());
        f.switches.setTag(Switch::ActSimToggle, 1);
        f.simulation.resume();
        QVERIFY(firesAfter(f, 5 * Minute));
        QVERIFY(f.store.ReadSetting(gRegistry::StateKey, "ActSimToggle").isEmpty());
    }
};

QTEST_GUILESS_MAIN(AlarmSimulationTest)
#include "test_alarm_simulation.moc"

#include "AlarmSimulation.h"

#include "AlarmTrigger.h"
#include "Intervals.h"
#include "Switches.h"
#include "core/Random.h"
#include "settings/Tunables.h"

namespace {
constexpr qint64 MinuteMs = 60000;
} // namespace

AlarmSimulation::AlarmSimulation(const AlarmContext& context, RandomSource& random,
                                 AlarmTrigger& alarm, QObject* parent)
    : QObject(parent), m_context(context), m_random(random), m_alarm(alarm),
      m_timSimulation(context.timers, 0),
      m_lamp(context.view, Lamp::shpLedSimulation, context.timers)
{
    connect(&m_timSimulation, &Timer::timeout, this, &AlarmSimulation::TimSimulationTimer);
}

int AlarmSimulation::GetSimulationTime()
{
    const qint64 every = m_context.tunables.value(Tunable::spnSimulateEvery);
    const qint64 extra = m_context.tunables.value(Tunable::spnSimulateRandom);
    // Within the boxes' ranges this is 5 minutes to just under 48 hours. A number still being
    // typed can be anything: the period then stays between the shortest one the boxes allow
    // and the longest a timer takes, so the simulation neither races nor stops.
    const int extraMs = BoundedInterval(extra * MinuteMs, 0);
    const int shortest = int(definitionOf(Tunable::spnSimulateEvery).minimum * MinuteMs);
    return BoundedInterval(every * MinuteMs + m_random.Random(extraMs), shortest);
}

void AlarmSimulation::startPeriod()
{
    m_timSimulation.setInterval(GetSimulationTime());
    m_timSimulation.setEnabled(true);
}

void AlarmSimulation::ActSimToggleExecute()
{
    if (TurnOverSwitch(m_context.switches, Switch::ActSimToggle, m_context.view))
        startPeriod();
    else
        m_timSimulation.setEnabled(false);
    m_context.switches.writeTo(m_context.store, Switch::ActSimToggle);
}

void AlarmSimulation::resume()
{
    if (m_context.switches.isOn(Switch::ActSimToggle))
        startPeriod();
}

void AlarmSimulation::stopTimers()
{
    m_timSimulation.setEnabled(false);
    m_lamp.stopTimer();
}

void AlarmSimulation::TimSimulationTimer()
{
    m_timSimulation.setEnabled(false);
    m_alarm.ActivateAlarm(QStringLiteral("Alarm simulated"));
    startPeriod();
    // The lamp shows every simulated trigger, accepted or not.
    m_lamp.light();
}

#include "AlarmSimulation.h"

#include "AlarmController.h"
#include "Intervals.h"
#include "Switches.h"
#include "core/Colours.h"
#include "core/Random.h"
#include "settings/Tunables.h"

namespace {
constexpr qint64 MinuteMs = 60000;
constexpr int LampMs = 250;
} // namespace

AlarmSimulation::AlarmSimulation(const AlarmContext& context, RandomSource& random,
                                 AlarmController& controller, QObject* parent)
    : QObject(parent), m_context(context), m_random(random), m_controller(controller),
      m_timSimulation(context.timers, 0), m_timLedSim(context.timers, LampMs)
{
    connect(&m_timSimulation, &Timer::timeout, this, &AlarmSimulation::TimSimulationTimer);
    connect(&m_timLedSim, &Timer::timeout, this, [this] {
        m_context.view.setLampColour(Lamp::shpLedSimulation, Colours::LampOff);
        m_timLedSim.setEnabled(false);
    });
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
    m_timLedSim.setEnabled(false);
}

void AlarmSimulation::TimSimulationTimer()
{
    m_timSimulation.setEnabled(false);
    m_controller.ActivateAlarm(QStringLiteral("Alarm simulated"));
    startPeriod();
    // The lamp shows every simulated trigger, accepted or not.
    m_context.view.setLampColour(Lamp::shpLedSimulation, Colours::LampDetection);
    m_timLedSim.setEnabled(true);
}

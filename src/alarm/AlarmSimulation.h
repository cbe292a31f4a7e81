#pragma once

#include "AlarmContext.h"
#include "core/Timer.h"

#include <QObject>

class AlarmTrigger;
class RandomSource;

/// Sets the alarm off every spnSimulateEvery minutes plus a random extra of up to
/// spnSimulateRandom minutes, as if a detector had fired. It runs whenever its switch is on,
/// armed or not; the controller decides whether a simulated trigger counts.
class AlarmSimulation : public QObject
{
    Q_OBJECT
public:
    AlarmSimulation(const AlarmContext& context, RandomSource& random, AlarmTrigger& alarm,
                    QObject* parent = nullptr);

    /// The next period in milliseconds, drawn anew before every start of TimSimulation.
    int GetSimulationTime();
    /// The on/off toggle of btnSimulation; the switch's value is stored.
    void ActSimToggleExecute();
    /// At the main window's first activation: a switched-on simulation starts its first period.
    void resume();

    Timer& TimSimulation() { return m_timSimulation; }
    Timer& TimLedSim() { return m_lamp.timer(); }
    /// The window closes: no period and no lamp runs on.
    void stopTimers();

private:
    void TimSimulationTimer();
    void startPeriod();

    AlarmContext m_context;
    RandomSource& m_random;
    AlarmTrigger& m_alarm;
    Timer m_timSimulation;
    DetectionLamp m_lamp;
};

#pragma once

#include "SwitchView.h"

#include <cstdint>

class SettingsStore;
class TimerEngine;
class TunableValues;

/// The indicator lamps the alarm logic drives.
enum class Lamp { shpLedActivationDelay, shpLedTriggerDelay, shpLedSimulation };

/// What the alarm logic needs around it: the lamps, the switch buttons, the control states and
/// the microphone detector's count.
class AlarmView : public SwitchView
{
public:
    virtual std::uint32_t lampColour(Lamp lamp) const = 0;
    virtual void setLampColour(Lamp lamp, std::uint32_t bgr) = 0;
    /// TriggerCount, the microphone detector's count of loud reports, and its gauge back to 0.
    virtual void ResetTriggerCount() = 0;
};

/// The collaborators the controller and the simulation share.
struct AlarmContext
{
    Switches& switches;
    const TunableValues& tunables;
    SettingsStore& store;
    AlarmView& view;
    TimerEngine& timers;
};

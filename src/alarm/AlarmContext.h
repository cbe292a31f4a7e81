#pragma once

#include "SwitchView.h"
#include "core/Lamps.h"

class SettingsStore;
class TimerEngine;
class TunableValues;

/// What the alarm logic needs around it: the lamps, the switch buttons, the control states and
/// the microphone detector's count.
class AlarmView : public SwitchView, public LampView
{
public:
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

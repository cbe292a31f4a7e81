#pragma once

#include "app/ControlStateRefresh.h"

#include <cstdint>

class SettingsStore;
class Switches;
class TimerEngine;
class TunableValues;

/// The indicator lamps the alarm logic drives.
enum class Lamp { shpLedActivationDelay, shpLedTriggerDelay, shpLedSimulation };

/// What the alarm logic needs of the main window: its lamps, the pictures of two switch buttons,
/// the control states and the microphone detector's count. The window implements it.
class AlarmView : public ControlStateRefresh
{
public:
    virtual std::uint32_t lampColour(Lamp lamp) const = 0;
    virtual void setLampColour(Lamp lamp, std::uint32_t bgr) = 0;
    virtual void DrawActivateBtnState() = 0;
    virtual void DrawSimBtnState() = 0;
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

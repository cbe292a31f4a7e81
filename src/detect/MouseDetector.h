#pragma once

#include "PointerEventSource.h"
#include "core/Lamps.h"

class AlarmTrigger;
class ReportLog;
class SettingsStore;
class Switches;
class SwitchView;
class TunableValues;

/// Watches the pointer of the whole desktop while its switch is on, and asks for the alarm on a
/// press of the left, middle or right button, a wheel turn, or a move of more than
/// 100 - trkMouseSensivity pixels along either axis within one event. Armed or not, the lamp
/// shows every request. Main thread only.
class MouseDetector : public PointerListener
{
public:
    struct Collaborators
    {
        AlarmTrigger& alarm;
        const TunableValues& tunables;
        TimerEngine& timers;
        LampView& lamps;
        PointerEventSource& pointer;
        ReportLog& report;
        Switches& switches;
        SwitchView& view;
        SettingsStore& store;
    };
    explicit MouseDetector(const Collaborators& with);
    ~MouseDetector() override;

    /// The on/off toggle of btnMouDetect; the switch's value is stored.
    void ActMouDetectToggleExecute();
    /// At the main window's first activation: a switched-on detector takes the pointer's
    /// position and watches again.
    void resume();
    void StartMouseHook();
    void StopMouseHook();
    void MouseDetected();

    void MouseHookProc(PointerEvent event) override;
    /// A cancelled subscription is made again while the detector is meant to watch; a failure
    /// leaves it deaf until it is switched on again.
    void subscriptionCancelled() override;

    bool MouseHookActive() const { return m_hookActive; }
    int LastMouseX() const { return m_last.x(); }
    int LastMouseY() const { return m_last.y(); }
    Timer& TimLedMou() { return m_lamp.timer(); }
    /// The window closes: the lamp's timer stops.
    void stopTimers() { m_lamp.stopTimer(); }

private:
    /// LastMouseX and LastMouseY take the pointer's position, when it can be read.
    void takePosition();

    Collaborators m_with;
    DetectionLamp m_lamp;
    bool m_hookActive = false;
    QPoint m_last;
};

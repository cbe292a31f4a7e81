#pragma once

#include "Timer.h"

#include <cstdint>

/// The main window's indicator lamps.
enum class Lamp {
    shpLedMicDetection,
    shpLedMouDetection,
    shpLedTriggerDelay,
    shpLedActivationDelay,
    shpLedSimulation,
};

/// The lamps as the logic drives them: each shows one colour (0x00BBGGRR).
class LampView
{
public:
    virtual ~LampView() = default;
    virtual std::uint32_t lampColour(Lamp lamp) const = 0;
    virtual void setLampColour(Lamp lamp, std::uint32_t bgr) = 0;
};

/// A lamp that lights in the detection colour at every detection and goes dark again when its
/// 250 ms one-shot timer ends. Starting the running timer does not restart it, so a burst of
/// detections lights the lamp for at most 250 ms after the first of them.
class DetectionLamp
{
public:
    DetectionLamp(LampView& view, Lamp lamp, TimerEngine& timers);
    DetectionLamp(const DetectionLamp&) = delete;
    DetectionLamp& operator=(const DetectionLamp&) = delete;

    void light();
    /// The lamp's one-shot timer (TimLedMic, TimLedMou, TimLedSim).
    Timer& timer() { return m_timer; }
    /// The window closes: the lamp is left as it is.
    void stopTimer() { m_timer.setEnabled(false); }

private:
    LampView& m_view;
    Lamp m_lamp;
    Timer m_timer;
};

#pragma once

#include "audio/LevelSink.h"
#include "core/Lamps.h"

class AlarmTrigger;
class TunableValues;

/// The microphone panel's gauges: ggDetection shows the level, ggDuration the count of loud
/// reports; each runs from 0 to 100.
class MicrophoneView
{
public:
    virtual ~MicrophoneView() = default;
    virtual void setDetectionGauge(int value) = 0;
    virtual void setDurationGauge(int value) = 0;
};

/// Turns the recording's level reports into microphone triggers: once more reports in a row than
/// trkMicTriggerDuration reach trkMicTriggerVolume (reports of digital silence neither count
/// nor break the row), every further loud one asks for the alarm. Armed or not, the gauges and the lamp show what it hears. Main thread only.
class MicrophoneDetector : public LevelSink
{
public:
    struct Collaborators
    {
        AlarmTrigger& alarm;
        const TunableValues& tunables;
        TimerEngine& timers;
        MicrophoneView& view;
        LampView& lamps;
    };
    explicit MicrophoneDetector(const Collaborators& with);

    /// Main thread: takes one level report of the recording.
    void CheckLevel(quint32 level) override;
    /// Both gauges and the count go back to 0.
    void recordingStopped() override;
    /// The count of loud reports and its gauge go back to 0.
    void ResetTriggerCount();

    /// The level of the last report: the louder channel.
    unsigned MicLevel() const { return m_micLevel; }
    int TriggerCount() const { return m_triggerCount; }
    Timer& TimLedMic() { return m_lamp.timer(); }
    /// The window closes: the lamp's timer stops.
    void stopTimers() { m_lamp.stopTimer(); }

private:
    /// Counts the last report as loud or quiet, and asks for the alarm once the run is long enough.
    void countReport();
    void showGauges();

    Collaborators m_with;
    DetectionLamp m_lamp;
    unsigned m_micLevel = 0;
    int m_triggerCount = 0;
};

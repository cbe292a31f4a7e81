#pragma once

#include "audio/LevelSink.h"

/// The microphone panel's gauges: ggDetection shows the level, ggDuration the count of loud
/// reports; each runs from 0 to 100.
class MicrophoneView
{
public:
    virtual ~MicrophoneView() = default;
    virtual void setDetectionGauge(int value) = 0;
    virtual void setDurationGauge(int value) = 0;
};

/// Evaluates the recording's level reports on the main thread.
class MicrophoneDetector : public LevelSink
{
public:
    explicit MicrophoneDetector(MicrophoneView& view);

    /// Main thread: takes one level report of the recording.
    void CheckLevel(quint32 level) override;
    /// Both gauges and the count go back to 0.
    void recordingStopped() override;
    /// The count of loud reports and its gauge go back to 0.
    void ResetTriggerCount();

    /// The level of the last report: the louder channel.
    unsigned MicLevel() const { return m_micLevel; }

private:
    MicrophoneView& m_view;
    unsigned m_micLevel = 0;
};

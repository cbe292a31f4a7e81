#pragma once

#include "AudioBackend.h"

class RecordingControl;
class ReportLog;

/// Keeps the report and the recording in step with the audio devices: their loss and their
/// return are reported, and a recording the microphone switch asks for starts again once they
/// are back. Registered with the engine for its whole life. Main thread only.
class AudioDeviceWatch : public AudioDeviceListener
{
public:
    AudioDeviceWatch(AudioBackend& audio, ReportLog& report, RecordingControl& recording);
    ~AudioDeviceWatch() override;
    AudioDeviceWatch(const AudioDeviceWatch&) = delete;
    AudioDeviceWatch& operator=(const AudioDeviceWatch&) = delete;

    void audioDeviceLost() override;
    void audioDeviceRestored() override;

private:
    AudioBackend& m_audio;
    ReportLog& m_report;
    RecordingControl& m_recording;
    bool m_lost = false;
};

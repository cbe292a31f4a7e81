#include "AudioDeviceWatch.h"

#include "RecordingControl.h"
#include "report/ReportLog.h"

AudioDeviceWatch::AudioDeviceWatch(AudioBackend& audio, ReportLog& report,
                                   RecordingControl& recording)
    : m_audio(audio), m_report(report), m_recording(recording)
{
    m_audio.setDeviceListener(this);
}

AudioDeviceWatch::~AudioDeviceWatch()
{
    m_audio.setDeviceListener(nullptr);
}

void AudioDeviceWatch::audioDeviceLost()
{
    if (m_lost)
        return;
    m_lost = true;
    m_report.AddToReport(QStringLiteral("Audio device lost"));
}

void AudioDeviceWatch::audioDeviceRestored()
{
    if (!m_lost)
        return;
    m_lost = false;
    m_report.AddToReport(QStringLiteral("Audio device restored"));
    m_recording.resume();
}

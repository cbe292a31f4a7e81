#include "RecordingControl.h"

#include "AlarmPlayback.h"
#include "LevelSink.h"
#include "MicRecording.h"
#include "RecordingInput.h"
#include "alarm/SwitchView.h"
#include "core/Timer.h"

RecordingControl::RecordingControl(const Collaborators& with, QObject* parent)
    : QObject(parent), m_with(with), m_recording(new MicRecording(with.audio, with.messages, this))
{
    connect(m_recording, &MicRecording::levelReported, this,
            [this](quint32 level) { m_with.levels.CheckLevel(level); });
}

void RecordingControl::ActMicDetectToggleExecute()
{
    if (TurnOverSwitch(m_with.switches, Switch::ActMicDetectToggle, m_with.view))
        restartRecording();
    else
        StopRecording();
    m_with.switches.writeTo(m_with.store, Switch::ActMicDetectToggle);
}

void RecordingControl::resume()
{
    if (m_with.switches.isOn(Switch::ActMicDetectToggle))
        restartRecording();
}

void RecordingControl::StartRecording()
{
    m_recording->start(m_with.input.selected());
}

void RecordingControl::StopRecording()
{
    m_recording->stop();
    m_with.playback.StopSounds();
    m_with.tempMute.setEnabled(false);
    m_with.levels.recordingStopped();
}

void RecordingControl::restartRecording()
{
    StopRecording();
    if (!m_recording->isActive())
        StartRecording();
}

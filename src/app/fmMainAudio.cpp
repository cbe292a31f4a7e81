// The main window's audio: the devices, the recording input and the recording.
#include "alarm/AlarmController.h"
#include "audio/AlarmPlayback.h"
#include "audio/AudioDevices.h"
#include "audio/MicRecording.h"
#include "fmMain.h"

#include <QComboBox>
#include <QProgressBar>
#include <QSlider>
#include <algorithm>

bool TfrmMain::startAudioDevices()
{
    m_audioDevices = std::make_unique<AudioDevices>(m_services.audio, m_services.messages);
    m_recording = new MicRecording(m_services.audio, m_services.messages, this);
    connect(m_recording, &MicRecording::levelReported, this, &TfrmMain::CheckLevel);
    connect(this, &TfrmMain::microphoneSwitched, this, [this](bool on) {
        if (on)
            restartRecording();
        else
            StopRecording();
    });
    connect(this, &TfrmMain::microphoneResumed, this, &TfrmMain::restartRecording);
    connect(findChild<QComboBox*>(QStringLiteral("cmbRecSource")), &QComboBox::activated, this,
            &TfrmMain::cmbRecSourceChange);
    connect(findChild<QSlider*>(QStringLiteral("trkMicSensivity")), &QSlider::valueChanged, this,
            &TfrmMain::trkMicSensivityChange);
    return m_audioDevices->start();
}

void TfrmMain::chooseRecordingInput()
{
    auto* source = findChild<QComboBox*>(QStringLiteral("cmbRecSource"));
    const AudioDevices::InputChoice choice = m_audioDevices->chooseInput();
    source->addItems(choice.names);
    source->setCurrentIndex(choice.selected);
    cmbRecSourceChange();
}

void TfrmMain::cmbRecSourceChange()
{
    const int selected = findChild<QComboBox*>(QStringLiteral("cmbRecSource"))->currentIndex();
    if (const std::optional<int> volume = m_audioDevices->applyInput(selected))
        setValue(Tunable::trkMicSensivity, *volume);
}

void TfrmMain::trkMicSensivityChange(int position)
{
    m_audioDevices->setInputLevel(
        findChild<QComboBox*>(QStringLiteral("cmbRecSource"))->currentIndex(), position);
    findChild<QSlider*>(QStringLiteral("trkMicSensivity"))->setToolTip(QString::number(position));
}

void TfrmMain::StartRecording()
{
    m_recording->start(findChild<QComboBox*>(QStringLiteral("cmbRecSource"))->currentIndex());
}

void TfrmMain::StopRecording()
{
    m_recording->stop();
    playback().StopSounds();
    m_controller->TimTempMute().setEnabled(false);
    findChild<QProgressBar*>(QStringLiteral("ggDetection"))->setValue(0);
    ResetTriggerCount();
}

void TfrmMain::restartRecording()
{
    StopRecording();
    if (!m_recording->isActive())
        StartRecording();
}

void TfrmMain::CheckLevel(quint32 level)
{
    m_micLevel = std::max(level & 0xFFFF, level >> 16);
    // The gauge shows a level beyond its range at its nearer end.
    findChild<QProgressBar*>(QStringLiteral("ggDetection"))
        ->setValue(int(std::min(m_micLevel, 100u)));
}

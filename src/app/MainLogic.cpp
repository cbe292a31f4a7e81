#include "MainLogic.h"

#include "MainView.h"
#include "alarm/AlarmController.h"
#include "alert/RemoteAlerts.h"
#include "alarm/AlarmSimulation.h"
#include "alarm/SpeakerGuard.h"
#include "alarm/TaskQueue.h"
#include "audio/AlarmPlayback.h"
#include "audio/AudioDeviceWatch.h"
#include "audio/AudioDevices.h"
#include "audio/RecordingControl.h"
#include "detect/KeyboardDetector.h"
#include "detect/MicrophoneDetector.h"
#include "detect/MicrophoneTamper.h"
#include "detect/MouseDetector.h"
#include "gVars.h"
#include "report/ReportLog.h"
#include "settings/TunableSettings.h"
#include "sounds/SoundLibrary.h"
#include "sounds/SoundSelection.h"

#include <QSysInfo>

MainLogic::MainLogic(const MainServices& services, MainView& view, QObject* parent)
    : QObject(parent), m_services(services), m_view(view),
      m_tunables(std::make_unique<TunableSettings>(services.store, view)),
      m_audioDevices(std::make_unique<AudioDevices>(services.audio, services.messages)),
      m_recordingInput(std::make_unique<RecordingInput>(*m_audioDevices, view, view))
{
}

MainLogic::~MainLogic() = default;

void MainLogic::openLink(WebLink link) const
{
    OpenWebLink(m_services.urls, link);
}

void MainLogic::openSoundSettings(SoundDevices devices) const
{
    OpenSoundSettings(m_services.programs, devices, qEnvironmentVariable("XDG_CURRENT_DESKTOP"));
}

bool MainLogic::FormCreate()
{
    if (!m_audioDevices->start())
        return false;
    m_recordingInput->choose();

    m_report =
        std::make_unique<ReportLog>(m_services.clock, ReportsFolder, m_services.timeSeparator);
    m_report->loadFile();
    m_switches.readFrom(m_services.store);
    m_soundSelection =
        std::make_unique<SoundSelection>(m_services.store, m_soundList, m_selectedSounds, *this);
    m_soundSelection->readStored();
    m_tunables->LoadResetableSettings();
    m_playback = m_services.makePlayback(m_view);
    createAlarmControl();
    createDetection();
    createSoundLibrary();
    m_soundLibrary->FillSounds(QString());

    DrawMicDetectBtnState();
    DrawMouDetectBtnState();
    DrawSimBtnState();
    DrawActivateBtnState();
    DrawKeyDetectBtnState();
    m_taskQueue->start();
    m_view.setUpSystemVolumePanel(GetWinVersionClass());
    m_created = true;
    return true;
}

void MainLogic::createAlarmControl()
{
    m_taskQueue = std::make_unique<TaskQueue>(m_services.timers, m_services.random, m_view,
                                              m_selectedSounds, SoundsFolder, *m_playback);
    const AlarmContext context{m_switches, m_view, m_services.store, *this, m_services.timers};
    m_controller = std::make_unique<AlarmController>(context, *m_taskQueue, *m_playback, *m_report,
                                                     m_services.autostart,
                                                     protection().pinHash, m_view);
    // A PIN hashed again under today's limits replaces the stored hash.
    connect(&m_controller->pinGate(), &PinGate::pinRehashed, this, [this](const QByteArray& hash) {
        GuardSettings settings = protection();
        settings.pinHash = hash;
        settings.write(m_services.store);
    });
    m_simulation = std::make_unique<AlarmSimulation>(context, m_services.random, *m_controller);
}

void MainLogic::createDetection()
{
    m_microphone = std::make_unique<MicrophoneDetector>(MicrophoneDetector::Collaborators{
        *m_controller, m_view, m_services.timers, m_view, m_view});
    m_recording = std::make_unique<RecordingControl>(RecordingControl::Collaborators{
        m_services.audio, m_services.messages, *m_recordingInput, *m_microphone, *m_playback,
        m_controller->TimTempMute(), m_switches, *this, m_services.store});
    m_mouse = std::make_unique<MouseDetector>(MouseDetector::Collaborators{
        *m_controller, m_view, m_services.timers, m_view, m_services.pointer, *m_report,
        m_switches, *this, m_services.store});
    m_keyboard = std::make_unique<KeyboardDetector>(KeyboardDetector::Collaborators{
        *m_controller, m_services.keys, m_switches, *this, m_services.store,
        [this] { return m_view.pinPromptHasFocus(); }});
    const GuardSettings guard = protection();
    applySpeakerProtection(guard);
    m_alerts = std::make_unique<RemoteAlerts>(RemoteAlerts::Collaborators{
        m_services.timers, m_services.clock, *m_report, m_services.makeAlertTransport,
        DataFolder + AlertOutboxFileName, QSysInfo::machineHostName()});
    m_alerts->apply(guard.alerts);
    m_report->onMessage([this](const QString& message) {
        if (m_alerts)
            m_alerts->reportMessage(message);
    });
    connect(m_controller.get(), &AlarmController::alarmAccepted, this,
            [this](const QString& message) { m_alerts->alarmAccepted(message); });
    m_deviceWatch =
        std::make_unique<AudioDeviceWatch>(m_services.audio, *m_report, *m_recording);
}

void MainLogic::applySpeakerProtection(const GuardSettings& settings)
{
    m_tamper.reset();
    m_speakerGuard.reset();
    if (!settings.keepSpeakersOn)
        return;
    VolumeControl* volume = m_services.audio.volumeControl();
    m_speakerGuard = std::make_unique<SpeakerGuard>(
        SpeakerGuard::Collaborators{m_services.timers, volume, *m_report, *m_taskQueue, *m_playback},
        settings.speakerVolume);
    if (volume)
        m_tamper = std::make_unique<MicrophoneTamper>(*m_controller, m_switches, *volume);
}

void MainLogic::sendTestAlert(const AlertSettings& settings, std::function<void(const QString&)> told)
{
    m_alerts->sendTest(settings, std::move(told));
}

void MainLogic::createSoundLibrary()
{
    m_soundLibrary = std::make_unique<SoundLibrary>(SoundLibrary::Collaborators{
        m_soundList, *m_soundSelection, m_services.messages, *m_playback, *m_audioDevices,
        m_services.soundFiles, *this, DataFolder, SoundsFolder});
}

void MainLogic::FormActivate()
{
    // Only the first activation starts anything; switching back to the window does not.
    if (!m_created || m_firstActivationDone)
        return;
    m_firstActivationDone = true;
    m_recording->resume();
    m_mouse->resume();
    m_keyboard->resume();
    m_simulation->resume();
    m_controller->ResumeArmedPeriod();
}

void MainLogic::FormClose()
{
    if (!m_created)
        return;
    // Nothing is written here: a program closed while armed re-arms at its next start.
    m_taskQueue->stopTimers();
    m_controller->stopAcceptanceTimers();
    m_mouse->StopMouseHook();
    m_keyboard->stop();
    m_simulation->stopTimers();
    m_controller->stopDelayTimers();
    m_microphone->stopTimers();
    m_mouse->stopTimers();
    m_tamper.reset();
    m_report->onMessage(nullptr);
    m_alerts->stop();
    if (m_speakerGuard)
        m_speakerGuard->release();
    // The detectors are stopped before anything they use goes away.
    m_recording->StopRecording();
    m_deviceWatch.reset();
    // The audio devices go last, when nothing can use them any more.
    m_audioDevices->release();
}

bool MainLogic::closeNeedsPin() const
{
    return m_created && !m_closeGranted && m_controller->armed() &&
           m_controller->pinGate().guarding();
}

void MainLogic::askPinToClose(std::function<void()> close)
{
    m_controller->pinGate().pass([this, close = std::move(close)] {
        m_closeGranted = true;
        close();
    });
}

void MainLogic::terminationRequested()
{
    if (closeNeedsPin())
        m_report->AddToReport(QStringLiteral("Alarm - Terminated while armed"));
    m_closeGranted = true;
}

GuardSettings MainLogic::protection() const
{
    return GuardSettings::read(m_services.store);
}

ProtectionVerdict MainLogic::changeProtection(const ProtectionChange& change)
{
    GuardSettings settings = protection();
    const ProtectionVerdict verdict = ApplyProtectionChange(settings, change);
    if (verdict == ProtectionVerdict::Saved) {
        settings.write(m_services.store);
        m_controller->pinGate().setPinHash(settings.pinHash);
        applySpeakerProtection(settings);
        m_alerts->apply(settings.alerts);
    }
    return verdict;
}

void MainLogic::KeyState()
{
    m_view.applyControlStates(DeriveControlStates({
        .armed = m_switches.isOn(Switch::ActActivateToggle),
        .anyDetectorOn = m_switches.isOn(Switch::ActMicDetectToggle) ||
                         m_switches.isOn(Switch::ActMouDetectToggle) ||
                         m_switches.isOn(Switch::ActSimToggle) ||
                         m_switches.isOn(Switch::ActKeyDetectToggle),
        .selectedSounds = int(m_selectedSounds.size()),
        .listed = m_soundList.count() > 0,
        .itemSelected = m_soundList.currentRow() >= 0,
    }));
}

void MainLogic::drawSwitchFromTag(Switch s)
{
    m_view.drawSwitch(s, m_switches.Tag(s));
}

void MainLogic::DrawMicDetectBtnState()
{
    drawSwitchFromTag(Switch::ActMicDetectToggle);
}

void MainLogic::DrawMouDetectBtnState()
{
    drawSwitchFromTag(Switch::ActMouDetectToggle);
}

void MainLogic::DrawSimBtnState()
{
    drawSwitchFromTag(Switch::ActSimToggle);
}

void MainLogic::DrawActivateBtnState()
{
    drawSwitchFromTag(Switch::ActActivateToggle);
}

void MainLogic::DrawKeyDetectBtnState()
{
    // A menu item, not a header button: the window's switch drawings stay the four buttons.
    m_view.showKeyboardDetection(m_switches.isOn(Switch::ActKeyDetectToggle));
}

std::uint32_t MainLogic::lampColour(Lamp lamp) const
{
    return m_view.lampColour(lamp);
}

void MainLogic::setLampColour(Lamp lamp, std::uint32_t bgr)
{
    m_view.setLampColour(lamp, bgr);
}

void MainLogic::ResetTriggerCount()
{
    m_microphone->ResetTriggerCount();
}

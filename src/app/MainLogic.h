#pragma once

#include "alarm/AlarmContext.h"
#include "alarm/Switches.h"
#include "app/SoundSettings.h"
#include "app/WebLinks.h"
#include "guard/ProtectionChange.h"
#include "sounds/SoundList.h"

#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>

class AlarmController;
class AlarmPlayback;
class AlarmSimulation;
class AlertTransport;
class RemoteAlerts;
class AudioBackend;
class AudioDevices;
class AudioDeviceWatch;
class AutostartEntry;
class Clock;
class KeyEventSource;
class KeyboardDetector;
class MicrophoneTamper;
class SpeakerGuard;
class MainView;
class MessageBoxes;
class MicrophoneDetector;
class MouseDetector;
class PointerEventSource;
class ProgramLauncher;
class RandomSource;
class RecordingControl;
class RecordingInput;
class ReportLog;
class SettingsStore;
class SoundFileDialog;
class SoundLibrary;
class SoundSelection;
class TaskQueue;
class TimerEngine;
class TunableSettings;
class TunableValues;
class UrlOpener;

/// The collaborators of the main window's logic; the program passes the real ones, tests fakes.
struct MainServices
{
    SettingsStore& store;
    const Clock& clock;
    TimerEngine& timers;
    RandomSource& random;
    MessageBoxes& messages;
    QString timeSeparator;
    /// Builds the playback of alarm sounds; it reads volume and pitch from the window's controls.
    std::function<std::unique_ptr<AlarmPlayback>(const TunableValues&)> makePlayback;
    SoundFileDialog& soundFiles;
    AudioBackend& audio;
    AutostartEntry& autostart;
    PointerEventSource& pointer;
    KeyEventSource& keys;
    UrlOpener& urls;
    ProgramLauncher& programs;
    /// Builds a way to post alerts to the owner's address.
    std::function<std::unique_ptr<AlertTransport>()> makeAlertTransport;
};

/// Everything the main window does, without its widgets: it owns every subsystem's logic, runs
/// the window's creation, first activation and teardown in their order, and derives the
/// control states. The window shows what it is told through MainView and hands the user's
/// actions to the objects here.
class MainLogic : public QObject, public AlarmView
{
    Q_OBJECT
public:
    MainLogic(const MainServices& services, MainView& view, QObject* parent = nullptr);
    ~MainLogic() override;

    /// The creation after the window's own: devices, report, switches, selection, settings,
    /// sound list, switch pictures, player loop. False when the audio devices could not start:
    /// the program must end without showing the window; nothing after the devices has run.
    bool FormCreate();
    /// Every activation of the window; only the first starts anything.
    void FormActivate();
    /// The teardown at close; it writes nothing. The audio devices go last.
    void FormClose();
    /// Closing the window while armed with a disarm PIN waits for the PIN.
    bool closeNeedsPin() const;
    /// Runs close after the right PIN; Cancel leaves the window open.
    void askPinToClose(std::function<void()> close);
    /// A termination signal ends the program whatever is set; with a PIN, an armed period's
    /// report says so first.
    void terminationRequested();

    /// The protection options as stored now.
    GuardSettings protection() const;
    /// Stores the protection dialog's change when it is allowed; a new PIN guards at once.
    ProtectionVerdict changeProtection(const ProtectionChange& change);
    /// Posts a test alert with these settings, outside the outbox; `told` hears the outcome in
    /// words, later.
    void sendTestAlert(const AlertSettings& settings, std::function<void(const QString&)> told);

    void KeyState() override;
    void DrawMicDetectBtnState() override;
    void DrawMouDetectBtnState() override;
    void DrawSimBtnState() override;
    void DrawActivateBtnState() override;
    void DrawKeyDetectBtnState() override;
    std::uint32_t lampColour(Lamp lamp) const override;
    void setLampColour(Lamp lamp, std::uint32_t bgr) override;
    void ResetTriggerCount() override;

    MessageBoxes& messages() const { return m_services.messages; }
    UrlOpener& urls() const { return m_services.urls; }
    /// Opens what a link of the window stands for.
    void openLink(WebLink link) const;
    /// Opens the system's sound settings for playback or recording.
    void openSoundSettings(SoundDevices devices) const;
    const Switches& switches() const { return m_switches; }
    const QStringList& SelectedSounds() const { return m_selectedSounds; }
    SoundList& soundList() { return m_soundList; }
    TunableSettings& tunables() { return *m_tunables; }
    RecordingInput& recordingInput() { return *m_recordingInput; }

    // Built by FormCreate.
    ReportLog& report() { return *m_report; }
    SoundSelection& soundSelection() { return *m_soundSelection; }
    SoundLibrary& soundLibrary() { return *m_soundLibrary; }
    AlarmPlayback& playback() { return *m_playback; }
    TaskQueue& taskQueue() { return *m_taskQueue; }
    AlarmController& controller() { return *m_controller; }
    AlarmSimulation& simulation() { return *m_simulation; }
    MicrophoneDetector& microphone() { return *m_microphone; }
    RecordingControl& recordingControl() { return *m_recording; }
    MouseDetector& mouse() { return *m_mouse; }
    KeyboardDetector& keyboard() { return *m_keyboard; }
    AudioDeviceWatch& deviceWatch() { return *m_deviceWatch; }

private:
    void drawSwitchFromTag(Switch s);
    void createAlarmControl();
    void createDetection();
    /// The speakers kept on and the microphone tamper trigger, as the options say.
    void applySpeakerProtection(const GuardSettings& settings);
    void createSoundLibrary();

    MainServices m_services;
    MainView& m_view;
    Switches m_switches;
    QStringList m_selectedSounds;
    SoundList m_soundList;
    std::unique_ptr<TunableSettings> m_tunables;
    std::unique_ptr<AudioDevices> m_audioDevices;
    std::unique_ptr<RecordingInput> m_recordingInput;
    std::unique_ptr<ReportLog> m_report;
    std::unique_ptr<SoundSelection> m_soundSelection;
    std::unique_ptr<AlarmPlayback> m_playback;
    std::unique_ptr<TaskQueue> m_taskQueue;
    std::unique_ptr<AlarmController> m_controller;
    std::unique_ptr<AlarmSimulation> m_simulation;
    std::unique_ptr<MicrophoneDetector> m_microphone;
    std::unique_ptr<RecordingControl> m_recording;
    std::unique_ptr<MouseDetector> m_mouse;
    std::unique_ptr<KeyboardDetector> m_keyboard;
    std::unique_ptr<SpeakerGuard> m_speakerGuard;
    std::unique_ptr<MicrophoneTamper> m_tamper;
    std::unique_ptr<RemoteAlerts> m_alerts;
    std::unique_ptr<AudioDeviceWatch> m_deviceWatch;
    std::unique_ptr<SoundLibrary> m_soundLibrary;
    bool m_created = false;
    bool m_firstActivationDone = false;
    bool m_closeGranted = false;
};

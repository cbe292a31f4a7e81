#pragma once

#include "alarm/AlarmContext.h"
#include "alarm/Switches.h"
#include "audio/OutputPause.h"
#include "settings/Tunables.h"
#include "sounds/SoundList.h"

#include <QMainWindow>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>

class AlarmController;
class AlarmPlayback;
class AlarmSimulation;
class AutostartEntry;
class AudioBackend;
class AudioDevices;
class Clock;
class MessageBoxes;
class MicRecording;
class RandomSource;
class ReportLog;
class SettingsStore;
class SoundFileDialog;
class SoundLibrary;
class SoundSelection;
class TaskQueue;
class TimerEngine;
class TunableSettings;
class QAbstractSlider;
class QFrame;
class QLabel;

/// The collaborators the main window works with; the program passes the real ones, tests fakes.
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
};

/// The main window: owns the logic objects, wires the widgets to them and holds no alarm logic
/// of its own.
class TfrmMain : public QMainWindow,
                 public TunableControls,
                 public OutputPause,
                 public AlarmView
{
    Q_OBJECT
public:
    explicit TfrmMain(const MainServices& services, QWidget* parent = nullptr);
    ~TfrmMain() override;

    int value(Tunable id) const override;
    void setValue(Tunable id, int value) override;

    const Switches& switches() const { return m_switches; }
    ReportLog& report() { return *m_report; }
    const QStringList& SelectedSounds() const { return m_selectedSounds; }
    AlarmPlayback& playback() { return *m_playback; }
    SoundLibrary& soundLibrary() { return *m_soundLibrary; }
    SoundSelection& soundSelection() { return *m_soundSelection; }

    void pauseOutput() override;
    void resumeOutput() override;
    AlarmController& controller() { return *m_controller; }
    AlarmSimulation& simulation() { return *m_simulation; }
    TaskQueue& taskQueue() { return *m_taskQueue; }

    /// A second start of the program asks the running one to come back into view.
    void restoreApp();

    /// Enables and disables the controls from the switches and the sound list.
    void KeyState() override;

    /// Each sets one switch button's hint and picture from its switch.
    void DrawMicDetectBtnState();
    void DrawMouDetectBtnState();
    void DrawSimBtnState() override;
    void DrawActivateBtnState() override;

    std::uint32_t lampColour(Lamp lamp) const override;
    void setLampColour(Lamp lamp, std::uint32_t bgr) override;
    void ResetTriggerCount() override;

    /// True when the audio devices could not start: the program must end without showing the
    /// window; nothing of the creation after the devices has run.
    bool creationFailed() const { return m_creationFailed; }
    /// Records from the selected input, when there is one, in place of any running recording.
    void StartRecording();
    /// Stops the recording and every alarm sound, and empties the level gauges.
    void StopRecording();
    /// Main thread: takes one level report of the recording.
    void CheckLevel(quint32 level);
    /// The level of the last report: the louder channel.
    unsigned MicLevel() const { return m_micLevel; }
    const MicRecording& recording() const { return *m_recording; }

signals:
    /// Every key released anywhere in the window, before the focused control sees it.
    void keyReleased(int key);
    /// The microphone detector's work starts (true) or stops (false): its switch turned over,
    /// or the window closes.
    void microphoneSwitched(bool on);
    /// The mouse detector's work starts or stops, likewise.
    void mouseSwitched(bool on);
    /// At the window's first activation, a switched-on microphone detector starts again.
    void microphoneResumed();
    /// At the window's first activation, a switched-on mouse detector starts again.
    void mouseResumed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void buildLayout();
    void buildHeader(QWidget* client);
    void buildLeftColumn(QWidget* client);
    void buildRightColumn(QWidget* client);
    void buildFooter(QWidget* client);
    void buildMenus();
    void setUpSystemVolumePanel();
    void addTunable(QWidget* panel, Tunable id, int top);
    void connectTunables();
    void mnuResetSettingToDefaultClick();
    void createSoundSelection();
    void createSoundLibrary();
    void connectSoundList();
    void createAlarmControl();
    void showSwitchesAndStartPlayerLoop();
    void drawSwitch(Switch s);
    bool turnOverDetector(Switch s);
    void ActMicDetectToggleExecute();
    void ActMouDetectToggleExecute();
    void ActViewReportExecute();
    void FormActivate();
    void FormClose();
    bool startAudioDevices();
    void chooseRecordingInput();
    void cmbRecSourceChange();
    void trkMicSensivityChange(int position);
    /// Stops the recording, then starts it again unless it still runs.
    void restartRecording();

    MainServices m_services;
    Switches m_switches;
    std::unique_ptr<ReportLog> m_report;
    QStringList m_selectedSounds;
    SoundList m_soundList;
    std::unique_ptr<SoundSelection> m_soundSelection;
    std::unique_ptr<SoundLibrary> m_soundLibrary;
    std::unique_ptr<TunableSettings> m_tunables;
    std::unique_ptr<AlarmPlayback> m_playback;
    std::map<Tunable, QWidget*> m_tunableWidgets;
    std::unique_ptr<AutostartEntry> m_autostart;
    std::unique_ptr<TaskQueue> m_taskQueue;
    std::unique_ptr<AlarmController> m_controller;
    std::unique_ptr<AlarmSimulation> m_simulation;
    bool m_firstActivationDone = false;
    std::unique_ptr<AudioDevices> m_audioDevices;
    MicRecording* m_recording = nullptr; // child of the window
    bool m_creationFailed = false;
    unsigned m_micLevel = 0;
};

#pragma once

#include "alarm/Switches.h"
#include "settings/Tunables.h"

#include <QMainWindow>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>

class AlarmPlayback;
class AudioBackend;
class AudioDevices;
class Clock;
class MessageBoxes;
class MicRecording;
class RandomSource;
class ReportLog;
class SettingsStore;
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
    AudioBackend& audio;
};

/// The main window: owns the logic objects, wires the widgets to them and holds no alarm logic
/// of its own.
class TfrmMain : public QMainWindow, public TunableControls
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

    /// A second start of the program asks the running one to come back into view.
    void restoreApp();

    /// Enables and disables the controls from the switches and the sound list.
    void KeyState();

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
    /// The microphone switch has turned over and its state is stored.
    void microphoneSwitched(bool on);
    /// The first activation found the microphone switch on.
    void microphoneResumed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
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
    std::unique_ptr<TunableSettings> m_tunables;
    std::unique_ptr<AlarmPlayback> m_playback;
    std::map<Tunable, QWidget*> m_tunableWidgets;
    std::unique_ptr<AudioDevices> m_audioDevices;
    MicRecording* m_recording = nullptr; // child of the window
    bool m_creationFailed = false;
    unsigned m_micLevel = 0;
};

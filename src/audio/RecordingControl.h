#pragma once

#include <QObject>

class AlarmPlayback;
class AudioBackend;
class LevelSink;
class MessageBoxes;
class MicRecording;
class RecordingInput;
class SettingsStore;
class Switches;
class SwitchView;
class Timer;

/// The microphone switch and the recording it runs: levels go to the microphone detector while
/// the switch is on. Main thread only.
class RecordingControl : public QObject
{
    Q_OBJECT
public:
    struct Collaborators
    {
        AudioBackend& audio;
        MessageBoxes& messages;
        const RecordingInput& input;
        LevelSink& levels;
        AlarmPlayback& playback;
        Timer& tempMute; // the controller's temporary mute, which a stop ends
        Switches& switches;
        SwitchView& view;
        SettingsStore& store;
    };
    explicit RecordingControl(const Collaborators& with, QObject* parent = nullptr);

    /// The on/off toggle of btnMicDetect; the switch's value is stored.
    void ActMicDetectToggleExecute();
    /// At the main window's first activation: a switched-on microphone records again.
    void resume();
    /// Records from the selected input, when there is one, in place of any running recording.
    void StartRecording();
    /// Stops the recording and every alarm sound, and clears what the detector counted.
    void StopRecording();
    /// What switching on does: stops the recording, then starts it again unless it still runs.
    void restartRecording();

    const MicRecording& recording() const { return *m_recording; }

private:
    Collaborators m_with;
    MicRecording* m_recording; // child
};

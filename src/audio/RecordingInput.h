#pragma once

#include <QStringList>

class AudioDevices;
class TunableControls;

/// Shows the recording inputs (cmbRecSource): the names in the engine's order and the selected one.
class RecordingInputView
{
public:
    virtual ~RecordingInputView() = default;
    virtual void showInputs(const QStringList& names, int selected) = 0;
};

/// The recording input the microphone listens through: chosen at start, switched on at the
/// device, its level following trkMicSensivity. Main thread only.
class RecordingInput
{
public:
    RecordingInput(AudioDevices& devices, RecordingInputView& view, TunableControls& controls);

    /// At start: lists the inputs, chooses one and applies it, whatever the outcome.
    void choose();
    /// Another input was chosen from the list.
    void select(int index);
    /// Switches the selected input on and every other off; trkMicSensivity takes its volume.
    void cmbRecSourceChange();
    /// trkMicSensivity moved: the selected input takes the level.
    void trkMicSensivityChange(int position);

    /// The selected input's index, -1 when none was found.
    int selected() const { return m_selected; }

private:
    AudioDevices& m_devices;
    RecordingInputView& m_view;
    TunableControls& m_controls;
    int m_selected = -1;
};

#include "RecordingInput.h"

#include "AudioDevices.h"
#include "settings/Tunables.h"

RecordingInput::RecordingInput(AudioDevices& devices, RecordingInputView& view,
                               TunableControls& controls)
    : m_devices(devices), m_view(view), m_controls(controls)
{
}

void RecordingInput::choose()
{
    const AudioDevices::InputChoice choice = m_devices.chooseInput();
    m_selected = choice.selected;
    m_view.showInputs(choice.names, choice.selected);
    cmbRecSourceChange();
}

void RecordingInput::select(int index)
{
    m_selected = index;
    cmbRecSourceChange();
}

void RecordingInput::cmbRecSourceChange()
{
    if (const std::optional<int> volume = m_devices.applyInput(m_selected))
        m_controls.setValue(Tunable::trkMicSensivity, *volume);
}

void RecordingInput::trkMicSensivityChange(int position)
{
    m_devices.setInputLevel(m_selected, position);
}

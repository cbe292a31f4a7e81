#pragma once

#include "OutputPause.h"

#include <QStringList>
#include <optional>

class AudioBackend;
class MessageBoxes;

/// Starts and releases the audio devices, chooses the recording input and holds the output.
/// Main thread only.
class AudioDevices : public OutputPause
{
public:
    AudioDevices(AudioBackend& audio, MessageBoxes& messages);

    /// Releases whatever was started, checks the library and starts the recording device, then
    /// the output device. False after the fatal message has been shown: the program must end.
    bool start();
    /// The recording device, then the output device.
    void release();

    struct InputChoice
    {
        QStringList names; // the inputs in the engine's order
        int selected = -1;
    };
    /// The last input that is on; else the first of microphone type; else the first named
    /// "Microphone". Failures are reported and leave the choice as far as it got.
    InputChoice chooseInput();

    /// Switches every input off and the selected one on. Gives the selected input's volume,
    /// held within 0..100, when it could be read; nothing when no input is selected.
    std::optional<int> applyInput(int selected);

    /// Sets the selected input's level; an input that cannot take one is left alone.
    void setInputLevel(int selected, int position);

    void pauseOutput() override;
    void resumeOutput() override;

private:
    /// Lists the inputs into the choice and applies the three rules; false when an input's
    /// state cannot be read, which ends the listing where it stands.
    bool chooseByRules(InputChoice& choice) const;
    /// The message followed by the engine's error code in parentheses.
    QString withErrorCode(const char* text) const;

    AudioBackend& m_audio;
    MessageBoxes& m_messages;
};

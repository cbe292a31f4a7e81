#pragma once

#include "InputSwitches.h"
#include "MixingBackend.h"
#include "RecordHandles.h"
#include "audio/AudioBackend.h"

#include <memory>
#include <vector>

class LevelRecorder;
typedef void PaStream;

/// The audio engine on PortAudio: the default playback device mixes the streams, the capture
/// devices are the recording inputs. Inputs are the devices PortAudio lists with capture
/// channels, in its order; at start only the system's default capture device is on. An input
/// whose name says "mic" or "microphone" is of microphone type. Input levels cannot be set.
class PortAudioBackend : public MixingBackend
{
public:
    PortAudioBackend();
    ~PortAudioBackend() override;

    std::uint32_t version() override;
    std::uint32_t requiredVersion() const override;

    bool initRecording() override;
    bool initOutput(int sampleRate) override;
    void freeRecording() override;
    void freeOutput() override;
    bool pauseOutput() override;
    bool resumeOutput() override;

    std::optional<QString> inputName(int index) const override;
    std::optional<std::uint32_t> inputFlags(int index) const override;
    bool setInput(int index, std::uint32_t setting) override;
    AudioHandle startRecording(int sampleRate, LevelCallback onLevel) override;

    bool play(AudioHandle stream) override;
    bool stop(AudioHandle channel) override;
    bool isActive(AudioHandle channel) const override;

private:
    bool outputStarted() const override { return m_output != nullptr; }
    struct Input
    {
        int device;
        QString name;
    };

    bool libraryReady();
    bool isRecording(AudioHandle channel) const;
    /// The input of that index; nothing, with the error code set, when there is none.
    const Input* input(int index) const;
    /// The input last switched on while it stays on, else the system's default capture device.
    int captureDevice() const;

    bool m_libraryReady = false;
    bool m_recordingStarted = false;
    std::vector<Input> m_inputs;
    InputSwitches m_switches;
    std::unique_ptr<LevelRecorder> m_recorder;
    AudioHandle m_recordHandle = 0;
    RecordHandles m_recordHandles;
    PaStream* m_output = nullptr;
};

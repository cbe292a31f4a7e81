#pragma once

#include "InputSwitches.h"
#include "MixingBackend.h"
#include "PulseCapture.h"
#include "PulseConnection.h"
#include "PulsePlayback.h"
#include "RecordHandles.h"
#include "audio/AudioBackend.h"
#include "audio/VolumeControl.h"

#include <chrono>
#include <memory>
#include <vector>

/// The audio engine on the desktop's sound server (PulseAudio, or PipeWire's pulse server),
/// through one connection. The inputs are the server's sources in its order, monitors
/// included; at start the default source is on, and while that input records, the recording
/// follows whatever source is the default. A level sets the source's own volume. Sounds are
/// mixed as PortAudioBackend mixes them, into a stream that exists only while one plays. When
/// the server goes away nothing plays or records (every stream stops), and the listener hears
/// of it once; when it is back, the listener hears that too.
class PulseBackend : public MixingBackend,
                     public VolumeControl,
                     private PulseConnection::StreamOwner,
                     private AudioDeviceListener
{
public:
    static constexpr std::chrono::milliseconds ConnectTimeout{2000};

    PulseBackend();
    ~PulseBackend() override;

    /// Main thread: connects to the sound server; false when none answers in time with a sink
    /// and a source.
    bool connect(std::chrono::milliseconds timeout = ConnectTimeout);
    /// Main thread: whether a playback stream is open on the server now.
    bool playbackOpen() const;

    std::uint32_t version() override;
    std::uint32_t requiredVersion() const override;
    void setDeviceListener(AudioDeviceListener* listener) override { m_listener = listener; }

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

    VolumeControl* volumeControl() override { return this; }
    void watchSpeakers(std::function<void(const VolumeState&)> onChange) override;
    void watchMicrophone(std::function<void(const VolumeState&)> onChange) override;
    void setSpeakers(const VolumeState& state) override;

private:
    bool outputStarted() const override { return m_outputStarted; }
    struct Input
    {
        PulseSource source;
        bool isDefault; // the default source when listed: recording it follows the default
    };

    // The connection's news. Loop thread, lock held:
    void connectionDropped() override;
    void defaultsChanged(const PulseServerState& state) override;
    // Main thread:
    void audioDeviceLost() override;
    void audioDeviceRestored() override;

    const Input* input(int index) const;
    bool setLevel(int index, int percent);
    bool isRecording(AudioHandle channel) const;

    std::unique_ptr<PulseConnection> m_connection;
    PulsePlayback m_playback;
    PulseCapture m_capture;
    AudioDeviceListener* m_listener = nullptr;
    bool m_recordingStarted = false;
    bool m_outputStarted = false;
    int m_outputRate = AudioBackend::SampleRate;
    std::vector<Input> m_inputs;
    InputSwitches m_switches;
    RecordHandles m_recordHandles;
    AudioHandle m_recordHandle = 0;
};

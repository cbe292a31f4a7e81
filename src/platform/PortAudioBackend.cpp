#include "PortAudioBackend.h"

#include "LevelRecorder.h"
#include "MicrophoneSources.h"

#include <algorithm>
#include <portaudio.h>

namespace {
constexpr int OutputChannels = 2;
// Room for a busy machine to be late with the next frames without a gap in the alarm; an alarm
// need not start within a few milliseconds.
constexpr double OutputLatencySeconds = 0.06;
// The oldest PortAudio this engine runs on (19.6.0).
constexpr std::uint32_t RequiredPortAudioVersion = 0x130600;
// What PortAudio reports of an input's level: it cannot read one, and applies none.
constexpr std::uint32_t UnattenuatedVolume = 100;

/// Output thread: PortAudio asks for the next frames.
int renderOutput(const void*, void* output, unsigned long frames, const PaStreamCallbackTimeInfo*,
                 PaStreamCallbackFlags, void* engine)
{
    static_cast<PlaybackEngine*>(engine)->render(static_cast<float*>(output), frames);
    return paContinue;
}
} // namespace

PortAudioBackend::PortAudioBackend() = default;

PortAudioBackend::~PortAudioBackend()
{
    freeRecording();
    freeOutput();
    if (m_libraryReady)
        Pa_Terminate();
}

bool PortAudioBackend::libraryReady()
{
    if (!m_libraryReady)
        m_libraryReady = Pa_Initialize() == paNoError;
    return m_libraryReady || m_error.fail(AudioError::LibraryUnusable);
}

std::uint32_t PortAudioBackend::requiredVersion() const
{
    return RequiredPortAudioVersion;
}

std::uint32_t PortAudioBackend::version()
{
    return libraryReady() ? std::uint32_t(Pa_GetVersion()) : 0;
}

bool PortAudioBackend::initRecording()
{
    if (!libraryReady())
        return false;
    if (m_recordingStarted)
        return true;
    const PaDeviceIndex defaultInput = Pa_GetDefaultInputDevice();
    if (defaultInput == paNoDevice)
        return m_error.fail(AudioError::NoDevice);
    m_inputs.clear();
    int defaultIndex = -1;
    for (PaDeviceIndex device = 0; device < Pa_GetDeviceCount(); ++device) {
        const PaDeviceInfo* info = Pa_GetDeviceInfo(device);
        if (!info || info->maxInputChannels < 1)
            continue;
        if (device == defaultInput)
            defaultIndex = int(m_inputs.size());
        m_inputs.push_back({device, QString::fromUtf8(info->name)});
    }
    m_switches.reset(int(m_inputs.size()), defaultIndex);
    m_recordingStarted = true;
    return true;
}

bool PortAudioBackend::initOutput(int sampleRate)
{
    if (!libraryReady())
        return false;
    if (m_output)
        return true;
    const PaDeviceIndex device = Pa_GetDefaultOutputDevice();
    if (device == paNoDevice)
        return m_error.fail(AudioError::NoDevice);
    m_streams.reset(sampleRate);
    PaStreamParameters output{};
    output.device = device;
    output.channelCount = OutputChannels;
    output.sampleFormat = paFloat32;
    output.suggestedLatency =
        std::max(OutputLatencySeconds, Pa_GetDeviceInfo(device)->defaultLowOutputLatency);
    PaStream* stream = nullptr;
    if (Pa_OpenStream(&stream, nullptr, &output, sampleRate, paFramesPerBufferUnspecified,
                      paNoFlag, renderOutput, &m_streams) != paNoError)
        return m_error.fail(AudioError::DeviceFailed);
    if (Pa_StartStream(stream) != paNoError) {
        Pa_CloseStream(stream);
        return m_error.fail(AudioError::DeviceFailed);
    }
    m_output = stream;
    return true;
}

void PortAudioBackend::freeRecording()
{
    m_recorder.reset();
    m_recordHandle = 0;
    m_inputs.clear();
    m_switches.reset(0, -1);
    m_recordingStarted = false;
}

void PortAudioBackend::freeOutput()
{
    if (!m_output)
        return;
    // Closing waits for the last callback, so the engine is no longer mixed when it resets.
    Pa_AbortStream(m_output);
    Pa_CloseStream(m_output);
    m_output = nullptr;
    m_streams.reset(AudioBackend::SampleRate);
}

bool PortAudioBackend::pauseOutput()
{
    if (!m_output)
        return m_error.fail(AudioError::NotStarted);
    return Pa_IsStreamStopped(m_output) == 1 || Pa_StopStream(m_output) == paNoError ||
           m_error.fail(AudioError::DeviceFailed);
}

bool PortAudioBackend::resumeOutput()
{
    if (!m_output)
        return m_error.fail(AudioError::NotStarted);
    return Pa_IsStreamActive(m_output) == 1 || Pa_StartStream(m_output) == paNoError ||
           m_error.fail(AudioError::DeviceFailed);
}

const PortAudioBackend::Input* PortAudioBackend::input(int index) const
{
    if (m_switches.exists(index))
        return &m_inputs[std::size_t(index)];
    m_error.fail(m_recordingStarted ? AudioError::NoDevice : AudioError::NotStarted);
    return nullptr;
}

std::optional<QString> PortAudioBackend::inputName(int index) const
{
    const Input* named = input(index);
    return named ? std::optional(named->name) : std::nullopt;
}

std::optional<std::uint32_t> PortAudioBackend::inputFlags(int index) const
{
    const Input* named = input(index);
    if (!named)
        return std::nullopt;
    return (m_switches.isOn(index) ? 0 : InputFlags::Off) |
           (NamesMicrophone(named->name) ? InputFlags::TypeMicrophone : 0) | UnattenuatedVolume;
}

bool PortAudioBackend::setInput(int index, std::uint32_t setting)
{
    if (!input(index))
        return false;
    if (InputSwitches::isLevel(setting))
        return m_error.fail(AudioError::NotAvailable);
    return m_switches.apply(index, setting, m_error);
}

int PortAudioBackend::captureDevice() const
{
    const int recording = m_switches.recording();
    return recording >= 0 ? m_inputs[std::size_t(recording)].device : Pa_GetDefaultInputDevice();
}

AudioHandle PortAudioBackend::startRecording(int sampleRate, LevelCallback onLevel)
{
    if (!m_recordingStarted) {
        m_error.fail(AudioError::NotStarted);
        return 0;
    }
    if (m_recorder && m_recorder->isRunning()) {
        m_error.fail(AudioError::Busy);
        return 0;
    }
    m_recorder.reset();
    m_recordHandle = 0;
    const AudioHandle handle = m_recordHandles.next();
    std::uint32_t error = AudioError::None;
    m_recorder = LevelRecorder::start(
        captureDevice(), sampleRate,
        [handle, onLevel = std::move(onLevel)](std::uint32_t level) { onLevel(handle, level); },
        error);
    if (!m_recorder) {
        m_error.fail(error);
        return 0;
    }
    m_recordHandle = handle;
    return handle;
}

bool PortAudioBackend::isRecording(AudioHandle channel) const
{
    return channel != 0 && channel == m_recordHandle;
}

bool PortAudioBackend::play(AudioHandle stream)
{
    return fromStreams(m_streams.play(stream));
}

bool PortAudioBackend::stop(AudioHandle channel)
{
    if (!isRecording(channel))
        return fromStreams(m_streams.stop(channel));
    m_recorder.reset();
    m_recordHandle = 0;
    return true;
}

bool PortAudioBackend::isActive(AudioHandle channel) const
{
    if (isRecording(channel))
        return m_recorder && m_recorder->isRunning();
    return m_streams.isActive(channel);
}

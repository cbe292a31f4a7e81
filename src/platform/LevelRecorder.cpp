#include "LevelRecorder.h"

#include "audio/AudioBackend.h"

#include <portaudio.h>

#include <algorithm>

namespace {
// Short reads keep a stop quick: the thread looks at its stop flag every 10 ms.
constexpr int ReadsPerBlock = 10;
constexpr int BlocksPerSecond = 10;
} // namespace

std::unique_ptr<LevelRecorder> LevelRecorder::start(int device, int sampleRate, Report report,
                                                    std::uint32_t& error)
{
    const PaDeviceInfo* info = Pa_GetDeviceInfo(device);
    if (!info || info->maxInputChannels < 1) {
        error = AudioError::NoDevice;
        return nullptr;
    }
    PaStreamParameters input{};
    input.device = device;
    input.channelCount = std::min(info->maxInputChannels, 2);
    input.sampleFormat = paFloat32;
    input.suggestedLatency = info->defaultLowInputLatency;
    PaStream* stream = nullptr;
    if (Pa_OpenStream(&stream, &input, nullptr, sampleRate,
                      unsigned(sampleRate / (BlocksPerSecond * ReadsPerBlock)), paNoFlag, nullptr,
                      nullptr) != paNoError) {
        error = AudioError::DeviceFailed;
        return nullptr;
    }
    if (Pa_StartStream(stream) != paNoError) {
        Pa_CloseStream(stream);
        error = AudioError::DeviceFailed;
        return nullptr;
    }
    std::unique_ptr<LevelRecorder> recorder(
        new LevelRecorder(stream, input.channelCount, sampleRate, std::move(report)));
    recorder->m_thread = std::thread([r = recorder.get()] { r->run(); });
    return recorder;
}

LevelRecorder::LevelRecorder(PaStream* stream, int channels, int sampleRate, Report report)
    : m_stream(stream), m_channels(channels),
      m_meter(channels, std::size_t(sampleRate / BlocksPerSecond)), m_report(std::move(report)),
      m_buffer(std::size_t(sampleRate / (BlocksPerSecond * ReadsPerBlock) * channels))
{
}

LevelRecorder::~LevelRecorder()
{
    m_stopRequested.store(true);
    if (m_thread.joinable())
        m_thread.join();
    Pa_AbortStream(m_stream);
    Pa_CloseStream(m_stream);
}

void LevelRecorder::run()
{
    const std::size_t frames = m_buffer.size() / std::size_t(m_channels);
    while (!m_stopRequested.load()) {
        const PaError result = Pa_ReadStream(m_stream, m_buffer.data(), frames);
        // An overflow only means some samples were lost; anything else ends the recording.
        if (result != paNoError && result != paInputOverflowed) {
            m_running.store(false);
            return;
        }
        m_meter.feed(m_buffer.data(), frames, m_report);
    }
}

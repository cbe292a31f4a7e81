#include "LevelRecorder.h"

#include "audio/AudioBackend.h"

#include <portaudio.h>
#include <pthread.h>

namespace {
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
    input.suggestedLatency = info->defaultHighInputLatency;
    std::unique_ptr<LevelRecorder> recorder(
        new LevelRecorder(input.channelCount, sampleRate, std::move(report)));
    if (Pa_OpenStream(&recorder->m_stream, &input, nullptr, sampleRate,
                      paFramesPerBufferUnspecified, paNoFlag, capture,
                      recorder.get()) != paNoError) {
        recorder->m_stream = nullptr;
        error = AudioError::DeviceFailed;
        return nullptr;
    }
    recorder->m_thread = std::thread([r = recorder.get()] { r->run(); });
    if (Pa_StartStream(recorder->m_stream) != paNoError) {
        error = AudioError::DeviceFailed;
        return nullptr;
    }
    return recorder;
}

LevelRecorder::LevelRecorder(int channels, int sampleRate, Report report)
    : m_meter(channels, std::size_t(sampleRate / BlocksPerSecond)), m_report(std::move(report))
{
}

LevelRecorder::~LevelRecorder()
{
    if (m_stream) {
        // Closing waits for the last callback: nothing is queued after this.
        Pa_AbortStream(m_stream);
        Pa_CloseStream(m_stream);
    }
    m_stopRequested.store(true);
    m_waiting.release();
    if (m_thread.joinable())
        m_thread.join();
}

bool LevelRecorder::isRunning() const
{
    return Pa_IsStreamActive(m_stream) == 1;
}

int LevelRecorder::capture(const void* input, void*, unsigned long frames,
                           const PaStreamCallbackTimeInfo*, unsigned long, void* self)
{
    auto* recorder = static_cast<LevelRecorder*>(self);
    if (input) {
        recorder->m_meter.feed(static_cast<const float*>(input), frames,
                               [recorder](std::uint32_t level) { recorder->queue(level); });
    }
    return paContinue;
}

void LevelRecorder::queue(std::uint32_t level)
{
    const std::size_t queued = m_queued.load(std::memory_order_relaxed);
    if (queued - m_taken.load(std::memory_order_acquire) == QueueSize)
        return;
    m_levels[queued % QueueSize] = level;
    m_queued.store(queued + 1, std::memory_order_release);
    m_waiting.release();
}

void LevelRecorder::run()
{
    pthread_setname_np(pthread_self(), "ostrel-record");
    for (;;) {
        m_waiting.acquire();
        if (m_stopRequested.load())
            return;
        const std::size_t taken = m_taken.load(std::memory_order_relaxed);
        if (taken == m_queued.load(std::memory_order_acquire))
            continue;
        const std::uint32_t level = m_levels[taken % QueueSize];
        m_taken.store(taken + 1, std::memory_order_release);
        m_report(level);
    }
}

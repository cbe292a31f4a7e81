#pragma once

#include "LevelMeter.h"

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

typedef void PaStream;

/// A capture stream read on a thread of its own, which reports one level word per 100 ms block.
class LevelRecorder
{
public:
    using Report = std::function<void(std::uint32_t level)>;

    /// Main thread: opens and starts the capture from the PortAudio device; nothing, with the
    /// error code set, when it cannot.
    static std::unique_ptr<LevelRecorder> start(int device, int sampleRate, Report report,
                                                std::uint32_t& error);
    /// Main thread: stops the capture and waits for the recording thread to end.
    ~LevelRecorder();

    /// Main thread: false once the capture has failed for good.
    bool isRunning() const { return m_running.load(); }

private:
    LevelRecorder(PaStream* stream, int channels, int sampleRate, Report report);
    /// Recording thread.
    void run();

    PaStream* m_stream;
    int m_channels;
    LevelMeter m_meter;
    Report m_report;
    std::vector<float> m_buffer;
    std::atomic<bool> m_stopRequested{false};
    std::atomic<bool> m_running{true};
    std::thread m_thread;
};

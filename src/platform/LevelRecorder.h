#pragma once

#include "LevelMeter.h"

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <semaphore>
#include <thread>

typedef void PaStream;
struct PaStreamCallbackTimeInfo;

/// A capture stream whose blocks of 100 ms become level words. PortAudio's capture callback
/// only measures and queues them, without locks or allocation; the recording thread of our
/// own hands each one on, in order.
class LevelRecorder
{
public:
    using Report = std::function<void(std::uint32_t level)>;

    /// Main thread: opens and starts the capture from the PortAudio device; nothing, with the
    /// error code set, when it cannot.
    static std::unique_ptr<LevelRecorder> start(int device, int sampleRate, Report report,
                                                std::uint32_t& error);
    /// Main thread: stops the capture and waits for the recording thread to end; levels not
    /// yet handed on are dropped.
    ~LevelRecorder();

    /// Main thread: false once the capture has ended by itself (the device went away).
    bool isRunning() const;

private:
    LevelRecorder(int channels, int sampleRate, Report report);
    /// Capture callback thread.
    static int capture(const void* input, void* output, unsigned long frames,
                       const PaStreamCallbackTimeInfo* time, unsigned long flags, void* self);
    /// Capture callback thread: queues a level; a full queue drops it.
    void queue(std::uint32_t level);
    /// Recording thread.
    void run();

    PaStream* m_stream = nullptr;
    LevelMeter m_meter; // capture callback thread only
    Report m_report;     // recording thread only

    // Single producer (capture callback), single consumer (recording thread).
    static constexpr std::size_t QueueSize = 64;
    std::array<std::uint32_t, QueueSize> m_levels{};
    std::atomic<std::size_t> m_queued{0};
    std::atomic<std::size_t> m_taken{0};
    std::counting_semaphore<> m_waiting{0};
    std::atomic<bool> m_stopRequested{false};
    std::thread m_thread;
};

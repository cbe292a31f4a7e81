#pragma once

#include <atomic>
#include <cstddef>
#include <memory>

/// A fixed ring of stereo float frames between one writing thread and one reading thread,
/// without locks: each side moves only its own counter.
class FrameRing
{
public:
    /// Holds at least capacityFrames frames.
    explicit FrameRing(std::size_t capacityFrames);

    /// Writer thread.
    std::size_t writable() const;
    /// Writer thread: appends up to count frames, gives how many it took.
    std::size_t write(const float* frames, std::size_t count);

    /// Reader thread: adds up to count frames into out, left and right scaled by their gains,
    /// and gives how many it took.
    std::size_t readAdd(float* out, std::size_t count, float leftGain, float rightGain);

    std::size_t capacity() const { return m_mask + 1; }

private:
    std::unique_ptr<float[]> m_samples;
    std::size_t m_mask;
    std::atomic<std::size_t> m_written{0}; // frames ever written; only the writer stores it
    std::atomic<std::size_t> m_read{0};    // frames ever read; only the reader stores it
};

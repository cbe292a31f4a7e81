#include "FrameRing.h"

#include <algorithm>
#include <bit>

FrameRing::FrameRing(std::size_t capacityFrames)
    : m_samples(new float[2 * std::bit_ceil(std::max<std::size_t>(capacityFrames, 2))]),
      m_mask(std::bit_ceil(std::max<std::size_t>(capacityFrames, 2)) - 1)
{
}

std::size_t FrameRing::writable() const
{
    return capacity() - (m_written.load(std::memory_order_relaxed) -
                         m_read.load(std::memory_order_acquire));
}

std::size_t FrameRing::write(const float* frames, std::size_t count)
{
    const std::size_t written = m_written.load(std::memory_order_relaxed);
    count = std::min(count, writable());
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = 2 * ((written + i) & m_mask);
        m_samples[at] = frames[2 * i];
        m_samples[at + 1] = frames[2 * i + 1];
    }
    m_written.store(written + count, std::memory_order_release);
    return count;
}

std::size_t FrameRing::readAdd(float* out, std::size_t count, float leftGain, float rightGain)
{
    const std::size_t read = m_read.load(std::memory_order_relaxed);
    count = std::min(count, m_written.load(std::memory_order_acquire) - read);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = 2 * ((read + i) & m_mask);
        out[2 * i] += m_samples[at] * leftGain;
        out[2 * i + 1] += m_samples[at + 1] * rightGain;
    }
    m_read.store(read + count, std::memory_order_release);
    return count;
}

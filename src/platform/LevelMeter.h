#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

/// Turns recorded samples into level words, one per block: each channel's block peak on a dBFS
/// scale, 0 dBFS -> 100 and -60 dBFS -> 0, linear in between and held within 0..100; exact
/// silence -> 0. Left in the low 16 bits, right in the high 16 bits.
class LevelMeter
{
public:
    /// channels 1 (the one channel stands for both sides) or more (the first two are used).
    LevelMeter(int channels, std::size_t blockFrames);

    /// Feeds interleaved frames and calls report(level word) once for every block they
    /// complete. Allocates nothing, so the capture callback may feed it.
    template <typename Report> void feed(const float* samples, std::size_t frames, Report&& report)
    {
        const std::size_t rightOffset = m_channels > 1 ? 1 : 0;
        for (std::size_t f = 0; f < frames; ++f) {
            const float* frame = samples + f * std::size_t(m_channels);
            m_leftPeak = std::max(m_leftPeak, std::fabs(frame[0]));
            m_rightPeak = std::max(m_rightPeak, std::fabs(frame[rightOffset]));
            if (++m_framesInBlock == m_blockFrames) {
                report(levelWord(m_leftPeak, m_rightPeak));
                m_framesInBlock = 0;
                m_leftPeak = m_rightPeak = 0;
            }
        }
    }

    static int levelOf(float peak);
    static std::uint32_t levelWord(float leftPeak, float rightPeak);

private:
    int m_channels;
    std::size_t m_blockFrames;
    std::size_t m_framesInBlock = 0;
    float m_leftPeak = 0;
    float m_rightPeak = 0;
};

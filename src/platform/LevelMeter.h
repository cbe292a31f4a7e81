#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

/// Turns recorded samples into level words, one per block: each channel's block peak on a dBFS
/// scale, 0 dBFS -> 100 and -60 dBFS -> 0, linear in between and held within 0..100; exact
/// silence -> 0. Left in the low 16 bits, right in the high 16 bits.
class LevelMeter
{
public:
    /// channels 1 (the one channel stands for both sides) or more (the first two are used).
    LevelMeter(int channels, std::size_t blockFrames);

    /// Feeds interleaved frames and calls report once for every block they complete.
    void feed(const float* samples, std::size_t frames,
              const std::function<void(std::uint32_t)>& report);

    static int levelOf(float peak);
    static std::uint32_t levelWord(float leftPeak, float rightPeak);

private:
    int m_channels;
    std::size_t m_blockFrames;
    std::size_t m_framesInBlock = 0;
    float m_leftPeak = 0;
    float m_rightPeak = 0;
};

#include "LevelMeter.h"

#include <algorithm>
#include <cmath>

LevelMeter::LevelMeter(int channels, std::size_t blockFrames)
    : m_channels(std::max(channels, 1)), m_blockFrames(std::max<std::size_t>(blockFrames, 1))
{
}

int LevelMeter::levelOf(float peak)
{
    if (!(peak > 0.0f))
        return 0;
    const double decibels = 20.0 * std::log10(double(peak));
    return int(std::clamp(std::lround(100.0 + decibels * 100.0 / 60.0), 0L, 100L));
}

std::uint32_t LevelMeter::levelWord(float leftPeak, float rightPeak)
{
    return std::uint32_t(levelOf(leftPeak)) | std::uint32_t(levelOf(rightPeak)) << 16;
}

void LevelMeter::feed(const float* samples, std::size_t frames,
                      const std::function<void(std::uint32_t)>& report)
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

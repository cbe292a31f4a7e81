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

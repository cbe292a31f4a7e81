#pragma once

// Tone files for the audio tests, and the measurements the tests take of what was played.
#include <QString>
#include <cmath>
#include <numbers>
#include <sndfile.h>
#include <vector>

struct ToneSpec
{
    int rate = 44100;
    double seconds = 0.5;
    double leftHz = 1000;
    double rightHz = 1000; // 0: silent; ignored for a mono file
    double amplitude = 0.5;
    int channels = 1;
};

/// Writes a 16-bit .wav file of sine tones; false when it cannot.
inline bool writeTone(const QString& path, const ToneSpec& tone)
{
    SF_INFO info{};
    info.samplerate = tone.rate;
    info.channels = tone.channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.toLocal8Bit().constData(), SFM_WRITE, &info);
    if (!file)
        return false;
    const auto frames = sf_count_t(tone.seconds * tone.rate);
    std::vector<float> samples(std::size_t(frames) * std::size_t(tone.channels));
    for (sf_count_t i = 0; i < frames; ++i) {
        const double t = double(i) / tone.rate;
        const double hz[2] = {tone.leftHz, tone.rightHz};
        for (int c = 0; c < tone.channels; ++c)
            samples[std::size_t(i * tone.channels + c)] =
                hz[c] > 0 ? float(tone.amplitude * std::sin(2 * std::numbers::pi * hz[c] * t)) : 0;
    }
    const bool written = sf_writef_float(file, samples.data(), frames) == frames;
    sf_close(file);
    return written;
}

/// The largest sample of a sound file as decoded; -1 when it cannot be read.
inline float filePeak(const QString& path)
{
    SF_INFO info{};
    SNDFILE* file = sf_open(path.toLocal8Bit().constData(), SFM_READ, &info);
    if (!file)
        return -1;
    std::vector<float> block(4096 * std::size_t(info.channels));
    float p = 0;
    for (sf_count_t got; (got = sf_readf_float(file, block.data(), 4096)) > 0;) {
        for (sf_count_t i = 0; i < got * info.channels; ++i)
            p = std::max(p, std::fabs(block[std::size_t(i)]));
    }
    sf_close(file);
    return p;
}

/// One channel of interleaved stereo.
inline std::vector<float> channel(const std::vector<float>& stereo, int which)
{
    std::vector<float> out(stereo.size() / 2);
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = stereo[2 * i + std::size_t(which)];
    return out;
}

inline float peak(const std::vector<float>& samples, std::size_t from = 0,
                  std::size_t to = SIZE_MAX)
{
    float p = 0;
    for (std::size_t i = from; i < std::min(to, samples.size()); ++i)
        p = std::max(p, std::fabs(samples[i]));
    return p;
}

/// The frequency of a tone from its rising zero crossings, interpolated between samples.
inline double zeroCrossingHz(const std::vector<float>& samples, int rate)
{
    double first = -1, last = -1;
    int crossings = 0;
    for (std::size_t i = 1; i < samples.size(); ++i) {
        if (samples[i - 1] < 0 && samples[i] >= 0) {
            const double at = double(i - 1) + samples[i - 1] / (samples[i - 1] - samples[i]);
            if (first < 0)
                first = at;
            last = at;
            ++crossings;
        }
    }
    return crossings < 2 ? 0 : (crossings - 1) * double(rate) / (last - first);
}

/// The amplitude of the sine of frequency hz in the samples (one Goertzel bin).
inline double amplitudeAt(const std::vector<float>& samples, int rate, double hz,
                          std::size_t from = 0, std::size_t to = SIZE_MAX)
{
    to = std::min(to, samples.size());
    const double w = 2 * std::numbers::pi * hz / rate;
    double re = 0, im = 0;
    for (std::size_t i = from; i < to; ++i) {
        re += samples[i] * std::cos(w * double(i));
        im -= samples[i] * std::sin(w * double(i));
    }
    return 2 * std::hypot(re, im) / double(to - from);
}

/// The part of the samples from the first to the last sample above the threshold.
inline std::vector<float> audible(const std::vector<float>& samples, float threshold = 0.01f)
{
    std::size_t from = 0, to = samples.size();
    while (from < to && std::fabs(samples[from]) < threshold)
        ++from;
    while (to > from && std::fabs(samples[to - 1]) < threshold)
        --to;
    return {samples.begin() + std::ptrdiff_t(from), samples.begin() + std::ptrdiff_t(to)};
}

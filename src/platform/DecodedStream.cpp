#include "DecodedStream.h"

#include "audio/AudioBackend.h"

#include <QFile>
#include <samplerate.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>

namespace {
constexpr std::size_t BlockFrames = 2048;
// One second of sound at the device rate runs ahead of the speakers.
constexpr double AheadSeconds = 1.0;
// More than an output's first request (a new sound server stream asks for 60 ms at once).
constexpr double StartSeconds = 0.1;

/// The rate a file's samples are played at: its own rate, or whatever setPlayback asked for,
/// held within what a channel can play, so that no header can stretch a block past its buffer.
int playable(int frequency)
{
    return std::clamp(frequency, ChannelAttributes::LowestFrequency,
                      ChannelAttributes::HighestFrequency);
}
} // namespace

std::unique_ptr<DecodedStream> DecodedStream::open(const QString& path, int deviceRate)
{
    SF_INFO info{};
    SNDFILE* file = sf_open(QFile::encodeName(path).constData(), SFM_READ, &info);
    if (!file)
        return nullptr;
    if (info.samplerate <= 0 || info.channels <= 0) {
        sf_close(file);
        return nullptr;
    }
    std::unique_ptr<DecodedStream> stream(
        new DecodedStream(file, info.samplerate, info.channels, deviceRate));
    int error = 0;
    stream->m_resampler = src_new(SRC_SINC_FASTEST, 2, &error);
    if (!stream->m_resampler)
        return nullptr;
    // A file that opens but yields no sound at all is as good as undecodable.
    stream->readBlock();
    if (stream->m_inputFrames == 0)
        return nullptr;
    return stream;
}

DecodedStream::DecodedStream(SNDFILE* file, int fileRate, int channels, int deviceRate)
    : m_file(file), m_fileRate(fileRate), m_channels(channels), m_deviceRate(deviceRate),
      m_frequency(playable(fileRate)), m_raw(BlockFrames * std::size_t(channels)),
      m_output(2 * BlockFrames),
      m_ring(std::size_t(AheadSeconds * deviceRate))
{
    // The resampler stretches at most 256 times; slower rates first repeat each frame.
    const int maxRepeat = int(std::ceil(deviceRate / (256.0 * ChannelAttributes::LowestFrequency)));
    m_input.resize(2 * BlockFrames * std::size_t(std::max(maxRepeat, 1)));
}

DecodedStream::~DecodedStream()
{
    if (m_resampler)
        src_delete(m_resampler);
    sf_close(m_file);
}

void DecodedStream::setPlayback(int frequency, float leftGain, float rightGain)
{
    m_frequency.store(playable(frequency));
    m_leftGain.store(leftGain);
    m_rightGain.store(rightGain);
}

int DecodedStream::repeatFor(int frequency) const
{
    return std::max(1, int(std::ceil(m_deviceRate / (256.0 * frequency))));
}

void DecodedStream::readBlock()
{
    // The frame count of a compressed file is only an estimate: read until a read gives 0.
    const sf_count_t got = sf_readf_float(m_file, m_raw.data(), BlockFrames);
    m_rawFrames = got > 0 ? std::size_t(got) : 0;
    m_fileEnded = m_rawFrames == 0;
    expandBlock(repeatFor(m_frequency.load()));
}

void DecodedStream::expandBlock(int repeat)
{
    m_blockRepeat = repeat;
    m_inputUsed = 0;
    m_inputFrames = 0;
    for (std::size_t f = 0; f < m_rawFrames; ++f) {
        const float* frame = &m_raw[f * std::size_t(m_channels)];
        // Mono plays on both sides; beyond two channels only the front pair is heard.
        const float left = frame[0];
        const float right = m_channels > 1 ? frame[1] : frame[0];
        for (int r = 0; r < repeat; ++r) {
            m_input[2 * m_inputFrames] = left;
            m_input[2 * m_inputFrames + 1] = right;
            ++m_inputFrames;
        }
    }
}

bool DecodedStream::decodeAhead()
{
    return decodeUntil(m_ring.capacity());
}

void DecodedStream::decodeStart()
{
    decodeUntil(std::size_t(StartSeconds * m_deviceRate));
}

bool DecodedStream::decodeUntil(std::size_t frames)
{
    while (!m_decodeEnded.load(std::memory_order_relaxed)) {
        const std::size_t room = std::min(m_ring.writable(), BlockFrames);
        if (room == 0 || m_ring.capacity() - m_ring.writable() >= frames)
            return true;
        const int frequency = m_frequency.load();
        if (m_inputUsed == m_inputFrames && !m_fileEnded)
            readBlock();
        else if (m_inputUsed == 0 && repeatFor(frequency) != m_blockRepeat)
            expandBlock(repeatFor(frequency)); // the rate changed before the block was begun
        SRC_DATA data{};
        data.data_in = m_input.data() + 2 * m_inputUsed;
        data.input_frames = long(m_inputFrames - m_inputUsed);
        data.data_out = m_output.data();
        data.output_frames = long(room);
        data.src_ratio = double(m_deviceRate) / (double(frequency) * m_blockRepeat);
        data.end_of_input = m_fileEnded ? 1 : 0;
        if (src_process(m_resampler, &data) != 0) {
            m_decodeEnded.store(true, std::memory_order_release);
            break;
        }
        m_inputUsed += std::size_t(data.input_frames_used);
        m_ring.write(m_output.data(), std::size_t(data.output_frames_gen));
        if (m_fileEnded && data.output_frames_gen == 0)
            m_decodeEnded.store(true, std::memory_order_release);
    }
    return false;
}

bool DecodedStream::mixInto(float* out, std::size_t frames)
{
    // Read "ended" first: once decoding has ended, everything it made is already in the ring.
    const bool complete = m_decodeEnded.load(std::memory_order_acquire);
    const std::size_t mixed = m_ring.readAdd(out, frames, m_leftGain.load(std::memory_order_relaxed),
                                             m_rightGain.load(std::memory_order_relaxed));
    return !(complete && mixed < frames);
}

#pragma once

#include "FrameRing.h"

#include <QString>
#include <atomic>
#include <memory>
#include <vector>

struct sf_private_tag;
struct SRC_STATE_tag;

/// One sound file on its way to the speakers: decoded and resampled ahead of time into a small
/// ring, so its length costs no memory. The main thread sets its attributes and state, the
/// decoder thread fills the ring, the output thread drains it.
class DecodedStream
{
public:
    enum State { Idle, Playing, Stopped, Ended };

    /// Main thread: nothing when the file cannot be opened or decoded.
    static std::unique_ptr<DecodedStream> open(const QString& path, int deviceRate);
    ~DecodedStream();
    DecodedStream(const DecodedStream&) = delete;
    DecodedStream& operator=(const DecodedStream&) = delete;

    /// The file's own sampling rate.
    int fileRate() const { return m_fileRate; }

    /// Main thread: the rate the file's samples are played at, and the two channels' gains.
    void setPlayback(int frequency, float leftGain, float rightGain);

    /// Main thread sets Playing and Stopped; the output thread sets Ended.
    std::atomic<int> state{Idle};

    /// Decoder thread: decodes until the ring is full or the file has ended; true while there
    /// is more to decode.
    bool decodeAhead();
    /// Main thread, before the stream first plays (the decoder thread has not seen it yet):
    /// decodes its first moments, so that an output that starts with it has them at once.
    void decodeStart();
    /// Any thread: the whole file is decoded (though perhaps not yet played).
    bool decodeFinished() const { return m_decodeEnded.load(std::memory_order_acquire); }

    /// Output thread: adds the next frames into out; false once the sound has ended.
    bool mixInto(float* out, std::size_t frames);

private:
    DecodedStream(sf_private_tag* file, int fileRate, int channels, int deviceRate);
    /// Decoder thread: reads the next block of the file and expands it for the resampler.
    void readBlock();
    /// Decoder thread: the block as stereo, each frame held `repeat` times.
    void expandBlock(int repeat);
    /// Decodes until the ring holds `frames` or the file has ended; true while there is more.
    bool decodeUntil(std::size_t frames);
    /// How often each frame is repeated so that the resampler's stretch stays within its range.
    int repeatFor(int frequency) const;

    sf_private_tag* m_file;
    SRC_STATE_tag* m_resampler = nullptr;
    const int m_fileRate;
    const int m_channels;
    const int m_deviceRate;
    std::atomic<int> m_frequency;
    std::atomic<float> m_leftGain{1.0f};
    std::atomic<float> m_rightGain{1.0f};

    // Decoder thread only.
    std::vector<float> m_raw;    // one block as the file holds it
    std::vector<float> m_input;  // the block as stereo, each frame held `repeat` times
    std::vector<float> m_output; // resampled frames on their way into the ring
    std::size_t m_rawFrames = 0;
    int m_blockRepeat = 1;
    std::size_t m_inputFrames = 0;
    std::size_t m_inputUsed = 0;
    bool m_fileEnded = false;

    std::atomic<bool> m_decodeEnded{false};
    FrameRing m_ring;
};

#pragma once

#include "audio/AudioBackend.h"
#include "audio/LastAudioError.h"

#include <array>
#include <atomic>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class DecodedStream;

/// The streams and their mixer, without a device: the output callback (or an offline caller)
/// pulls mixed frames with render(). Streams reach the mixer through atomic voice pointers, so
/// the mixer never waits for the main thread, and a freed stream is only destroyed once the
/// mixer can no longer be reading it.
class PlaybackEngine : public AudioStreams
{
public:
    static constexpr std::size_t MaxVoices = 16;

    /// With background decoding a thread of its own keeps every playing stream decoded ahead;
    /// without, the caller runs decodeAhead() itself (offline rendering).
    explicit PlaybackEngine(int deviceRate, bool backgroundDecoding = true);
    ~PlaybackEngine() override;

    std::uint32_t errorCode() const override { return m_error.code(); }
    AudioHandle createFileStream(const QString& path) override;
    void freeStream(AudioHandle stream) override;
    bool play(AudioHandle stream) override;
    std::optional<ChannelAttributes> attributes(AudioHandle channel) const override;
    bool setAttributes(AudioHandle channel, const ChannelAttributes& attributes) override;
    bool stop(AudioHandle channel) override;
    bool isActive(AudioHandle channel) const override;

    /// Main thread: frees every stream. Streams opened afterwards decode for deviceRate.
    void reset(int deviceRate);
    /// Main thread: stops every stream that plays, as when the output is gone.
    void stopAll();
    /// Any thread: whether any stream is on a voice, that is, mixed into the output.
    bool hasVoices() const;

    /// Output thread: writes `frames` mixed stereo frames, held within -1..1, to out. Never
    /// allocates, locks or logs.
    void render(float* out, std::size_t frames);

    /// Decoder thread (or the offline caller): decodes every playing stream as far ahead as its
    /// ring allows; true while any stream has more to decode.
    bool decodeAhead();

private:
    struct Channel
    {
        std::shared_ptr<DecodedStream> stream;
        ChannelAttributes attributes;
    };
    struct Retired
    {
        std::shared_ptr<DecodedStream> stream;
        std::uint64_t renderedAtRetirement;
    };

    Channel* find(AudioHandle handle);
    const Channel* find(AudioHandle handle) const;
    /// Main thread: takes the stream off its voice, if it has one.
    void leaveVoice(DecodedStream* stream);
    /// Main thread: keeps the stream alive until the mixer can no longer be reading it.
    void retire(std::shared_ptr<DecodedStream> stream);
    void collectRetired();
    void decoderLoop();

    int m_deviceRate;
    LastAudioError m_error;
    AudioHandle m_lastHandle = 0;
    std::map<AudioHandle, Channel> m_channels; // main thread only
    std::vector<Retired> m_retired;            // main thread only

    std::array<std::atomic<DecodedStream*>, MaxVoices> m_voices{};
    std::atomic<bool> m_rendering{false};
    std::atomic<std::uint64_t> m_rendered{0};

    std::mutex m_decodeMutex; // between the main and the decoder thread, never the mixer
    std::condition_variable m_decodeWake;
    std::vector<std::shared_ptr<DecodedStream>> m_decoding;
    bool m_quit = false;
    std::thread m_decoder;
};

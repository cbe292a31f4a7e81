#pragma once

#include "PlaybackEngine.h"
#include "audio/AudioBackend.h"
#include "audio/LastAudioError.h"

/// What every engine of ours shares: sounds decoded and mixed by one PlaybackEngine, whose
/// failures count as the engine's own, and the code of the last failure.
class MixingBackend : public AudioBackend
{
public:
    std::uint32_t errorCode() const override { return m_error.code(); }

    AudioHandle createFileStream(const QString& path) override;
    void freeStream(AudioHandle stream) override;
    std::optional<ChannelAttributes> attributes(AudioHandle channel) const override;
    bool setAttributes(AudioHandle channel, const ChannelAttributes& attributes) override;

protected:
    MixingBackend() : m_streams(AudioBackend::SampleRate) {}

    /// Whether output has started: sounds are made only then.
    virtual bool outputStarted() const = 0;
    /// Carries the stream engine's failure over as ours.
    bool fromStreams(bool succeeded) const;

    LastAudioError m_error;
    PlaybackEngine m_streams;
};

#include "PlaybackEngine.h"

#include "DecodedStream.h"

#include <algorithm>
#include <chrono>
#include <pthread.h>

namespace {
// Streams handles count up from 1 in the low half; recordings use the high half.
constexpr AudioHandle LastStreamHandle = 0x7FFFFFFF;
// How often the decoder looks at its streams while any plays: well within their 1 s rings.
constexpr auto DecodePeriod = std::chrono::milliseconds(20);

float gain(int volume, int pan, bool left)
{
    const int towardOther = left ? pan : -pan;
    const float balance = towardOther > 0 ? float(100 - towardOther) / 100.0f : 1.0f;
    return float(volume) / 100.0f * balance;
}
} // namespace

PlaybackEngine::PlaybackEngine(int deviceRate, bool backgroundDecoding) : m_deviceRate(deviceRate)
{
    if (backgroundDecoding)
        m_decoder = std::thread([this] { decoderLoop(); });
}

PlaybackEngine::~PlaybackEngine()
{
    if (m_decoder.joinable()) {
        {
            std::lock_guard lock(m_decodeMutex);
            m_quit = true;
        }
        m_decodeWake.notify_all();
        m_decoder.join();
    }
}

PlaybackEngine::Channel* PlaybackEngine::find(AudioHandle handle)
{
    const auto it = m_channels.find(handle);
    return it == m_channels.end() ? nullptr : &it->second;
}

const PlaybackEngine::Channel* PlaybackEngine::find(AudioHandle handle) const
{
    const auto it = m_channels.find(handle);
    return it == m_channels.end() ? nullptr : &it->second;
}

AudioHandle PlaybackEngine::createFileStream(const QString& path)
{
    collectRetired();
    std::shared_ptr<DecodedStream> stream = DecodedStream::open(path, m_deviceRate);
    if (!stream) {
        m_error.fail(AudioError::FileOpen);
        return 0;
    }
    m_lastHandle = m_lastHandle == LastStreamHandle ? 1 : m_lastHandle + 1;
    const int rate = stream->fileRate();
    m_channels[m_lastHandle] = Channel{std::move(stream), ChannelAttributes{rate, 100, 0}};
    return m_lastHandle;
}

void PlaybackEngine::freeStream(AudioHandle handle)
{
    const auto it = m_channels.find(handle);
    if (it == m_channels.end())
        return;
    std::shared_ptr<DecodedStream> stream = std::move(it->second.stream);
    m_channels.erase(it);
    stream->state.store(DecodedStream::Stopped);
    leaveVoice(stream.get());
    {
        std::lock_guard lock(m_decodeMutex);
        std::erase(m_decoding, stream);
    }
    retire(std::move(stream));
}

bool PlaybackEngine::play(AudioHandle handle)
{
    collectRetired();
    Channel* channel = find(handle);
    if (!channel)
        return m_error.fail(AudioError::BadHandle);
    DecodedStream* stream = channel->stream.get();
    const int state = stream->state.load();
    if (state == DecodedStream::Playing)
        return true;
    if (state == DecodedStream::Ended)
        return m_error.fail(AudioError::Ended);
    const auto voice = std::find_if(m_voices.begin(), m_voices.end(), [](const auto& v) {
        return v.load() == nullptr;
    });
    if (voice == m_voices.end())
        return m_error.fail(AudioError::Busy);
    if (state == DecodedStream::Idle)
        stream->decodeStart();
    stream->state.store(DecodedStream::Playing);
    voice->store(stream);
    {
        std::lock_guard lock(m_decodeMutex);
        if (std::find(m_decoding.begin(), m_decoding.end(), channel->stream) == m_decoding.end())
            m_decoding.push_back(channel->stream);
    }
    m_decodeWake.notify_all();
    return true;
}

std::optional<ChannelAttributes> PlaybackEngine::attributes(AudioHandle handle) const
{
    const Channel* channel = find(handle);
    if (!channel) {
        m_error.fail(AudioError::BadHandle);
        return std::nullopt;
    }
    return channel->attributes;
}

bool PlaybackEngine::setAttributes(AudioHandle handle, const ChannelAttributes& attributes)
{
    Channel* channel = find(handle);
    if (!channel)
        return m_error.fail(AudioError::BadHandle);
    if (attributes.frequency < ChannelAttributes::LowestFrequency ||
        attributes.frequency > ChannelAttributes::HighestFrequency || attributes.volume < 0 ||
        attributes.volume > 100 || attributes.pan < -100 || attributes.pan > 100)
        return m_error.fail(AudioError::BadValue);
    channel->attributes = attributes;
    channel->stream->setPlayback(attributes.frequency,
                                 gain(attributes.volume, attributes.pan, true),
                                 gain(attributes.volume, attributes.pan, false));
    return true;
}

bool PlaybackEngine::stop(AudioHandle handle)
{
    Channel* channel = find(handle);
    if (!channel)
        return m_error.fail(AudioError::BadHandle);
    int playing = DecodedStream::Playing;
    channel->stream->state.compare_exchange_strong(playing, DecodedStream::Stopped);
    leaveVoice(channel->stream.get());
    return true;
}

bool PlaybackEngine::isActive(AudioHandle handle) const
{
    const Channel* channel = find(handle);
    return channel && channel->stream->state.load() == DecodedStream::Playing;
}

void PlaybackEngine::reset(int deviceRate)
{
    while (!m_channels.empty())
        freeStream(m_channels.begin()->first);
    collectRetired();
    m_deviceRate = deviceRate;
}

void PlaybackEngine::stopAll()
{
    for (auto& [handle, channel] : m_channels)
        stop(handle);
}

bool PlaybackEngine::hasVoices() const
{
    return std::any_of(m_voices.begin(), m_voices.end(),
                       [](const auto& voice) { return voice.load() != nullptr; });
}

void PlaybackEngine::leaveVoice(DecodedStream* stream)
{
    for (auto& voice : m_voices) {
        DecodedStream* expected = stream;
        voice.compare_exchange_strong(expected, nullptr);
    }
}

void PlaybackEngine::retire(std::shared_ptr<DecodedStream> stream)
{
    // The stream has left its voice. A mix that began before that may still read it; a mix
    // that began after cannot find it. So it may go once no mix runs, or one more has ended.
    m_retired.push_back({std::move(stream), m_rendered.load()});
    collectRetired();
}

void PlaybackEngine::collectRetired()
{
    const bool mixing = m_rendering.load();
    const std::uint64_t rendered = m_rendered.load();
    std::erase_if(m_retired, [&](const Retired& r) {
        return !mixing || rendered > r.renderedAtRetirement;
    });
}

void PlaybackEngine::render(float* out, std::size_t frames)
{
    m_rendering.store(true);
    std::fill(out, out + 2 * frames, 0.0f);
    for (auto& voice : m_voices) {
        DecodedStream* stream = voice.load();
        if (!stream || stream->mixInto(out, frames))
            continue;
        int playing = DecodedStream::Playing;
        stream->state.compare_exchange_strong(playing, DecodedStream::Ended);
        voice.compare_exchange_strong(stream, nullptr);
    }
    for (std::size_t i = 0; i < 2 * frames; ++i)
        out[i] = std::clamp(out[i], -1.0f, 1.0f);
    m_rendered.fetch_add(1);
    m_rendering.store(false);
}

bool PlaybackEngine::decodeAhead()
{
    std::vector<std::shared_ptr<DecodedStream>> streams;
    {
        std::lock_guard lock(m_decodeMutex);
        streams = m_decoding;
    }
    std::vector<DecodedStream*> finished;
    for (const auto& stream : streams) {
        if (stream->state.load() != DecodedStream::Playing || !stream->decodeAhead())
            finished.push_back(stream.get());
    }
    std::lock_guard lock(m_decodeMutex);
    // A stream played again meanwhile is Playing once more, with more to decode: it stays.
    std::erase_if(m_decoding, [&](const auto& stream) {
        return std::find(finished.begin(), finished.end(), stream.get()) != finished.end() &&
               (stream->state.load() != DecodedStream::Playing || stream->decodeFinished());
    });
    return !m_decoding.empty();
}

void PlaybackEngine::decoderLoop()
{
    pthread_setname_np(pthread_self(), "ostrel-decode");
    std::unique_lock lock(m_decodeMutex);
    while (!m_quit) {
        lock.unlock();
        const bool busy = decodeAhead();
        lock.lock();
        if (busy)
            m_decodeWake.wait_for(lock, DecodePeriod);
        else
            m_decodeWake.wait(lock, [this] { return m_quit || !m_decoding.empty(); });
    }
}

#include "PulsePlayback.h"

#include "PlaybackEngine.h"
#include "PulseConnection.h"

#include <pulse/pulseaudio.h>

namespace {
constexpr std::size_t FrameBytes = 2 * sizeof(float);
// Room for a busy machine to be late with the next frames without a gap in the alarm; the
// first sample of a sound still plays at once, since a new stream starts with it.
constexpr pa_usec_t BufferUsec = 60'000;
// Silence before the stream goes; the stream's buffer adds at most BufferUsec to it.
constexpr int SilenceMsBeforeRelease = 500;
} // namespace

PulsePlayback::PulsePlayback(PulseConnection& connection, PlaybackEngine& engine)
    : m_connection(connection), m_engine(engine)
{
}

bool PulsePlayback::open(int sampleRate)
{
    m_silentFrames = 0;
    if (m_stream)
        return true;
    pa_context* context = m_connection.context();
    if (!context)
        return false;
    const pa_sample_spec format{PA_SAMPLE_FLOAT32NE, std::uint32_t(sampleRate), 2};
    m_stream = pa_stream_new(context, "Alarm sounds", &format, nullptr);
    if (!m_stream)
        return false;
    m_framesBeforeRelease = std::size_t(sampleRate) * SilenceMsBeforeRelease / 1000;
    pa_stream_set_state_callback(m_stream, stateChanged, this);
    pa_stream_set_write_callback(m_stream, writeRequested, this);
    pa_buffer_attr buffer{};
    buffer.maxlength = std::uint32_t(-1);
    buffer.tlength = std::uint32_t(pa_usec_to_bytes(BufferUsec, &format));
    buffer.prebuf = std::uint32_t(-1);
    buffer.minreq = std::uint32_t(-1);
    buffer.fragsize = std::uint32_t(-1);
    // Adjusted latency lets the sink run at the stream's pace instead of in its longest blocks.
    const auto flags = pa_stream_flags_t(PA_STREAM_ADJUST_LATENCY |
                                         (m_paused ? PA_STREAM_START_CORKED : PA_STREAM_NOFLAGS));
    if (pa_stream_connect_playback(m_stream, nullptr, &buffer, flags, nullptr, nullptr) < 0) {
        release();
        return false;
    }
    return true;
}

void PulsePlayback::release()
{
    if (m_pendingRelease) {
        m_connection.api()->defer_free(m_pendingRelease);
        m_pendingRelease = nullptr;
    }
    if (!m_stream)
        return;
    pa_stream_set_state_callback(m_stream, nullptr, nullptr);
    pa_stream_set_write_callback(m_stream, nullptr, nullptr);
    pa_stream_disconnect(m_stream);
    pa_stream_unref(m_stream);
    m_stream = nullptr;
}

void PulsePlayback::setPaused(bool paused)
{
    m_paused = paused;
    if (m_stream && pa_stream_get_state(m_stream) == PA_STREAM_READY)
        ForgetOperation(pa_stream_cork(m_stream, paused ? 1 : 0, nullptr, nullptr));
}

void PulsePlayback::followDefault(const std::string& sink)
{
    if (!m_stream || pa_stream_get_state(m_stream) != PA_STREAM_READY)
        return;
    const char* current = pa_stream_get_device_name(m_stream);
    if (current && sink == current)
        return;
    ForgetOperation(pa_context_move_sink_input_by_name(
        m_connection.context(), pa_stream_get_index(m_stream), sink.c_str(), nullptr, nullptr));
}

void PulsePlayback::writeRequested(pa_stream* stream, std::size_t bytes, void* self)
{
    auto* playback = static_cast<PulsePlayback*>(self);
    while (bytes >= FrameBytes) {
        void* data = nullptr;
        std::size_t size = bytes;
        if (pa_stream_begin_write(stream, &data, &size) < 0 || !data) {
            playback->m_connection.fail();
            return;
        }
        const std::size_t frames = std::min(size, bytes) / FrameBytes;
        playback->m_engine.render(static_cast<float*>(data), frames);
        pa_stream_write(stream, data, frames * FrameBytes, nullptr, 0, PA_SEEK_RELATIVE);
        bytes -= frames * FrameBytes;
        playback->m_silentFrames = playback->m_engine.hasVoices() ? 0 : playback->m_silentFrames + frames;
    }
    if (playback->m_silentFrames < playback->m_framesBeforeRelease || playback->m_pendingRelease)
        return;
    pa_mainloop_api* api = playback->m_connection.api();
    playback->m_pendingRelease = api->defer_new(
        api,
        [](pa_mainloop_api* api, pa_defer_event* event, void* self) {
            auto* playback = static_cast<PulsePlayback*>(self);
            api->defer_free(event);
            playback->m_pendingRelease = nullptr;
            playback->releaseIfSilent();
        },
        playback);
}

void PulsePlayback::releaseIfSilent()
{
    // A sound started on the main thread takes its voice before it takes the lock, so it is seen here.
    if (m_silentFrames >= m_framesBeforeRelease && !m_engine.hasVoices())
        release();
}

void PulsePlayback::stateChanged(pa_stream* stream, void* self)
{
    auto* playback = static_cast<PulsePlayback*>(self);
    switch (pa_stream_get_state(stream)) {
    case PA_STREAM_READY:
        // A halt or a resume asked for while the stream was being made is applied now.
        if (pa_stream_is_corked(stream) != (playback->m_paused ? 1 : 0))
            playback->setPaused(playback->m_paused);
        break;
    case PA_STREAM_FAILED:
        // Without a sink to play on, the sounds could never end: the devices are lost.
        playback->m_connection.fail();
        break;
    default:
        break;
    }
}

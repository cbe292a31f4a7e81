#include "PulseCapture.h"

#include "PulseConnection.h"
#include "audio/AudioBackend.h"

#include <algorithm>
#include <pulse/pulseaudio.h>

namespace {
constexpr int Channels = 2;
constexpr std::size_t FrameBytes = Channels * sizeof(float);
constexpr int BlocksPerSecond = 10;
} // namespace

PulseCapture::PulseCapture(PulseConnection& connection) : m_connection(connection) {}

bool PulseCapture::start(const std::string& source, int sampleRate, Report report,
                         std::uint32_t& error)
{
    stop();
    pa_context* context = m_connection.context();
    if (!context) {
        error = AudioError::DeviceFailed;
        return false;
    }
    const auto& sources = m_connection.state().sources;
    if (!source.empty() && std::none_of(sources.begin(), sources.end(),
                                        [&](const PulseSource& s) { return s.name == source; })) {
        error = AudioError::NoDevice;
        return false;
    }
    // A mono source comes as two equal channels: the server remixes it for us.
    const pa_sample_spec format{PA_SAMPLE_FLOAT32NE, std::uint32_t(sampleRate), Channels};
    m_stream = pa_stream_new(context, "Microphone level", &format, nullptr);
    if (!m_stream) {
        error = AudioError::DeviceFailed;
        return false;
    }
    const std::size_t blockFrames = std::size_t(sampleRate / BlocksPerSecond);
    m_meter.emplace(Channels, blockFrames);
    m_report = std::move(report);
    m_followsDefault = source.empty();
    pa_stream_set_state_callback(m_stream, stateChanged, this);
    pa_stream_set_read_callback(m_stream, readable, this);
    pa_buffer_attr buffer{};
    buffer.maxlength = std::uint32_t(-1);
    buffer.fragsize = std::uint32_t(blockFrames * FrameBytes);
    // Adjusted latency makes the source deliver whole fragments instead of its smallest blocks.
    if (pa_stream_connect_record(m_stream, source.empty() ? nullptr : source.c_str(), &buffer,
                                 PA_STREAM_ADJUST_LATENCY) < 0) {
        stop();
        error = AudioError::DeviceFailed;
        return false;
    }
    m_running.store(true);
    return true;
}

void PulseCapture::stop()
{
    m_running.store(false);
    if (!m_stream)
        return;
    pa_stream_set_state_callback(m_stream, nullptr, nullptr);
    pa_stream_set_read_callback(m_stream, nullptr, nullptr);
    pa_stream_disconnect(m_stream);
    pa_stream_unref(m_stream);
    m_stream = nullptr;
    m_report = nullptr;
}

void PulseCapture::followDefault(const std::string& source)
{
    if (!m_followsDefault || !m_stream || pa_stream_get_state(m_stream) != PA_STREAM_READY)
        return;
    const char* current = pa_stream_get_device_name(m_stream);
    if (current && source == current)
        return;
    ForgetOperation(pa_context_move_source_output_by_name(
        m_connection.context(), pa_stream_get_index(m_stream), source.c_str(), nullptr, nullptr));
}

void PulseCapture::readable(pa_stream* stream, std::size_t, void* self)
{
    auto* capture = static_cast<PulseCapture*>(self);
    while (pa_stream_readable_size(stream) > 0) {
        const void* data = nullptr;
        std::size_t bytes = 0;
        if (pa_stream_peek(stream, &data, &bytes) < 0) {
            capture->m_connection.fail();
            return;
        }
        if (bytes == 0)
            return;
        // No data with a size is a hole in the recording: nothing to measure.
        if (data) {
            capture->m_meter->feed(static_cast<const float*>(data), bytes / FrameBytes,
                                   capture->m_report);
        }
        pa_stream_drop(stream);
    }
}

void PulseCapture::stateChanged(pa_stream* stream, void* self)
{
    if (pa_stream_get_state(stream) != PA_STREAM_FAILED)
        return;
    auto* capture = static_cast<PulseCapture*>(self);
    capture->m_running.store(false);
    // On a server that still answers only this recording ended (its source went with nothing
    // to take over): the switch's next start tells why. Otherwise the server went.
    if (!capture->m_connection.context())
        capture->m_connection.fail();
}

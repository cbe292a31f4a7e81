#include "PulseConnection.h"

#include "MicrophoneSources.h"
#include "audio/AudioBackend.h"
#include "core/Product.h"

#include <QObject>
#include <algorithm>
#include <utility>
#include <pulse/pulseaudio.h>

namespace {
int percentOf(const pa_cvolume& volume)
{
    return int((std::uint64_t(pa_cvolume_avg(&volume)) * 100 + PA_VOLUME_NORM / 2) / PA_VOLUME_NORM);
}

/// Calls back once, `after` from now, on the loop's thread.
pa_time_event* timeEventIn(pa_mainloop_api* api, std::chrono::microseconds after,
                           pa_time_event_cb_t callback, void* userdata)
{
    timeval when{};
    pa_gettimeofday(&when);
    pa_timeval_add(&when, pa_usec_t(after.count()));
    return api->time_new(api, &when, callback, userdata);
}

PulseSource sourceFrom(const pa_source_info& info)
{
    const char* formFactor = pa_proplist_gets(info.proplist, PA_PROP_DEVICE_FORM_FACTOR);
    SourceTraits traits;
    traits.name = QString::fromUtf8(info.name);
    traits.description = QString::fromUtf8(info.description ? info.description : info.name);
    traits.formFactor = QString::fromUtf8(formFactor ? formFactor : "");
    if (info.active_port)
        traits.activePortType = info.active_port->type;
    traits.monitor = info.monitor_of_sink != PA_INVALID_INDEX;
    return PulseSource{info.name, traits.description, IsMicrophoneSource(traits),
                       percentOf(info.volume), info.mute != 0, info.channel_map.channels};
}
} // namespace

PulseConnection::Lock::Lock(const PulseConnection& connection) : m_loop(connection.m_loop)
{
    pa_threaded_mainloop_lock(m_loop);
}

PulseConnection::Lock::~Lock()
{
    pa_threaded_mainloop_unlock(m_loop);
}

PulseConnection::PulseConnection(StreamOwner& owner, AudioDeviceListener& events)
    : m_owner(owner), m_events(events), m_mainThread(std::make_unique<QObject>()),
      m_loop(pa_threaded_mainloop_new())
{
    pa_threaded_mainloop_set_name(m_loop, "ostrel-pulse");
    pa_threaded_mainloop_start(m_loop);
}

PulseConnection::~PulseConnection()
{
    settleSpeakers(SpeakerSettleTimeout);
    pa_threaded_mainloop_stop(m_loop);
    // The loop's thread has ended: nothing else touches the state now. Going away is not a loss.
    m_everUp = false;
    drop();
    if (m_retry)
        api()->time_free(m_retry);
    if (m_pendingFailure)
        api()->defer_free(m_pendingFailure);
    pa_threaded_mainloop_free(m_loop);
}

pa_mainloop_api* PulseConnection::api() const
{
    return pa_threaded_mainloop_get_api(m_loop);
}

bool PulseServerState::usable() const
{
    const bool hasSink = std::find(sinks.begin(), sinks.end(), defaultSink) != sinks.end();
    const bool hasSource = std::any_of(sources.begin(), sources.end(),
                                       [&](const PulseSource& s) { return s.name == defaultSource; });
    return hasSink && hasSource;
}

void ForgetOperation(pa_operation* operation)
{
    if (operation)
        pa_operation_unref(operation);
}

pa_context* PulseConnection::context() const
{
    // A context that failed is no use even before its drop has run.
    return m_phase == Phase::Up && pa_context_get_state(m_context) == PA_CONTEXT_READY ? m_context
                                                                                         : nullptr;
}

bool PulseConnection::connect(std::chrono::milliseconds timeout)
{
    const Lock lock(*this);
    if (m_phase == Phase::Up)
        return true;
    startContext();
    waitWhile(timeout, [this] { return m_phase == Phase::Connecting; });
    if (m_phase != Phase::Up) {
        drop();
        return false;
    }
    m_everUp = true;
    return true;
}

void PulseConnection::startContext()
{
    m_context = pa_context_new(api(), Product::Name.toUtf8().constData());
    m_phase = Phase::Connecting;
    pa_context_set_state_callback(
        m_context,
        [](pa_context*, void* self) { static_cast<PulseConnection*>(self)->contextStateChanged(); },
        this);
    // A desktop without a running server gets the other engine; we never start one ourselves.
    if (pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
        drop();
}

void PulseConnection::contextStateChanged()
{
    switch (pa_context_get_state(m_context)) {
    case PA_CONTEXT_READY:
        pa_context_set_subscribe_callback(
            m_context,
            [](pa_context*, pa_subscription_event_type_t event, std::uint32_t, void* self) {
                auto* connection = static_cast<PulseConnection*>(self);
                if ((event & PA_SUBSCRIPTION_EVENT_FACILITY_MASK) == PA_SUBSCRIPTION_EVENT_SINK)
                    connection->refreshSpeakers();
                else
                    connection->refresh();
            },
            this);
        ForgetOperation(pa_context_subscribe(
            m_context,
            pa_subscription_mask_t(PA_SUBSCRIPTION_MASK_SERVER | PA_SUBSCRIPTION_MASK_SINK |
                                   PA_SUBSCRIPTION_MASK_SOURCE),
            nullptr, nullptr));
        refresh();
        break;
    case PA_CONTEXT_FAILED:
    case PA_CONTEXT_TERMINATED:
        fail();
        break;
    default:
        break;
    }
}

void PulseConnection::refresh()
{
    // One reading at a time; news during one asks for another after it.
    if (m_reading) {
        m_readAgain = true;
        return;
    }
    m_reading = PulseServerState{};
    // The replies come in the order asked: the defaults, the sinks, the sources. A dropped
    // connection cancels them, and drop() forgets the reading.
    ForgetOperation(pa_context_get_server_info(
        m_context,
        [](pa_context*, const pa_server_info* info, void* self) {
            auto* connection = static_cast<PulseConnection*>(self);
            if (!connection->m_reading)
                return;
            if (!info) {
                connection->m_reading.reset();
                connection->fail();
                return;
            }
            connection->m_reading->defaultSink = info->default_sink_name ? info->default_sink_name : "";
            connection->m_reading->defaultSource =
                info->default_source_name ? info->default_source_name : "";
        },
        this));
    ForgetOperation(pa_context_get_sink_info_list(
        m_context,
        [](pa_context*, const pa_sink_info* info, int eol, void* self) {
            auto* connection = static_cast<PulseConnection*>(self);
            if (connection->m_reading && info && eol == 0)
                connection->m_reading->sinks.emplace_back(info->name);
        },
        this));
    ForgetOperation(pa_context_get_source_info_list(
        m_context,
        [](pa_context*, const pa_source_info* info, int eol, void* self) {
            auto* connection = static_cast<PulseConnection*>(self);
            if (!connection->m_reading)
                return;
            if (info && eol == 0) {
                connection->m_reading->sources.push_back(sourceFrom(*info));
                return;
            }
            PulseServerState state = std::move(*connection->m_reading);
            connection->m_reading.reset();
            if (eol < 0) {
                connection->fail();
                return;
            }
            if (std::exchange(connection->m_readAgain, false)) {
                connection->refresh();
                return;
            }
            connection->serverStateRead(std::move(state));
        },
        this));
}

void PulseConnection::serverStateRead(PulseServerState state)
{
    if (!state.usable()) {
        // While up, a device may have gone between two of the replies: one more reading tells.
        if (m_phase == Phase::Up && !std::exchange(m_rereadUnusable, true)) {
            refresh();
            return;
        }
        // A server without speakers or without a microphone is no use yet: wait for a better one.
        fail();
        return;
    }
    m_rereadUnusable = false;
    m_state = std::move(state);
    if (m_phase == Phase::Up) {
        m_owner.defaultsChanged(m_state);
        refreshSpeakers();
        tellMicrophone();
        return;
    }
    m_phase = Phase::Up;
    pa_threaded_mainloop_signal(m_loop, 0);
    refreshSpeakers();
    tellMicrophone();
    if (std::exchange(m_lostTold, false))
        toMainThread([this] { m_events.audioDeviceRestored(); });
}

void PulseConnection::refreshSpeakers()
{
    pa_context* ready = context();
    if ((!m_speakers.watching && !m_speakerTarget) || !ready)
        return;
    ForgetOperation(pa_context_get_sink_info_by_name(
        ready, m_state.defaultSink.c_str(),
        [](pa_context*, const pa_sink_info* info, int eol, void* self) {
            auto* connection = static_cast<PulseConnection*>(self);
            if (!info || eol != 0)
                return;
            connection->applySpeakerTarget(*info);
            if (connection->m_speakers.watching)
                connection->tell(connection->m_speakers,
                                 VolumeState{QString::fromUtf8(info->name), percentOf(info->volume),
                                             info->mute != 0});
        },
        this));
}

void PulseConnection::tellMicrophone()
{
    if (!m_microphone.watching || !context())
        return;
    const auto source = std::find_if(m_state.sources.begin(), m_state.sources.end(),
                                     [&](const PulseSource& s) { return s.name == m_state.defaultSource; });
    if (source != m_state.sources.end())
        tell(m_microphone, VolumeState{QString::fromUtf8(source->name), source->volume, source->muted});
}

void PulseConnection::tell(DeviceWatch& device, const VolumeState& state)
{
    if (device.told == state)
        return;
    device.told = state;
    toMainThread([&device, state] {
        if (device.onChange)
            device.onChange(state);
    });
}

void PulseConnection::watch(DeviceWatch& device, std::function<void(const VolumeState&)> onChange)
{
    device.onChange = std::move(onChange);
    const Lock lock(*this);
    device.watching = bool(device.onChange);
    device.told.reset();
    refreshSpeakers();
    tellMicrophone();
}

void PulseConnection::watchSpeakers(std::function<void(const VolumeState&)> onChange)
{
    watch(m_speakers, std::move(onChange));
}

void PulseConnection::watchMicrophone(std::function<void(const VolumeState&)> onChange)
{
    watch(m_microphone, std::move(onChange));
}

void PulseConnection::setSpeakers(const VolumeState& state)
{
    const Lock lock(*this);
    m_speakerTarget = state;
    pa_context* ready = context();
    if (!ready)
        return;
    // The sink's channels are read first, so that their balance is kept.
    ForgetOperation(pa_context_get_sink_info_by_name(
        ready, state.device.toUtf8().constData(),
        [](pa_context*, const pa_sink_info* info, int eol, void* self) {
            auto* connection = static_cast<PulseConnection*>(self);
            if (info && eol == 0)
                connection->applySpeakerTarget(*info);
            else
                pa_threaded_mainloop_signal(connection->m_loop, 0);
        },
        this));
}

void PulseConnection::settleSpeakers(std::chrono::milliseconds timeout)
{
    const Lock lock(*this);
    waitWhile(timeout, [this] { return (m_speakerTarget || m_speakerSets > 0) && context(); });
}

void PulseConnection::waitWhile(std::chrono::milliseconds timeout, const std::function<bool()>& busy)
{
    m_timedOut = false;
    pa_time_event* deadline = timeEventIn(
        api(), timeout,
        [](pa_mainloop_api*, pa_time_event*, const timeval*, void* self) {
            auto* connection = static_cast<PulseConnection*>(self);
            connection->m_timedOut = true;
            pa_threaded_mainloop_signal(connection->m_loop, 0);
        },
        this);
    while (busy() && !m_timedOut)
        pa_threaded_mainloop_wait(m_loop);
    api()->time_free(deadline);
}

void PulseConnection::speakerSetDone(pa_context*, int, void* self)
{
    auto* connection = static_cast<PulseConnection*>(self);
    --connection->m_speakerSets;
    pa_threaded_mainloop_signal(connection->m_loop, 0);
}

void PulseConnection::applySpeakerTarget(const pa_sink_info& sink)
{
    if (!m_speakerTarget || m_speakerTarget->device != QString::fromUtf8(sink.name))
        return;
    const VolumeState target = *std::exchange(m_speakerTarget, std::nullopt);
    if (percentOf(sink.volume) != target.volume) {
        const pa_volume_t wanted = pa_volume_t(std::uint64_t(PA_VOLUME_NORM) * unsigned(target.volume) / 100);
        const pa_volume_t average = pa_cvolume_avg(&sink.volume);
        pa_cvolume volume = sink.volume;
        if (average == PA_VOLUME_MUTED) {
            pa_cvolume_set(&volume, sink.volume.channels, wanted);
        } else {
            for (std::uint8_t c = 0; c < volume.channels; ++c)
                volume.values[c] = pa_volume_t(std::min<std::uint64_t>(
                    PA_VOLUME_MAX, std::uint64_t(sink.volume.values[c]) * wanted / average));
        }
        ++m_speakerSets;
        ForgetOperation(pa_context_set_sink_volume_by_index(m_context, sink.index, &volume, &speakerSetDone, this));
    }
    if ((sink.mute != 0) != target.muted) {
        ++m_speakerSets;
        ForgetOperation(pa_context_set_sink_mute_by_index(m_context, sink.index, target.muted, &speakerSetDone, this));
    }
    pa_threaded_mainloop_signal(m_loop, 0);
}

void PulseConnection::fail()
{
    if (m_pendingFailure)
        return;
    // Not from inside the failing stream's own handler: the streams go in a handler of their own.
    m_pendingFailure = api()->defer_new(
        api(),
        [](pa_mainloop_api* api, pa_defer_event* event, void* self) {
            auto* connection = static_cast<PulseConnection*>(self);
            api->defer_free(event);
            connection->m_pendingFailure = nullptr;
            connection->drop();
        },
        this);
}

void PulseConnection::drop()
{
    m_reading.reset();
    m_readAgain = false;
    m_rereadUnusable = false;
    m_speakers.told.reset();
    m_microphone.told.reset();
    m_speakerTarget.reset();
    m_speakerSets = 0;
    m_owner.connectionDropped();
    if (m_context) {
        pa_context_set_state_callback(m_context, nullptr, nullptr);
        pa_context_set_subscribe_callback(m_context, nullptr, nullptr);
        pa_context_disconnect(m_context);
        pa_context_unref(m_context);
        m_context = nullptr;
    }
    const bool wasUp = m_phase == Phase::Up;
    m_phase = Phase::Down;
    pa_threaded_mainloop_signal(m_loop, 0);
    if (!m_everUp)
        return;
    if (wasUp && !m_lostTold) {
        m_lostTold = true;
        toMainThread([this] { m_events.audioDeviceLost(); });
    }
    scheduleRetry();
}

void PulseConnection::scheduleRetry()
{
    if (m_retry)
        return;
    m_retry = timeEventIn(
        api(), RetryInterval,
        [](pa_mainloop_api* api, pa_time_event* event, const timeval*, void* self) {
            auto* connection = static_cast<PulseConnection*>(self);
            api->time_free(event);
            connection->m_retry = nullptr;
            connection->startContext();
        },
        this);
}

void PulseConnection::toMainThread(std::function<void()> run)
{
    // Calls queued to an object that is destroyed meanwhile are dropped with it.
    QMetaObject::invokeMethod(m_mainThread.get(), std::move(run), Qt::QueuedConnection);
}

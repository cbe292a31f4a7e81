#pragma once

#include "audio/VolumeControl.h"

#include <QString>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class AudioDeviceListener;
class QObject;
struct pa_context;
struct pa_defer_event;
struct pa_operation;
struct pa_sink_info;
struct pa_mainloop_api;
struct pa_threaded_mainloop;
struct pa_time_event;

/// A source as the server lists it.
struct PulseSource
{
    std::string name; // what streams and volume calls name it by
    QString description;
    bool microphone = false;
    int volume = 100; // percent of normal, averaged over its channels
    bool muted = false;
    int channels = 2;
};

/// What the server offers: its defaults, its sinks, and its sources in its order.
struct PulseServerState
{
    std::string defaultSink;
    std::string defaultSource;
    std::vector<std::string> sinks;
    std::vector<PulseSource> sources;

    /// Both defaults name a device that exists: the server can play and record.
    bool usable() const;
};

/// Lets go of a request whose answer is not awaited; a request the server refused is nothing.
void ForgetOperation(pa_operation* operation);

/// The one connection to the sound server, on libpulse's threaded main loop: everything the
/// server says is handled on the loop's thread, with the loop's lock held. The connection reads
/// the server's defaults and sources and keeps them current. When it is lost (the server ends,
/// or a stream fails) it says so once, then connects anew every 2 s until the server offers a
/// sink and a source again, and says so; the main thread never waits for any of it.
class PulseConnection
{
public:
    /// The owner of the streams on this connection. Loop thread, with the lock held.
    class StreamOwner
    {
    public:
        virtual ~StreamOwner() = default;
        /// The connection is gone: every stream on it must be let go at once.
        virtual void connectionDropped() = 0;
        /// The default sink or source may have changed: streams on the defaults follow them.
        virtual void defaultsChanged(const PulseServerState& state) = 0;
    };

    /// Holds the loop's lock: while it is held no server event is handled.
    class Lock
    {
    public:
        explicit Lock(const PulseConnection& connection);
        ~Lock();
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;

    private:
        pa_threaded_mainloop* m_loop;
    };

    /// Main thread. Lost and restored are told to `events` on the main thread.
    PulseConnection(StreamOwner& owner, AudioDeviceListener& events);
    /// Main thread: the loop ends first, so no handler runs while the connection goes.
    ~PulseConnection();
    PulseConnection(const PulseConnection&) = delete;
    PulseConnection& operator=(const PulseConnection&) = delete;

    /// Main thread: connects and reads the server's state, waiting at most `timeout`. False
    /// when no server answers in time, or it offers no sink or no source.
    bool connect(std::chrono::milliseconds timeout);

    /// Lock held: the context while the connection is up and ready, else nullptr.
    pa_context* context() const;
    /// Lock held.
    const PulseServerState& state() const { return m_state; }
    /// Lock held, loop thread: a stream on the connection failed; the connection is dropped
    /// (after this handler returns) and made anew.
    void fail();
    /// Lock held: the loop's event interface, for timers of the streams' own.
    pa_mainloop_api* api() const;

    /// Main thread: as VolumeControl says.
    void watchSpeakers(std::function<void(const VolumeState&)> onChange);
    void watchMicrophone(std::function<void(const VolumeState&)> onChange);
    void setSpeakers(const VolumeState& state);

    /// Between connecting attempts while the server is away.
    static constexpr std::chrono::seconds RetryInterval{2};
    /// How long going away waits for the speakers' last setting to be made.
    static constexpr std::chrono::milliseconds SpeakerSettleTimeout{500};

private:
    enum class Phase { Connecting, Up, Down };

    // Loop thread, lock held.
    void startContext();
    void contextStateChanged();
    void refresh();
    void serverStateRead(PulseServerState state);
    void refreshSpeakers();
    void tellMicrophone();
    void applySpeakerTarget(const pa_sink_info& sink);
    /// Main thread: waits, at most `timeout`, until the speakers are set as last asked, so that
    /// a program that ends gives them back.
    void settleSpeakers(std::chrono::milliseconds timeout);
    static void speakerSetDone(pa_context* context, int success, void* self);
    /// Main thread, lock held: waits while `busy` holds, at most `timeout`; the loop's handlers
    /// signal when there is news.
    void waitWhile(std::chrono::milliseconds timeout, const std::function<bool()>& busy);
    void drop();
    void scheduleRetry();
    /// Loop thread: calls `run` on the main thread, unless the connection is gone by then.
    void toMainThread(std::function<void()> run);

    StreamOwner& m_owner;
    AudioDeviceListener& m_events;
    std::unique_ptr<QObject> m_mainThread; // the receiver of the calls to the main thread
    pa_threaded_mainloop* m_loop;

    // Lock held.
    pa_context* m_context = nullptr;
    Phase m_phase = Phase::Down;
    bool m_everUp = false;
    bool m_lostTold = false;
    bool m_timedOut = false;
    PulseServerState m_state;
    std::optional<PulseServerState> m_reading; // while the server's state is being read
    bool m_readAgain = false;
    bool m_rereadUnusable = false; // an unusable reading while up is read once more
    pa_time_event* m_retry = nullptr;
    pa_defer_event* m_pendingFailure = nullptr;

    /// A watched device: its last state told, and whom to tell.
    struct DeviceWatch
    {
        bool watching = false; // lock held
        std::optional<VolumeState> told; // lock held
        std::function<void(const VolumeState&)> onChange; // main thread
    };
    void watch(DeviceWatch& device, std::function<void(const VolumeState&)> onChange);
    /// Lock held: tells the state when it differs from the last one told.
    void tell(DeviceWatch& device, const VolumeState& state);

    DeviceWatch m_speakers;
    DeviceWatch m_microphone;
    std::optional<VolumeState> m_speakerTarget; // lock held: what setSpeakers asked for
    int m_speakerSets = 0; // lock held: the speakers' settings the server has yet to confirm
};

#pragma once

#include <cstddef>
#include <string>

class PlaybackEngine;
class PulseConnection;
struct pa_defer_event;
struct pa_stream;

/// The playback stream that carries the engine's mix to the default sink. It exists only while a
/// sound plays: a sound that starts opens it, and half a second of silence lets it go, so an
/// idle program keeps neither itself nor the server awake. Every call is made with the
/// connection's lock held.
class PulsePlayback
{
public:
    PulsePlayback(PulseConnection& connection, PlaybackEngine& engine);
    PulsePlayback(const PulsePlayback&) = delete;
    PulsePlayback& operator=(const PulsePlayback&) = delete;

    /// Main thread: makes sure a stream carries the mix at `sampleRate`; false when the server
    /// is away or refuses the stream.
    bool open(int sampleRate);
    /// Any thread: lets the stream go at once.
    void release();
    /// Main thread: halts or resumes the stream; a stream opened while halted starts halted.
    void setPaused(bool paused);
    /// Loop thread: moves the stream to the new default sink.
    void followDefault(const std::string& sink);
    bool isOpen() const { return m_stream != nullptr; }

private:
    /// Loop thread: the server asks for the next bytes of the mix.
    static void writeRequested(pa_stream* stream, std::size_t bytes, void* self);
    /// Loop thread.
    static void stateChanged(pa_stream* stream, void* self);
    /// Loop thread: after the write handler, releases the stream unless a sound started since.
    void releaseIfSilent();

    PulseConnection& m_connection;
    PlaybackEngine& m_engine;
    pa_stream* m_stream = nullptr;
    std::size_t m_silentFrames = 0;
    std::size_t m_framesBeforeRelease = 0;
    pa_defer_event* m_pendingRelease = nullptr;
    bool m_paused = false;
};

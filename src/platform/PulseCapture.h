#pragma once

#include "LevelMeter.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class PulseConnection;
struct pa_stream;

/// The recording stream whose 100 ms fragments become level words: the server wakes us once per
/// fragment, and the loop's thread measures it and reports the level. Calls are made with the
/// connection's lock held.
class PulseCapture
{
public:
    /// Loop thread: one level word per 100 ms block.
    using Report = std::function<void(std::uint32_t level)>;

    explicit PulseCapture(PulseConnection& connection);
    PulseCapture(const PulseCapture&) = delete;
    PulseCapture& operator=(const PulseCapture&) = delete;

    /// Main thread: records from the named source, or from the default source (followed when
    /// it changes) when the name is empty. False, with the error code set, when it cannot.
    bool start(const std::string& source, int sampleRate, Report report, std::uint32_t& error);
    /// Any thread: stops at once; no report follows.
    void stop();
    /// Any thread, no lock needed: false once stopped, or when the stream failed.
    bool isRunning() const { return m_running.load(); }
    /// Loop thread: a capture of the default source moves to the new default.
    void followDefault(const std::string& source);

private:
    /// Loop thread: a fragment is ready.
    static void readable(pa_stream* stream, std::size_t bytes, void* self);
    /// Loop thread.
    static void stateChanged(pa_stream* stream, void* self);

    PulseConnection& m_connection;
    pa_stream* m_stream = nullptr;
    std::optional<LevelMeter> m_meter;
    Report m_report;
    bool m_followsDefault = false;
    std::atomic<bool> m_running{false};
};

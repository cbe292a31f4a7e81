#pragma once

#include <QtGlobal>

/// Where the recording's level reports go, one at a time on the main thread, and who hears that
/// the recording stopped.
class LevelSink
{
public:
    virtual ~LevelSink() = default;
    /// Main thread: one level word of a recorded block.
    virtual void CheckLevel(quint32 level) = 0;
    /// The recording stopped: what was counted of it no longer holds.
    virtual void recordingStopped() = 0;
};

#pragma once

#include <QString>

/// Direction of an alarm sound.
enum PanMode { PanRight = 0, PanCentre = 1, PanLeft = 2 };

/// The alarm plays through this many slots, each holding one sound.
inline constexpr int PlaySlotCount = 4;

/// The playback operations the alarm logic uses: the play slots.
class AlarmPlayback
{
public:
    virtual ~AlarmPlayback() = default;
    /// Plays the file in the slot with the alarm's volume, pitch and the direction, replacing
    /// what the slot held; a file that cannot be opened plays nothing.
    virtual void PlayHow(int slot, int panMode, const QString& path) = 0;
    /// Stops and releases all four slots.
    virtual void StopSounds() = 0;
    /// True while any slot is still sounding.
    virtual bool IsPlaying() const = 0;
};

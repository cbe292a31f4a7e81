#pragma once

#include "AlarmPlayback.h"
#include "AudioBackend.h"

#include <array>

class RandomSource;
class TunableValues;

/// The playback frequency of a file whose own rate is f0, for the base alteration position
/// `global` and the random draw r (from 0 to RandomAlterationSpan(random position) - 1), held
/// within 100..100000 Hz.
int PlaybackFrequency(int f0, int global, int r);
/// How many values the random draw of the pitch alteration takes; 0 means the draw is 0.
int RandomAlterationSpan(int randomPosition);

/// Plays alarm sounds in four slots with the alarm volume, pitch alteration and direction read
/// from the controls at the moment of playing.
class AlarmSoundPlayer : public AlarmPlayback
{
public:
    AlarmSoundPlayer(AudioStreams& audio, const TunableValues& tunables, RandomSource& random);

    void PlayHow(int slot, int panMode, const QString& path) override;
    void StopSounds() override;
    bool IsPlaying() const override;

    const std::array<AudioHandle, PlaySlotCount>& PlaySlots() const { return m_slots; }

private:
    AudioStreams& m_audio;
    const TunableValues& m_tunables;
    RandomSource& m_random;
    std::array<AudioHandle, PlaySlotCount> m_slots{};
};

#include "AlarmSoundPlayer.h"

#include "core/Random.h"
#include "settings/Tunables.h"

#include <algorithm>

namespace {
// The random alteration's maximum, not its position, sets the centre of the random factor.
constexpr int RandomAlterationMaximum = 100;

int panFor(int panMode)
{
    switch (panMode) {
    case PanRight:
        return 100;
    case PanCentre:
        return 0;
    default:
        return -100;
    }
}
} // namespace

int RandomAlterationSpan(int randomPosition)
{
    return 2 * (randomPosition / 10);
}

int PlaybackFrequency(int f0, int global, int r)
{
    // Whole numbers with truncating division, as the alarm has always pitched its sounds. The
    // sums run in 64 bits so that an absurd rate in a file header clamps instead of wrapping.
    const std::int64_t g = global / 2 + 11;
    const std::int64_t f1 = f0 + g * (f0 / 100);
    const std::int64_t f2 = f1 + (r - RandomAlterationMaximum / 10) * (f1 / 100);
    return int(std::clamp<std::int64_t>(f2, ChannelAttributes::LowestFrequency,
                                         ChannelAttributes::HighestFrequency));
}

AlarmSoundPlayer::AlarmSoundPlayer(AudioStreams& audio, const TunableValues& tunables,
                                   RandomSource& random)
    : m_audio(audio), m_tunables(tunables), m_random(random)
{
}

void AlarmSoundPlayer::PlayHow(int slot, int panMode, const QString& path)
{
    if (slot < 0 || slot >= PlaySlotCount)
        return;
    AudioHandle& stream = m_slots[std::size_t(slot)];
    m_audio.freeStream(stream);
    stream = m_audio.createFileStream(path);
    if (stream == 0)
        return;
    const int f0 = m_audio.attributes(stream).value_or(ChannelAttributes{}).frequency;
    const int randomPosition = m_tunables.value(Tunable::trkRandomAlteration);
    const int r = m_random.Random(RandomAlterationSpan(randomPosition));
    if (panMode >= PanRight && panMode <= PanLeft) {
        m_audio.setAttributes(
            stream, {PlaybackFrequency(f0, m_tunables.value(Tunable::trkGlobalAlteration), r),
                     m_tunables.value(Tunable::trkAlarmVolume), panFor(panMode)});
    }
    m_audio.play(stream);
}

void AlarmSoundPlayer::StopSounds()
{
    for (AudioHandle stream : m_slots)
        m_audio.stop(stream);
    for (AudioHandle stream : m_slots)
        m_audio.freeStream(stream);
}

bool AlarmSoundPlayer::IsPlaying() const
{
    bool playing = false;
    for (AudioHandle stream : m_slots)
        playing = m_audio.isActive(stream) || playing;
    return playing;
}

#pragma once

#include "core/Timer.h"

#include <QObject>
#include <QStringList>
#include <optional>

class AlarmPlayback;
class RandomSource;
class TunableValues;

/// The decimal text of a number from 0 to 999 with leading "0"s up to three characters.
QString ZeroPad(int number);

/// One queued alarm sound, 18 characters: "DTC", the sound's index in SelectedSounds, "000", a
/// random number, the play slot ("000") and the direction (PanMode), three digits each.
QString TaskEntry(int soundIndex, int number, int panMode);

/// What the player reads from an entry.
struct PlayTask
{
    int slot;
    int panMode;
    int soundIndex;
};

/// The task an entry names; nothing when the entry lacks the tag or names a slot, a direction
/// or a sound (among soundCount selected ones) that the player cannot address.
std::optional<PlayTask> ParseTaskEntry(const QString& entry, qsizetype soundCount);

/// The queue of pending alarm sounds and its player loop: bursts are appended by AddTask; while
/// entries wait, the loop looks every 250 ms and, when nothing is playing, plays the first entry,
/// which leaves the queue. With the queue empty the loop sleeps, and a burst wakes it.
class TaskQueue : public QObject
{
    Q_OBJECT
public:
    /// Entries name sounds of selectedSounds, which lie in soundsFolder.
    TaskQueue(TimerEngine& timers, RandomSource& random, const TunableValues& tunables,
              const QStringList& selectedSounds, const QString& soundsFolder,
              AlarmPlayback& playback, QObject* parent = nullptr);

    const QStringList& entries() const { return m_entries; }
    bool isEmpty() const { return m_entries.isEmpty(); }
    void clear() { m_entries.clear(); }

    /// Queues a burst of trkPersistence + Random(trkPersistenceRandom) + 1 sounds. A sleeping
    /// player loop looks at it on the next turn of the event loop, after the caller is done.
    void AddTask();

    /// The player loop's timer, on only while entries wait: a first look at once, then every
    /// 250 ms.
    Timer& TimTask() { return m_timTask; }
    /// The player loop runs from here, the main window's creation ...
    void start();
    /// ... until the window closes: it stops for good, and no burst wakes it.
    void stopTimers();

signals:
    /// AddTask queued a burst: the alarm sounds from now until the queue is empty and the
    /// playback silent.
    void burstQueued();

private:
    void TimTaskTimer();
    void wake();

    RandomSource& m_random;
    const TunableValues& m_tunables;
    const QStringList& m_selectedSounds;
    const QString m_soundsFolder;
    AlarmPlayback& m_playback;
    QStringList m_entries;
    Timer m_timTask;
    bool m_running = false;
};

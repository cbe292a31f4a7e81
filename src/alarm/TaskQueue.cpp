#include "TaskQueue.h"

#include "audio/AlarmPlayback.h"
#include "core/Random.h"
#include "settings/Tunables.h"

namespace {
const QString Tag = QStringLiteral("DTC");
constexpr int EntryLength = 18;
constexpr int FieldLength = 3;
constexpr int Directions = 3;
// A burst is added whole, but only while the queue holds no more than this.
constexpr qsizetype QueueLimit = 999;
// The index field has three digits: a burst draws only from the first 1000 selected sounds,
// so every entry names a sound the player can find again.
constexpr qsizetype AddressableSounds = 1000;

/// The three-digit field at a 1-based position; -1 when it is not a number.
int field(const QString& entry, int position)
{
    const QString text = entry.mid(position - 1, FieldLength);
    bool ok = false;
    const int number = text.toInt(&ok);
    const bool digitsOnly = std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
    return ok && digitsOnly ? number : -1;
}

/// Turns the player loop's timer back on however the tick ends.
class ReenableOnExit
{
public:
    explicit ReenableOnExit(Timer& timer) : m_timer(timer) {}
    ~ReenableOnExit() { m_timer.setEnabled(true); }
    ReenableOnExit(const ReenableOnExit&) = delete;
    ReenableOnExit& operator=(const ReenableOnExit&) = delete;

private:
    Timer& m_timer;
};
} // namespace

QString ZeroPad(int number)
{
    return QString::number(number).rightJustified(FieldLength, QLatin1Char('0'));
}

QString TaskEntry(int soundIndex, int number, int panMode)
{
    return Tag + ZeroPad(soundIndex) + QStringLiteral("000") + ZeroPad(number) +
           QStringLiteral("000") + ZeroPad(panMode);
}

std::optional<PlayTask> ParseTaskEntry(const QString& entry, qsizetype soundCount)
{
    if (entry.size() != EntryLength || !entry.startsWith(Tag))
        return std::nullopt;
    const PlayTask task{field(entry, 13), field(entry, 16), field(entry, 4)};
    if (task.slot < 0 || task.slot >= PlaySlotCount || task.panMode < 0 ||
        task.panMode >= Directions || task.soundIndex < 0 || task.soundIndex >= soundCount)
        return std::nullopt;
    return task;
}

TaskQueue::TaskQueue(TimerEngine& timers, RandomSource& random, const TunableValues& tunables,
                     const QStringList& selectedSounds, const QString& soundsFolder,
                     AlarmPlayback& playback, QObject* parent)
    : QObject(parent), m_random(random), m_tunables(tunables), m_selectedSounds(selectedSounds),
      m_soundsFolder(soundsFolder), m_playback(playback), m_timTask(timers, 250)
{
    connect(&m_timTask, &Timer::timeout, this, &TaskQueue::TimTaskTimer);
}

void TaskQueue::AddTask()
{
    if (m_entries.size() > QueueLimit || m_selectedSounds.isEmpty())
        return;
    const int pool = int(std::min(m_selectedSounds.size(), AddressableSounds));
    const int extra = m_tunables.value(Tunable::trkPersistence) +
                      m_random.Random(m_tunables.value(Tunable::trkPersistenceRandom));
    for (int i = 0; i <= extra; ++i) {
        const int soundIndex = m_random.Random(pool);
        const int number = m_random.Random(1000);
        const int panMode = m_random.Random(Directions);
        m_entries.append(TaskEntry(soundIndex, number, panMode));
    }
}

void TaskQueue::TimTaskTimer()
{
    m_timTask.setEnabled(false);
    const ReenableOnExit reenable(m_timTask);
    if (m_entries.isEmpty() || m_playback.IsPlaying())
        return;
    // An entry the player cannot address is dropped, so it cannot block the queue for good.
    if (const auto task = ParseTaskEntry(m_entries.first(), m_selectedSounds.size()))
        m_playback.PlayHow(task->slot, task->panMode,
                           m_soundsFolder + m_selectedSounds.at(task->soundIndex));
    m_entries.removeFirst();
}

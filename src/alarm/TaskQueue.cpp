#include "TaskQueue.h"

#include "audio/AlarmPlayback.h"
#include "core/Random.h"
#include "settings/Tunables.h"

#include <utility>

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
// While entries wait, the player loop looks this often whether the sound before has ended.
constexpr int PollMs = 250;
// A waking loop's first look comes at once, yet never inside AddTask: its caller finishes first
// (reports the trigger, say). A Timer never fires at 0 ms.
constexpr int WakeMs = 1;

/// The three-digit field at a 1-based position; -1 when it is not a number.
int field(const QString& entry, int position)
{
    const QString text = entry.mid(position - 1, FieldLength);
    bool ok = false;
    const int number = text.toInt(&ok);
    const bool digitsOnly = std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
    return ok && digitsOnly ? number : -1;
}

/// Runs an action however the scope ends.
template <typename Action> class OnExit
{
public:
    explicit OnExit(Action action) : m_action(std::move(action)) {}
    ~OnExit() { m_action(); }
    OnExit(const OnExit&) = delete;
    OnExit& operator=(const OnExit&) = delete;

private:
    Action m_action;
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
      m_soundsFolder(soundsFolder), m_playback(playback), m_timTask(timers, PollMs)
{
    connect(&m_timTask, &Timer::timeout, this, &TaskQueue::TimTaskTimer);
}

void TaskQueue::start()
{
    m_running = true;
    wake();
}

void TaskQueue::stopTimers()
{
    m_running = false;
    m_timTask.setEnabled(false);
}

void TaskQueue::wake()
{
    // The one timer is both the wake and the poll, so a wake can never add a second tick: an
    // awake loop is left to its rhythm, since enabling an enabled timer does not restart it.
    if (!m_running || m_entries.isEmpty() || m_timTask.isEnabled())
        return;
    m_timTask.setInterval(WakeMs);
    m_timTask.setEnabled(true);
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
    wake();
    emit burstQueued();
}

void TaskQueue::TimTaskTimer()
{
    // Off while the tick runs, so ticks never overlap. However it ends, the loop polls on
    // while entries remain and sleeps otherwise; the loop was awake all along, so a burst
    // queued meanwhile waits for the next poll like any other.
    m_timTask.setEnabled(false);
    const OnExit pollWhileQueued([this] {
        m_timTask.setInterval(PollMs);
        m_timTask.setEnabled(m_running && !m_entries.isEmpty());
    });
    if (m_entries.isEmpty() || m_playback.IsPlaying())
        return;
    // An entry the player cannot address is dropped, so it cannot block the queue for good.
    if (const auto task = ParseTaskEntry(m_entries.first(), m_selectedSounds.size()))
        m_playback.PlayHow(task->slot, task->panMode,
                           m_soundsFolder + m_selectedSounds.at(task->soundIndex));
    m_entries.removeFirst();
}

#pragma once

#include "core/Clock.h"
#include "core/Timer.h"

#include <cstdint>
#include <map>

/// A manual clock that drives timers: advance() fires every timer that falls due, in time order,
/// so hours of timer behaviour run in microseconds.
class VirtualClock : public Clock, public TimerEngine
{
public:
    explicit VirtualClock(QDateTime start = QDateTime(QDate(2026, 3, 7), QTime(21, 5)));
    ~VirtualClock() override;

    QDateTime now() const override;
    qint64 elapsedMs() const { return m_nowMs; }
    void advance(qint64 ms);

    std::unique_ptr<TimerBackend> createBackend(std::function<void()> onTimeout) override;

private:
    class Backend;
    friend class Backend;
    struct Schedule
    {
        qint64 due;
        std::uint64_t sequence;
        bool operator<(const Schedule& o) const
        {
            return due != o.due ? due < o.due : sequence < o.sequence;
        }
    };

    void schedule(Backend* backend, qint64 due);
    void unschedule(Backend* backend);

    QDateTime m_start;
    qint64 m_nowMs = 0;
    std::uint64_t m_sequence = 0;
    std::map<Schedule, Backend*> m_queue;
    std::map<Backend*, Schedule> m_scheduled;
};

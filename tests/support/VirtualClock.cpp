#include "VirtualClock.h"

class VirtualClock::Backend : public TimerBackend
{
public:
    Backend(VirtualClock& clock, std::function<void()> onTimeout)
        : m_clock(clock), m_onTimeout(std::move(onTimeout))
    {
    }
    ~Backend() override { m_clock.unschedule(this); }

    void start(int ms) override
    {
        m_period = ms;
        m_clock.schedule(this, m_clock.m_nowMs + ms);
    }
    void stop() override { m_clock.unschedule(this); }

    qint64 m_period = 0;
    VirtualClock& m_clock;
    std::function<void()> m_onTimeout;
};

VirtualClock::VirtualClock(QDateTime start) : m_start(std::move(start)) {}

VirtualClock::~VirtualClock() = default;

QDateTime VirtualClock::now() const
{
    return m_start.addMSecs(m_nowMs);
}

std::unique_ptr<TimerBackend> VirtualClock::createBackend(std::function<void()> onTimeout)
{
    return std::make_unique<Backend>(*this, std::move(onTimeout));
}

void VirtualClock::schedule(Backend* backend, qint64 due)
{
    unschedule(backend);
    const Schedule s{due, m_sequence++};
    m_queue.emplace(s, backend);
    m_scheduled.emplace(backend, s);
}

void VirtualClock::unschedule(Backend* backend)
{
    const auto it = m_scheduled.find(backend);
    if (it == m_scheduled.end())
        return;
    m_queue.erase(it->second);
    m_scheduled.erase(it);
}

void VirtualClock::advance(qint64 ms)
{
    const qint64 target = m_nowMs + ms;
    while (!m_queue.empty() && m_queue.begin()->first.due <= target) {
        const auto [schedule, backend] = *m_queue.begin();
        m_nowMs = schedule.due;
        // Periodic: the next tick is due one period after this one, unless the handler
        // stops or restarts the timer.
        this->schedule(backend, schedule.due + backend->m_period);
        backend->m_onTimeout();
    }
    m_nowMs = target;
}

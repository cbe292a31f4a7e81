#include "Timer.h"

Timer::Timer(TimerEngine& engine, int intervalMs, QObject* parent)
    : QObject(parent), m_backend(engine.createBackend([this] { onBackendTimeout(); })),
      m_interval(intervalMs)
{
}

void Timer::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    restart();
}

void Timer::setInterval(int ms)
{
    if (ms == m_interval)
        return;
    m_interval = ms;
    restart();
}

void Timer::restart()
{
    if (m_enabled && m_interval > 0)
        m_backend->start(m_interval);
    else
        m_backend->stop();
}

void Timer::onBackendTimeout()
{
    // A backend may have queued the tick before a disable in the same turn of the loop.
    if (m_enabled && m_interval > 0)
        emit timeout();
}

#pragma once

#include <QObject>
#include <functional>
#include <memory>

/// What actually counts time for a Timer: Qt's event loop in the program, a virtual clock in tests.
class TimerBackend
{
public:
    virtual ~TimerBackend() = default;
    /// Starts (or restarts) a periodic count of ms milliseconds.
    virtual void start(int ms) = 0;
    virtual void stop() = 0;
};

class TimerEngine
{
public:
    virtual ~TimerEngine() = default;
    /// The backend calls onTimeout on the main thread each time the period elapses.
    virtual std::unique_ptr<TimerBackend> createBackend(std::function<void()> onTimeout) = 0;
};

/// A periodic main-thread timer with the rules the alarm logic relies on: enabling an enabled
/// timer does not restart its count, a new interval restarts an enabled timer, a disabled timer
/// never fires, and an interval of 0 never fires.
class Timer : public QObject
{
    Q_OBJECT
public:
    Timer(TimerEngine& engine, int intervalMs, QObject* parent = nullptr);

    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    int interval() const { return m_interval; }
    void setInterval(int ms);

signals:
    void timeout();

private:
    void restart();
    void onBackendTimeout();

    std::unique_ptr<TimerBackend> m_backend;
    int m_interval;
    bool m_enabled = false;
};

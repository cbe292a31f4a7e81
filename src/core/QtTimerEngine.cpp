#include "QtTimerEngine.h"

#include <QTimer>

namespace {
class QtTimerBackend : public TimerBackend
{
public:
    explicit QtTimerBackend(std::function<void()> onTimeout)
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, std::move(onTimeout));
    }
    void start(int ms) override { m_timer.start(ms); }
    void stop() override { m_timer.stop(); }

private:
    QTimer m_timer;
};
} // namespace

std::unique_ptr<TimerBackend> QtTimerEngine::createBackend(std::function<void()> onTimeout)
{
    return std::make_unique<QtTimerBackend>(std::move(onTimeout));
}

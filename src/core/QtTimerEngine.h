#pragma once

#include "Timer.h"

/// Timers on Qt's event loop, for the running program.
class QtTimerEngine : public TimerEngine
{
public:
    std::unique_ptr<TimerBackend> createBackend(std::function<void()> onTimeout) override;
};

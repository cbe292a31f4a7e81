#pragma once

#include <QDateTime>

/// Where time stamps and the random seed come from; tests put in a virtual clock.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

class SystemClock : public Clock
{
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

#pragma once

#include "alarm/AlarmTrigger.h"

#include <QStringList>

/// Records every request for the alarm.
class FakeAlarmTrigger : public AlarmTrigger
{
public:
    void ActivateAlarm(const QString& message) override { requests << message; }
    QStringList requests;
};

#pragma once

#include <QString>

/// Where the detectors and the simulation ask for the alarm; the controller decides.
class AlarmTrigger
{
public:
    virtual ~AlarmTrigger() = default;
    /// The one entry point for triggers; a rejected trigger changes nothing at all.
    virtual void ActivateAlarm(const QString& message) = 0;
};

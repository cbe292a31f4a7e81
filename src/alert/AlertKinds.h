#pragma once

#include <QString>

/// The kind of alert a report line is, or empty when it is none: arming and disarming, PIN
/// trouble, and tampering that is not itself a trigger.
QString AlertKindOfReportMessage(const QString& message);
/// The kind of alert an accepted trigger is: a trigger, unless it is tampering or a wrong PIN.
QString AlertKindOfTrigger(const QString& message);

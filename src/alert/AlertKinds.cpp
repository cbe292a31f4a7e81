#include "AlertKinds.h"

#include "guard/AlertSettings.h"

#include <QHash>

QString AlertKindOfReportMessage(const QString& message)
{
    static const QHash<QString, QString> kinds{
        {QStringLiteral("Alarm - Activated"), AlertKind::Arming},
        {QStringLiteral("Alarm - Stoped"), AlertKind::Arming},
        {QStringLiteral("Wrong PIN entered"), AlertKind::Pin},
        {QStringLiteral("Stored PIN damaged - no PIN can disarm"), AlertKind::Pin},
        {QStringLiteral("Speakers muted - restored"), AlertKind::Tamper},
        {QStringLiteral("Volume lowered - restored"), AlertKind::Tamper},
        {QStringLiteral("Alarm - Terminated while armed"), AlertKind::Tamper},
    };
    return kinds.value(message);
}

QString AlertKindOfTrigger(const QString& message)
{
    if (message == QLatin1String("Microphone muted"))
        return AlertKind::Tamper;
    if (message == QLatin1String("Disarm attempt with a wrong PIN"))
        return AlertKind::Pin;
    return AlertKind::Trigger;
}

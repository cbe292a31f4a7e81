#include "AlertTransport.h"

QString AlertOutcome::text() const
{
    if (delivered)
        return QStringLiteral("delivered");
    if (httpStatus != 0)
        return QStringLiteral("HTTP status %1").arg(httpStatus);
    return error.isEmpty() ? QStringLiteral("no answer") : error;
}

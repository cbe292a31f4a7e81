#include "SystemPrograms.h"

#include <QProcess>
#include <QStandardPaths>

bool SystemPrograms::isInstalled(const QString& program) const
{
    return !QStandardPaths::findExecutable(program).isEmpty();
}

bool SystemPrograms::startDetached(const QString& program, const QStringList& arguments)
{
    return QProcess::startDetached(program, arguments);
}

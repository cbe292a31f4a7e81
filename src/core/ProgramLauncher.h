#pragma once

#include <QString>
#include <QStringList>

/// Starts the desktop's own programs, detached: nothing waits for them.
class ProgramLauncher
{
public:
    virtual ~ProgramLauncher() = default;
    /// Whether the program can be found on the search path.
    virtual bool isInstalled(const QString& program) const = 0;
    /// False when it could not be started.
    virtual bool startDetached(const QString& program, const QStringList& arguments) = 0;
};

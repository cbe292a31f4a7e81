#pragma once

#include "app/SoundSettings.h"
#include "core/ProgramLauncher.h"

#include <QList>

/// A search path with the programs the test puts on it; what is started is recorded, and
/// starting fails for any program not installed.
struct FakeProgramLauncher : ProgramLauncher
{
    QStringList installed;
    QList<ProgramCommand> started;

    bool isInstalled(const QString& program) const override { return installed.contains(program); }
    bool startDetached(const QString& program, const QStringList& arguments) override
    {
        if (!installed.contains(program))
            return false;
        started.append({program, arguments});
        return true;
    }
};

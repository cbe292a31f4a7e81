#pragma once

#include "core/ProgramLauncher.h"

/// The programs on the search path, started as processes of their own.
class SystemPrograms : public ProgramLauncher
{
public:
    bool isInstalled(const QString& program) const override;
    bool startDetached(const QString& program, const QStringList& arguments) override;
};

#pragma once

#include <QString>
#include <QTemporaryDir>

/// A private per-user world for one test: XDG folders in a temporary folder and the program's
/// folder globals pointing into it.
class TempEnvironment
{
public:
    TempEnvironment();
    QString root() const { return m_dir.path(); }
    QString settingsFile() const;

private:
    QTemporaryDir m_dir;
};

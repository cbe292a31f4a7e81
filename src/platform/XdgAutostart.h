#pragma once

#include "alarm/AutostartEntry.h"

#include <QString>

/// The start-at-logon entry as a freedesktop autostart file,
/// $XDG_CONFIG_HOME/autostart/ostrel.desktop, whose Exec starts the given executable.
class XdgAutostart : public AutostartEntry
{
public:
    explicit XdgAutostart(const QString& executablePath);

    void write() override;
    void remove() override;

    /// Where the entry lives for the current user.
    static QString filePath();

private:
    QString m_executablePath;
};

/// The Exec value that runs exactly this program: the path as one quoted argument, escaped
/// so that a space, quote, backslash, "$", "`" or "%" in it survives.
QString DesktopExecValue(const QString& executablePath);

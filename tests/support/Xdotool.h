#pragma once

// The user's hand on the test rig's X server, through xdotool.
#include <QProcess>
#include <QString>
#include <QStringList>

/// Runs a command to its end; its standard output, or nothing after the timeout.
inline QString run(const QString& program, const QStringList& arguments, int timeoutMs = 20000)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

inline QString xdotool(const QStringList& arguments)
{
    return run(QStringLiteral("xdotool"), arguments);
}

/// Gives the window the keyboard, then presses and releases the key there. Both go through the
/// server's test keyboard without naming the window: xdotool aimed at a window that the press
/// closes would send the release after it in vain, and the key would stay held down, repeating
/// into every window that gets the keyboard later.
inline void pressKey(const QString& window, const QString& key)
{
    xdotool({"windowfocus", "--sync", window});
    xdotool({"key", key});
}

/// Types the text into the window the same way.
inline void typeText(const QString& window, const QString& text)
{
    xdotool({"windowfocus", "--sync", window});
    xdotool({"type", "--delay", "20", text});
}

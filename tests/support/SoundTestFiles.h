#pragma once

#include "settings/gRegistry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

/// Writes a file, creating its folders; returns its path.
inline QString makeFile(const QString& path, const QByteArray& content = {})
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        qFatal("cannot create %s", qPrintable(path));
    return path;
}

/// The names stored under the sound selection key, sorted.
inline QStringList storedSelection(SettingsStore& store)
{
    QStringList names;
    store.ReadSettingNames(gRegistry::SoundSelectionKey, names);
    names.sort();
    return names;
}

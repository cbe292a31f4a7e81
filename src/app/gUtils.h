#pragma once

#include <QString>

/// Appends the folder separator unless the text is empty or already ends in one.
QString AddTrailingBackslash(const QString& path);

/// The per-user data folder ($XDG_DATA_HOME), without a guaranteed trailing separator; empty when
/// the system cannot say where it is.
QString GetAppDataFolder();

/// The per-user settings file.
QString SettingsFilePath();

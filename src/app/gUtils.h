#pragma once

#include "core/Paths.h"

#include <QString>

/// The per-user data folder ($XDG_DATA_HOME), without a guaranteed trailing separator; empty when
/// the system cannot say where it is.
QString GetAppDataFolder();

/// The per-user settings file.
QString SettingsFilePath();

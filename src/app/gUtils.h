#pragma once

#include "core/Paths.h"

#include <QString>

/// The per-user data folder ($XDG_DATA_HOME), without a guaranteed trailing separator; empty when
/// the system cannot say where it is.
QString GetAppDataFolder();

/// The per-user settings file.
QString SettingsFilePath();

/// Which of the two kinds of system sound settings the system has: the older with separate
/// volume and recording controls, or the newer with one place for both.
enum class WinVersionClass { Older, Newer };
/// Every Linux desktop's sound settings are of the newer kind.
WinVersionClass GetWinVersionClass();

#pragma once

#include <QString>

// The program's folders, each ending in "/". Set once at start, before the main window exists,
// and read-only afterwards.
extern QString AppFolder;
extern QString DataFolder;
extern QString SoundsFolder;
extern QString ReportsFolder;

/// Fixes the four folders from the executable's path and the per-user data folder.
void SetFolderGlobals(const QString& executablePath, const QString& appDataFolder);

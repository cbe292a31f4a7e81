#include "gVars.h"

#include "gUtils.h"

#include <QFileInfo>

QString AppFolder;
QString DataFolder;
QString SoundsFolder;
QString ReportsFolder;

void SetFolderGlobals(const QString& executablePath, const QString& appDataFolder)
{
    AppFolder = AddTrailingBackslash(QFileInfo(executablePath).absolutePath());
    DataFolder = AddTrailingBackslash(appDataFolder) + AddTrailingBackslash(QStringLiteral("Quillmere/Ostrel"));
    SoundsFolder = DataFolder + QStringLiteral("Sounds/");
    ReportsFolder = DataFolder + QStringLiteral("Reports/");
}

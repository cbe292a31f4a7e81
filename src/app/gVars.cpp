#include "gVars.h"

#include "core/Product.h"
#include "gUtils.h"

#include <QFileInfo>

QString AppFolder;
QString DataFolder;
QString SoundsFolder;
QString ReportsFolder;

void SetFolderGlobals(const QString& executablePath, const QString& appDataFolder)
{
    AppFolder = AddTrailingBackslash(QFileInfo(executablePath).absolutePath());
    DataFolder = AddTrailingBackslash(appDataFolder) + AddTrailingBackslash(Product::Folder);
    SoundsFolder = DataFolder + QStringLiteral("Sounds/");
    ReportsFolder = DataFolder + QStringLiteral("Reports/");
}

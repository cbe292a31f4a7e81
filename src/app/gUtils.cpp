#include "gUtils.h"

#include "core/Product.h"

#include <QStandardPaths>

QString GetAppDataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

WinVersionClass GetWinVersionClass()
{
    return WinVersionClass::Newer;
}

QString SettingsFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QLatin1Char('/') + Product::Folder + QStringLiteral(".ini");
}

#include "TempEnvironment.h"

#include "app/gUtils.h"
#include "app/gVars.h"

#include <QDir>
#include <QStandardPaths>

TempEnvironment::TempEnvironment()
{
    const QString root = m_dir.path();
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"}) {
        const QString folder = root + QLatin1Char('/') + QString::fromLatin1(name).toLower();
        QDir().mkpath(folder);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv(name, folder.toLocal8Bit());
    }
    SetFolderGlobals(root + QStringLiteral("/bin/ostrel"), GetAppDataFolder());
}

QString TempEnvironment::settingsFile() const
{
    return SettingsFilePath();
}

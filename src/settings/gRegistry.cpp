#include "gRegistry.h"

#include <QUrl>

namespace {
// QSettings treats "/" and "\" in names as group separators and folds some characters, so every
// level and value name is percent-encoded first: any file name round-trips exactly.
QString encodeName(const QString& name)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(name, " "));
}

QString decodeName(const QString& stored)
{
    return QUrl::fromPercentEncoding(stored.toLatin1());
}

QString groupOf(const QString& keyPath)
{
    QStringList levels;
    for (const QString& level : keyPath.split(QLatin1Char('\\'), Qt::SkipEmptyParts))
        levels << encodeName(level);
    return levels.join(QLatin1Char('/'));
}

QString settingOf(const QString& keyPath, const QString& valueName)
{
    return groupOf(keyPath) + QLatin1Char('/') + encodeName(valueName);
}
} // namespace

SettingsStore::SettingsStore(const QString& filePath) : m_settings(filePath, QSettings::IniFormat) {}

bool SettingsStore::DeleteSetting(const QString& keyPath, const QString& valueName)
{
    const QString setting = settingOf(keyPath, valueName);
    if (!m_settings.contains(setting))
        return false;
    m_settings.remove(setting);
    return true;
}

bool SettingsStore::DeleteSettingsKey(const QString& keyPath)
{
    const QString group = groupOf(keyPath);
    m_settings.beginGroup(group);
    const bool exists = !m_settings.allKeys().isEmpty();
    m_settings.endGroup();
    m_settings.remove(group);
    return exists;
}

void SettingsStore::WriteSetting(const QString& keyPath, const QString& valueName,
                                 const QString& text)
{
    m_settings.setValue(settingOf(keyPath, valueName), text);
}

QString SettingsStore::ReadSetting(const QString& keyPath, const QString& valueName)
{
    const QVariant value = m_settings.value(settingOf(keyPath, valueName));
    if (!value.canConvert<QString>())
        return {};
    // A stored text ends at its first NUL, as a registry string would.
    const QString text = value.toString();
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.left(nul);
}

bool SettingsStore::ReadSettingNames(const QString& keyPath, QStringList& names)
{
    names.clear();
    m_settings.beginGroup(groupOf(keyPath));
    for (const QString& stored : m_settings.childKeys())
        names << decodeName(stored);
    m_settings.endGroup();
    return true;
}

void SettingsStore::flush()
{
    m_settings.sync();
}

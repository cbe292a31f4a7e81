#include "gRegistry.h"

#include "core/AtomicFile.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace {
// The settings hold the disarm PIN's hash: readable by their owner alone.
constexpr unsigned PrivateFileMode = 0600;
// The settings file takes "/" and "\" in names for level separators and folds some characters,
// so every level and value name is percent-encoded first: any file name round-trips exactly.
QString encodeName(const QString& name)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(name, " "));
}

QString decodeName(const QString& stored)
{
    return QUrl::fromPercentEncoding(stored.toLatin1());
}

/// What every setting under the key path starts with: its levels, each followed by '/'.
QString prefixOf(const QString& keyPath)
{
    QString prefix;
    for (const QString& level : keyPath.split(QLatin1Char('\\'), Qt::SkipEmptyParts))
        prefix += encodeName(level) + QLatin1Char('/');
    return prefix;
}

QString settingOf(const QString& keyPath, const QString& valueName)
{
    return prefixOf(keyPath) + encodeName(valueName);
}
} // namespace

SettingsStore::SettingsStore(const QString& filePath)
    : m_path(QFileInfo(filePath).absoluteFilePath()), m_values(ReadIniFile(m_path))
{
    m_saveSoon.setSingleShot(true);
    m_saveSoon.setInterval(0);
    QObject::connect(&m_saveSoon, &QTimer::timeout, [this] { flush(); });
}

SettingsStore::~SettingsStore()
{
    flush();
}

bool SettingsStore::DeleteSetting(const QString& keyPath, const QString& valueName)
{
    if (!m_values.remove(settingOf(keyPath, valueName)))
        return false;
    changed();
    return true;
}

bool SettingsStore::DeleteSettingsKey(const QString& keyPath)
{
    const QString prefix = prefixOf(keyPath);
    auto it = m_values.lowerBound(prefix);
    const bool exists = it != m_values.end() && it.key().startsWith(prefix);
    while (it != m_values.end() && it.key().startsWith(prefix))
        it = m_values.erase(it);
    if (exists)
        changed();
    return exists;
}

void SettingsStore::WriteSetting(const QString& keyPath, const QString& valueName,
                                 const QString& text)
{
    const QString setting = settingOf(keyPath, valueName);
    const auto it = m_values.constFind(setting);
    if (it != m_values.cend() && *it == text)
        return;
    m_values.insert(setting, text);
    changed();
}

QString SettingsStore::ReadSetting(const QString& keyPath, const QString& valueName)
{
    // A stored text ends at its first NUL, as a registry string would.
    const QString text = m_values.value(settingOf(keyPath, valueName));
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.left(nul);
}

bool SettingsStore::ReadSettingNames(const QString& keyPath, QStringList& names)
{
    names.clear();
    const QString prefix = prefixOf(keyPath);
    for (auto it = m_values.lowerBound(prefix); it != m_values.end() && it.key().startsWith(prefix); ++it) {
        const QString name = it.key().mid(prefix.size());
        if (!name.contains(QLatin1Char('/')))
            names << decodeName(name);
    }
    return true;
}

bool SettingsStore::flush()
{
    m_saveSoon.stop();
    if (!m_unsaved)
        return true;
    if (!QDir().mkpath(QFileInfo(m_path).path()) ||
        !WriteFileAtomically(m_path, IniText(m_values), nullptr, PrivateFileMode))
        return false;
    m_unsaved = false;
    return true;
}

void SettingsStore::changed()
{
    m_unsaved = true;
    m_saveSoon.start();
}

#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>

/// Key paths of the settings layout. A path is written with a leading backslash and "\" between
/// its levels; the store turns the levels into groups of its file.
namespace gRegistry {
inline const QString StateKey = QStringLiteral("\\SoftWare\\Quillmere\\Ostrel\\S");
inline const QString TuningKey = QStringLiteral("\\SoftWare\\Quillmere\\Ostrel\\S\\set");
inline const QString SoundSelectionKey = QStringLiteral("\\SoftWare\\Quillmere\\Ostrel\\S\\snd");
inline const QString LocationKey = QStringLiteral("\\SoftWare\\Quillmere\\Ostrel\\V");
} // namespace gRegistry

/// The per-user settings: text values under key paths, in one INI file. Changes are kept in
/// memory and written back (atomically, by QSettings) at the next turn of the event loop, at
/// flush() and at destruction, so a rebuild that writes thousands of values saves once.
/// Failures are silent: a key that cannot be stored simply reads as empty.
class SettingsStore
{
public:
    explicit SettingsStore(const QString& filePath);

    bool DeleteSetting(const QString& keyPath, const QString& valueName);
    bool DeleteSettingsKey(const QString& keyPath);
    void WriteSetting(const QString& keyPath, const QString& valueName, const QString& text);
    QString ReadSetting(const QString& keyPath, const QString& valueName);
    bool ReadSettingNames(const QString& keyPath, QStringList& names);

    /// Writes pending changes to the file now.
    void flush();
    QString filePath() const { return m_settings.fileName(); }

private:
    QSettings m_settings;
};

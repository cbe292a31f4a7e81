#pragma once

#include "IniFile.h"

#include <QString>
#include <QStringList>
#include <QTimer>

/// Key paths of the settings layout. A path is written with a leading backslash and "\" between
/// its levels; the store turns the levels into groups of its file.
namespace gRegistry {
inline const QString StateKey = QStringLiteral("\\SoftWare\\Quillmere\\Ostrel\\S");
inline const QString TuningKey = QStringLiteral("\\SoftWare\\Quillmere\\Ostrel\\S\\set");
inline const QString SoundSelectionKey = QStringLiteral("\\SoftWare\\Quillmere\\Ostrel\\S\\snd");
inline const QString GuardKey = QStringLiteral("\\SoftWare\\Quillmere\\Ostrel\\S\\guard");
inline const QString LocationKey = QStringLiteral("\\SoftWare\\Quillmere\\Ostrel\\V");
} // namespace gRegistry

/// The per-user settings: text values under key paths, in one INI file. Changes are kept in
/// memory and written back, whole or not at all, at the next turn of the event loop, at flush()
/// and at destruction, so a rebuild that writes thousands of values saves once. A write that
/// fails keeps the old file and the changes in memory, and is tried again at the next change.
class SettingsStore
{
public:
    explicit SettingsStore(const QString& filePath);
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    bool DeleteSetting(const QString& keyPath, const QString& valueName);
    bool DeleteSettingsKey(const QString& keyPath);
    void WriteSetting(const QString& keyPath, const QString& valueName, const QString& text);
    QString ReadSetting(const QString& keyPath, const QString& valueName);
    bool ReadSettingNames(const QString& keyPath, QStringList& names);

    /// Writes pending changes to the file now; false when they could not be written.
    bool flush();
    QString filePath() const { return m_path; }

private:
    void changed();

    QString m_path;
    IniValues m_values; // keyed by percent-encoded levels and value name, joined by '/'
    bool m_unsaved = false;
    QTimer m_saveSoon;
};

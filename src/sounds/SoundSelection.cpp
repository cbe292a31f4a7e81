#include "SoundSelection.h"

#include "core/ControlStateRefresh.h"
#include "settings/gRegistry.h"

SoundSelection::SoundSelection(SettingsStore& store, SoundList& list, QStringList& selectedSounds,
                               ControlStateRefresh& controls)
    : m_store(store), m_list(list), m_selected(selectedSounds), m_controls(controls)
{
}

void SoundSelection::readStored()
{
    m_store.ReadSettingNames(gRegistry::SoundSelectionKey, m_selected);
}

void SoundSelection::RecreateSoundList()
{
    m_selected.clear();
    for (int row = 0; row < m_list.count(); ++row)
        if (m_list.isChecked(row))
            m_selected << m_list.text(row);
    // Only the value names matter: the whole key is written anew on every change.
    m_store.DeleteSettingsKey(gRegistry::SoundSelectionKey);
    for (const QString& name : std::as_const(m_selected))
        m_store.WriteSetting(gRegistry::SoundSelectionKey, name, QStringLiteral("T"));
    m_controls.KeyState();
}

void SoundSelection::CheckingCheckList(CheckMode mode)
{
    m_list.applyCheckMode(mode);
    RecreateSoundList();
}

void SoundSelection::add(const QString& name)
{
    m_selected << name;
}

QSet<QString> SoundSelection::foldedNames() const
{
    QSet<QString> folded;
    folded.reserve(m_selected.size());
    for (const QString& name : std::as_const(m_selected))
        folded.insert(name.toCaseFolded());
    return folded;
}

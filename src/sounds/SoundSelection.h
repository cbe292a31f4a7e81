#pragma once

#include "SoundList.h"

#include <QSet>
#include <QStringList>

class ControlStateRefresh;
class SettingsStore;

/// Which listed sounds the alarm may play: the names of the checked items in list order, kept
/// in the window's SelectedSounds and stored under the sound selection key after every change.
class SoundSelection
{
public:
    SoundSelection(SettingsStore& store, SoundList& list, QStringList& selectedSounds,
                   ControlStateRefresh& controls);

    /// Takes the stored names as they are, before the list is filled.
    void readStored();
    /// Rebuilds SelectedSounds from the check marks and stores it anew.
    void RecreateSoundList();
    void CheckingCheckList(CheckMode mode);

    /// Appends a name, so that the next fill of the list comes up with it checked.
    void add(const QString& name);
    /// Case-folded names for the fill's "is it selected" test, letter case ignored.
    QSet<QString> foldedNames() const;

private:
    SettingsStore& m_store;
    SoundList& m_list;
    QStringList& m_selected;
    ControlStateRefresh& m_controls;
};

#pragma once

#include "Tunables.h"

class SettingsStore;

/// Keeps the tunable controls and their stored values in step.
class TunableSettings
{
public:
    TunableSettings(SettingsStore& store, TunableControls& controls);

    /// The stored value name: the main window's name followed by the control's name.
    static QString valueName(Tunable id);

    /// Every real change of a control's value, by the user or the program, lands here.
    void valueChanged(Tunable id, int value);

    /// Applies the stored values; texts that are not whole numbers are ignored.
    void LoadResetableSettings();

    /// Forgets every stored value and puts the defaults back; only the controls that change
    /// store their value again.
    void ResetToDefaults();

private:
    SettingsStore& m_store;
    TunableControls& m_controls;
};

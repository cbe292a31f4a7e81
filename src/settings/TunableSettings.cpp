#include "TunableSettings.h"

#include "gRegistry.h"

TunableSettings::TunableSettings(SettingsStore& store, TunableControls& controls)
    : m_store(store), m_controls(controls)
{
}

QString TunableSettings::valueName(Tunable id)
{
    return QStringLiteral("frmMain") + definitionOf(id).name;
}

void TunableSettings::valueChanged(Tunable id, int value)
{
    if (id == Tunable::trkMicSensivity)
        return;
    m_store.WriteSetting(gRegistry::TuningKey, valueName(id), QString::number(value));
}

void TunableSettings::LoadResetableSettings()
{
    for (const TunableDefinition& d : TunableDefinitions()) {
        const QString text = m_store.ReadSetting(gRegistry::TuningKey, valueName(d.id));
        bool isNumber = false;
        const int value = text.toInt(&isNumber);
        if (isNumber)
            m_controls.setValue(d.id, value);
    }
}

void TunableSettings::ResetToDefaults()
{
    m_store.DeleteSettingsKey(gRegistry::TuningKey);
    // The spin boxes go back in this order: trigger delay before activation delay.
    static const Tunable order[] = {
        Tunable::trkMicTriggerVolume, Tunable::trkMicTriggerDuration, Tunable::trkMouseSensivity,
        Tunable::trkAlarmVolume,      Tunable::trkGlobalAlteration,   Tunable::trkRandomAlteration,
        Tunable::trkPersistence,      Tunable::trkPersistenceRandom,  Tunable::spnTriggerDelay,
        Tunable::spnActivationDelay,  Tunable::spnSimulateEvery,      Tunable::spnSimulateRandom,
    };
    for (Tunable id : order)
        m_controls.setValue(id, definitionOf(id).defaultValue);
}

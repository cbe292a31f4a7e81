#include "GuardSettings.h"

#include "settings/gRegistry.h"

#include <algorithm>

namespace {
const QString PinHashValue = QStringLiteral("PinHash");
const QString KeepSpeakersOnValue = QStringLiteral("KeepSpeakersOn");
const QString SpeakerVolumeValue = QStringLiteral("SpeakerVolume");
} // namespace

GuardSettings GuardSettings::read(SettingsStore& store)
{
    using gRegistry::GuardKey;
    GuardSettings settings;
    settings.pinHash = store.ReadSetting(GuardKey, PinHashValue).toUtf8();
    settings.keepSpeakersOn = store.ReadSetting(GuardKey, KeepSpeakersOnValue) == QLatin1String("T");
    bool number = false;
    const int volume = store.ReadSetting(GuardKey, SpeakerVolumeValue).toInt(&number);
    if (number)
        settings.speakerVolume = std::clamp(volume, MinSpeakerVolume, MaxSpeakerVolume);
    settings.alerts = AlertSettings::read(store);
    return settings;
}

void GuardSettings::write(SettingsStore& store) const
{
    using gRegistry::GuardKey;
    // Like the switches: a value while set, absent otherwise.
    if (pinHash.isEmpty())
        store.DeleteSetting(GuardKey, PinHashValue);
    else
        store.WriteSetting(GuardKey, PinHashValue, QString::fromUtf8(pinHash));
    if (keepSpeakersOn)
        store.WriteSetting(GuardKey, KeepSpeakersOnValue, QStringLiteral("T"));
    else
        store.DeleteSetting(GuardKey, KeepSpeakersOnValue);
    store.WriteSetting(GuardKey, SpeakerVolumeValue, QString::number(speakerVolume));
    alerts.write(store);
}

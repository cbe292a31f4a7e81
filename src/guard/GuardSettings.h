#pragma once

#include "AlertSettings.h"

#include <QByteArray>

class SettingsStore;

/// The protection options, under the guard key of the settings: all off until the user sets
/// them. Values written there from outside are read at the next start.
struct GuardSettings
{
    static constexpr int MinSpeakerVolume = 1;
    static constexpr int MaxSpeakerVolume = 150;
    static constexpr int DefaultSpeakerVolume = 100;

    QByteArray pinHash; ///< empty: no PIN
    bool keepSpeakersOn = false;
    int speakerVolume = DefaultSpeakerVolume; ///< per cent, while the speakers are kept on
    AlertSettings alerts{};

    static GuardSettings read(SettingsStore& store);
    void write(SettingsStore& store) const;
};

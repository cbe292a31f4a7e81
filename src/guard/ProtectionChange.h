#pragma once

#include "GuardSettings.h"

#include <QString>

/// What the protection dialog asks for. The PIN fields left empty keep the PIN as it is.
struct ProtectionChange
{
    QString currentPin{}; ///< needed to change or remove a PIN that is set
    QString newPin{};
    QString repeatedPin{};
    bool removePin = false;
    bool keepSpeakersOn = false;
    int speakerVolume = GuardSettings::DefaultSpeakerVolume;
    AlertSettings alerts{};
};

enum class ProtectionVerdict { Saved, WrongCurrentPin, PinLength, PinsDiffer, HashFailed, AlertAddress };

/// Applies the change to the settings when it is allowed; on any other verdict the settings
/// stay as they were.
ProtectionVerdict ApplyProtectionChange(GuardSettings& settings, const ProtectionChange& change);
/// What the dialog tells the user about a verdict that kept the settings; empty for Saved.
QString ProtectionVerdictText(ProtectionVerdict verdict);

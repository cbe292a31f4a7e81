#include "ProtectionChange.h"

#include "Pin.h"

#include <algorithm>

ProtectionVerdict ApplyProtectionChange(GuardSettings& settings, const ProtectionChange& change)
{
    if (change.alerts.enabled() && !AcceptsAlerts(change.alerts.url))
        return ProtectionVerdict::AlertAddress;
    const bool touchesPin = change.removePin || !change.newPin.isEmpty() || !change.repeatedPin.isEmpty();
    QByteArray pinHash = settings.pinHash;
    if (touchesPin) {
        if (!settings.pinHash.isEmpty() &&
            Pin::verify(settings.pinHash, change.currentPin) != Pin::Check::Right)
            return ProtectionVerdict::WrongCurrentPin;
        if (change.removePin) {
            pinHash.clear();
        } else {
            if (!Pin::acceptableLength(change.newPin))
                return ProtectionVerdict::PinLength;
            if (change.newPin != change.repeatedPin)
                return ProtectionVerdict::PinsDiffer;
            pinHash = Pin::hash(change.newPin);
            if (pinHash.isEmpty())
                return ProtectionVerdict::HashFailed;
        }
    }
    settings.pinHash = pinHash;
    settings.keepSpeakersOn = change.keepSpeakersOn;
    settings.speakerVolume = std::clamp(change.speakerVolume, GuardSettings::MinSpeakerVolume,
                                        GuardSettings::MaxSpeakerVolume);
    settings.alerts = change.alerts;
    settings.alerts.heartbeatMinutes =
        std::clamp(change.alerts.heartbeatMinutes, 0, AlertSettings::MaxHeartbeatMinutes);
    return ProtectionVerdict::Saved;
}

QString ProtectionVerdictText(ProtectionVerdict verdict)
{
    switch (verdict) {
    case ProtectionVerdict::Saved: return {};
    case ProtectionVerdict::WrongCurrentPin: return QStringLiteral("The current PIN is wrong.");
    case ProtectionVerdict::PinLength:
        return QStringLiteral("A PIN has %1 to %2 characters.").arg(Pin::MinLength).arg(Pin::MaxLength);
    case ProtectionVerdict::PinsDiffer: return QStringLiteral("The new PIN and its repetition differ.");
    case ProtectionVerdict::HashFailed: return QStringLiteral("The PIN could not be stored.");
    case ProtectionVerdict::AlertAddress:
        return QStringLiteral("The alert address must begin with https:// (http:// only to this computer).");
    }
    return {};
}

#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

class SettingsStore;

/// The kinds of event that may be sent; a heartbeat is sent whenever its interval is set.
namespace AlertKind {
inline const QString Trigger = QStringLiteral("trigger");
inline const QString Arming = QStringLiteral("arming");
inline const QString Pin = QStringLiteral("pin");
inline const QString Tamper = QStringLiteral("tamper");
inline const QString Heartbeat = QStringLiteral("heartbeat");
/// The kinds the user chooses from, in the dialog's order.
inline const QStringList Chosen{Trigger, Arming, Pin, Tamper};
} // namespace AlertKind

/// Where and how the events reach the owner: off until an address is set.
struct AlertSettings
{
    enum class Format { Ntfy, Json };
    static constexpr int MaxHeartbeatMinutes = 60;

    QUrl url{};
    QString token{}; ///< sent as a bearer token; never written anywhere but the settings
    Format format = Format::Ntfy;
    QStringList events = AlertKind::Chosen;
    int heartbeatMinutes = 0; ///< 0: no heartbeat
    bool sendHost = false;

    bool enabled() const { return !url.isEmpty(); }
    bool operator==(const AlertSettings&) const = default;
    bool sends(const QString& kind) const { return kind == AlertKind::Heartbeat || events.contains(kind); }

    static AlertSettings read(SettingsStore& store);
    void write(SettingsStore& store) const;
};

/// Whether alerts may go to the address: https, or plain http to this computer only.
bool AcceptsAlerts(const QUrl& url);

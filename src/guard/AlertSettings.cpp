#include "AlertSettings.h"

#include "settings/gRegistry.h"

#include <algorithm>

namespace {
const QString UrlValue = QStringLiteral("AlertUrl");
const QString TokenValue = QStringLiteral("AlertToken");
const QString FormatValue = QStringLiteral("AlertFormat");
const QString EventsValue = QStringLiteral("AlertEvents");
const QString HeartbeatValue = QStringLiteral("HeartbeatMinutes");
const QString SendHostValue = QStringLiteral("AlertSendHost");
const QString JsonName = QStringLiteral("json");
const QString NtfyName = QStringLiteral("ntfy");

/// This computer: "localhost", ::1, or an IPv4 address written out in 127.0.0.0/8.
bool isLoopback(const QString& host)
{
    if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0 || host == QLatin1String("::1"))
        return true;
    const QStringList parts = host.split(QLatin1Char('.'));
    if (parts.size() != 4 || parts.front() != QLatin1String("127"))
        return false;
    return std::all_of(parts.begin(), parts.end(), [](const QString& part) {
        bool number = false;
        const int value = part.toInt(&number);
        return number && part.size() <= 3 && !part.startsWith(QLatin1Char('+')) && value >= 0 && value <= 255;
    });
}
} // namespace

AlertSettings AlertSettings::read(SettingsStore& store)
{
    using gRegistry::GuardKey;
    AlertSettings settings;
    settings.url = QUrl(store.ReadSetting(GuardKey, UrlValue), QUrl::StrictMode);
    // An address written from outside that may not take alerts leaves them off.
    if (!AcceptsAlerts(settings.url))
        settings.url.clear();
    settings.token = store.ReadSetting(GuardKey, TokenValue);
    settings.format = store.ReadSetting(GuardKey, FormatValue) == JsonName ? Format::Json : Format::Ntfy;
    const QString events = store.ReadSetting(GuardKey, EventsValue);
    if (!events.isEmpty()) {
        settings.events.clear();
        for (const QString& kind : events.split(QLatin1Char(','), Qt::SkipEmptyParts))
            if (AlertKind::Chosen.contains(kind.trimmed()) && !settings.events.contains(kind.trimmed()))
                settings.events << kind.trimmed();
    }
    settings.heartbeatMinutes =
        std::clamp(store.ReadSetting(GuardKey, HeartbeatValue).toInt(), 0, MaxHeartbeatMinutes);
    settings.sendHost = store.ReadSetting(GuardKey, SendHostValue) == QLatin1String("T");
    return settings;
}

void AlertSettings::write(SettingsStore& store) const
{
    using gRegistry::GuardKey;
    const auto setOrDelete = [&store](const QString& name, const QString& value) {
        if (value.isEmpty())
            store.DeleteSetting(GuardKey, name);
        else
            store.WriteSetting(GuardKey, name, value);
    };
    setOrDelete(UrlValue, url.toString());
    setOrDelete(TokenValue, token);
    store.WriteSetting(GuardKey, FormatValue, format == Format::Json ? JsonName : NtfyName);
    // Absent means every kind; an empty choice is written as a word that names none.
    if (events == AlertKind::Chosen)
        store.DeleteSetting(GuardKey, EventsValue);
    else
        store.WriteSetting(GuardKey, EventsValue,
                           events.isEmpty() ? QStringLiteral("none") : events.join(QLatin1Char(',')));
    store.WriteSetting(GuardKey, HeartbeatValue, QString::number(heartbeatMinutes));
    setOrDelete(SendHostValue, sendHost ? QStringLiteral("T") : QString());
}

bool AcceptsAlerts(const QUrl& url)
{
    if (!url.isValid() || url.host().isEmpty())
        return false;
    return url.scheme() == QLatin1String("https") ||
           (url.scheme() == QLatin1String("http") && isLoopback(url.host()));
}

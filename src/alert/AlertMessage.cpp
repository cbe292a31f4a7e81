#include "AlertMessage.h"

#include "core/Product.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

namespace {
struct NtfyLook
{
    const char* priority;
    const char* tags;
};

NtfyLook lookOf(const QString& kind)
{
    if (kind == AlertKind::Trigger || kind == AlertKind::Tamper)
        return {"urgent", "rotating_light"};
    if (kind == AlertKind::Pin)
        return {"high", "warning"};
    if (kind == AlertKind::Heartbeat)
        return {"min", "heartbeat"};
    return {"default", "lock"};
}

/// A header value: as it is when plain ASCII, else encoded as RFC 2047 says.
QByteArray headerText(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    const bool plain = std::all_of(utf8.begin(), utf8.end(), [](char c) { return c >= 0x20 && c < 0x7f; });
    return plain ? utf8 : "=?UTF-8?B?" + utf8.toBase64() + "?=";
}
} // namespace

AlertRequest AlertMessage(const AlertEvent& event, const AlertSettings& settings,
                          const QString& hostName, int dropped)
{
    QString detail = event.detail;
    if (dropped > 0)
        detail += QStringLiteral(" (%1 earlier alerts were dropped unsent)").arg(dropped);
    const QString host = settings.sendHost ? hostName : QString();

    AlertRequest request{settings.url, {{"X-Ostrel-Event-Id", event.id.toUtf8()}}, {}};
    if (!settings.token.isEmpty())
        request.headers.emplaceBack("Authorization", "Bearer " + settings.token.toUtf8());
    if (settings.format == AlertSettings::Format::Json) {
        request.headers.emplaceBack("Content-Type", "application/json");
        const QJsonObject object{{QStringLiteral("event"), event.kind},
                                 {QStringLiteral("time"), event.time.toString(Qt::ISODateWithMs)},
                                 {QStringLiteral("host"), host},
                                 {QStringLiteral("detail"), detail},
                                 {QStringLiteral("id"), event.id}};
        request.body = QJsonDocument(object).toJson(QJsonDocument::Compact);
        return request;
    }
    const NtfyLook look = lookOf(event.kind);
    QString title = Product::Name + QStringLiteral(": ") + event.kind;
    if (!host.isEmpty())
        title += QStringLiteral(" on ") + host;
    request.headers.emplaceBack("Content-Type", "text/plain; charset=utf-8");
    request.headers.emplaceBack("Title", headerText(title));
    request.headers.emplaceBack("Priority", look.priority);
    request.headers.emplaceBack("Tags", look.tags);
    request.body = (event.time.toString(Qt::ISODate) + QLatin1Char(' ') + detail).toUtf8();
    return request;
}

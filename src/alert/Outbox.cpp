#include "Outbox.h"

#include "core/AtomicFile.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <optional>

namespace {
const QString DroppedKey = QStringLiteral("dropped");

QByteArray line(const AlertEvent& event)
{
    const QJsonObject object{{QStringLiteral("id"), event.id},
                             {QStringLiteral("kind"), event.kind},
                             {QStringLiteral("time"), event.time.toString(Qt::ISODateWithMs)},
                             {QStringLiteral("detail"), event.detail}};
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

std::optional<AlertEvent> eventFrom(const QJsonObject& object)
{
    AlertEvent event{object.value(QStringLiteral("id")).toString(),
                     object.value(QStringLiteral("kind")).toString(),
                     QDateTime::fromString(object.value(QStringLiteral("time")).toString(), Qt::ISODateWithMs),
                     object.value(QStringLiteral("detail")).toString()};
    if (event.id.isEmpty() || event.kind.isEmpty() || !event.time.isValid())
        return std::nullopt;
    return event;
}
} // namespace

Outbox::Outbox(QString path) : m_path(std::move(path)) {}

void Outbox::load()
{
    m_events.clear();
    m_lines.clear();
    m_dropped = 0;
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    while (!file.atEnd()) {
        const QJsonDocument document = QJsonDocument::fromJson(file.readLine());
        if (!document.isObject())
            continue;
        const QJsonObject object = document.object();
        if (object.contains(DroppedKey)) {
            m_dropped = std::max(0, object.value(DroppedKey).toInt());
            continue;
        }
        if (const auto event = eventFrom(object))
            add(*event);
    }
}

bool Outbox::holds(const QString& kind) const
{
    return std::any_of(m_events.begin(), m_events.end(), [&](const AlertEvent& e) { return e.kind == kind; });
}

void Outbox::add(AlertEvent event)
{
    m_lines.push_back(line(event));
    m_events.push_back(std::move(event));
    while (m_events.size() > Capacity) {
        m_events.pop_front();
        m_lines.pop_front();
        ++m_dropped;
    }
}

void Outbox::delivered(const QString& id, int toldDropped)
{
    const auto event = std::find_if(m_events.begin(), m_events.end(),
                                    [&](const AlertEvent& e) { return e.id == id; });
    if (event != m_events.end()) {
        m_lines.erase(m_lines.begin() + (event - m_events.begin()));
        m_events.erase(event);
    } else {
        --m_dropped; // counted as pushed out, yet it arrived
    }
    m_dropped = std::max(0, m_dropped - toldDropped);
}

bool Outbox::save() const
{
    QByteArray bytes;
    if (m_dropped > 0)
        bytes += QJsonDocument(QJsonObject{{DroppedKey, m_dropped}}).toJson(QJsonDocument::Compact) + '\n';
    for (const QByteArray& encoded : m_lines)
        bytes += encoded;
    // The events may name what happened at home: the owner's eyes only.
    return WriteFileAtomically(m_path, bytes, nullptr, 0600);
}

#pragma once

#include <QDateTime>
#include <QString>
#include <deque>

/// One event on its way to the owner's alert address.
struct AlertEvent
{
    QString id;     ///< unique, so that a receiver can drop a repeat
    QString kind;   ///< "trigger", "arming", "pin", "tamper" or "heartbeat"
    QDateTime time; ///< when it happened, in UTC
    QString detail; ///< the report's words for it

    bool operator==(const AlertEvent&) const = default;
};

/// The events not yet delivered, oldest first, mirrored whole in a file after every change so
/// that they survive a crash or a restart. It holds at most Capacity events: a new one beyond
/// pushes out the oldest, and the count of those pushed out waits to be told.
class Outbox
{
public:
    static constexpr std::size_t Capacity = 1000;

    explicit Outbox(QString path);

    /// Reads the file as far as it makes sense: a damaged or cut-off line is skipped, a missing
    /// file is an empty outbox.
    void load();
    const std::deque<AlertEvent>& events() const { return m_events; }
    bool empty() const { return m_events.empty(); }
    bool full() const { return m_events.size() >= Capacity; }
    /// Whether an event of the kind waits.
    bool holds(const QString& kind) const;
    /// How many events were pushed out unsent since the last told.
    int dropped() const { return m_dropped; }

    void add(AlertEvent event);
    /// The event was delivered, telling `toldDropped` of the pushed-out ones. One pushed out
    /// while it was under way is gone already, and no longer counts as lost.
    void delivered(const QString& id, int toldDropped);

    /// False when the file could not be written; the events stay in memory and the next change
    /// writes them all.
    bool save() const;

private:
    QString m_path;
    std::deque<AlertEvent> m_events;
    std::deque<QByteArray> m_lines; // each event as the file holds it, encoded once

    int m_dropped = 0;
};

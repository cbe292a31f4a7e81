#pragma once

#include "Outbox.h"
#include "core/Timer.h"
#include "guard/AlertSettings.h"

#include <QObject>

class AlertTransport;
struct AlertOutcome;
class Clock;
class ReportLog;

/// Delivers the outbox to the alert address, oldest first and one at a time: a delivered event
/// leaves it, a failed one is tried again after a wait that doubles from 2 s to 5 min. The
/// report hears once per outage that delivery fails, and once that it works again. While armed
/// with a heartbeat interval, a heartbeat joins the outbox at every interval. Main thread.
class AlertSender : public QObject
{
    Q_OBJECT
public:
    struct Collaborators
    {
        TimerEngine& timers;
        const Clock& clock;
        AlertTransport& transport;
        ReportLog& report;
        QString hostName;
    };
    static constexpr int FirstRetryMs = 2000;
    static constexpr int LastRetryMs = 5 * 60 * 1000;

    /// Resumes what the outbox file holds.
    AlertSender(Collaborators with, AlertSettings settings, const QString& outboxPath,
                QObject* parent = nullptr);
    ~AlertSender() override;

    /// A line the report got: an event to send when it is of a chosen kind; arming and
    /// disarming start and stop the heartbeat.
    void reportMessage(const QString& message);
    /// The alarm accepted a trigger.
    void alarmAccepted(const QString& message);

    const Outbox& outbox() const { return m_outbox; }

private:
    /// Into the outbox when the kind is chosen, then on its way.
    void send(const QString& kind, const QString& detail);
    void sendNext();
    void posted(const AlertOutcome& outcome, const QString& id, int toldDropped);

    Collaborators m_with;
    const AlertSettings m_settings;
    Outbox m_outbox;
    Timer m_retry;
    Timer m_heartbeat;
    int m_retryMs = FirstRetryMs;
    bool m_posting = false;
    bool m_failing = false;
};

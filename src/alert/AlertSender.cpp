#include "AlertSender.h"

#include "AlertKinds.h"
#include "AlertMessage.h"
#include "AlertTransport.h"
#include "core/Clock.h"
#include "report/ReportLog.h"

#include <QUuid>
#include <algorithm>

AlertSender::AlertSender(Collaborators with, AlertSettings settings, const QString& outboxPath,
                         QObject* parent)
    : QObject(parent), m_with(std::move(with)), m_settings(std::move(settings)),
      m_outbox(outboxPath), m_retry(m_with.timers, FirstRetryMs),
      m_heartbeat(m_with.timers, m_settings.heartbeatMinutes * 60 * 1000)
{
    connect(&m_retry, &Timer::timeout, this, [this] {
        m_retry.setEnabled(false);
        sendNext();
    });
    connect(&m_heartbeat, &Timer::timeout, this,
            [this] { send(AlertKind::Heartbeat, QStringLiteral("Armed")); });
    m_outbox.load();
    sendNext();
}

AlertSender::~AlertSender()
{
    m_with.transport.cancel();
}

void AlertSender::send(const QString& kind, const QString& detail)
{
    if (!m_settings.sends(kind))
        return;
    // One waiting heartbeat says all that more would, and none may push out another event.
    if (kind == AlertKind::Heartbeat && (m_outbox.holds(AlertKind::Heartbeat) || m_outbox.full()))
        return;
    m_outbox.add(AlertEvent{QUuid::createUuid().toString(QUuid::WithoutBraces), kind,
                            m_with.clock.now().toUTC(), detail});
    m_outbox.save();
    sendNext();
}

void AlertSender::reportMessage(const QString& message)
{
    const QString kind = AlertKindOfReportMessage(message);
    if (kind == AlertKind::Arming)
        m_heartbeat.setEnabled(message == QLatin1String("Alarm - Activated") &&
                               m_settings.heartbeatMinutes > 0);
    if (!kind.isEmpty())
        send(kind, message);
}

void AlertSender::alarmAccepted(const QString& message)
{
    send(AlertKindOfTrigger(message), message);
}

void AlertSender::sendNext()
{
    // One at a time, in order; a waiting retry keeps its turn.
    if (m_posting || m_retry.isEnabled() || m_outbox.empty())
        return;
    m_posting = true;
    const int dropped = m_outbox.dropped();
    const AlertEvent& event = m_outbox.events().front();
    m_with.transport.post(AlertMessage(event, m_settings, m_with.hostName, dropped),
                          [this, id = event.id, dropped](const AlertOutcome& outcome) {
                              posted(outcome, id, dropped);
                          });
}

void AlertSender::posted(const AlertOutcome& outcome, const QString& id, int toldDropped)
{
    m_posting = false;
    if (!outcome.delivered) {
        if (!std::exchange(m_failing, true))
            m_with.report.AddToReport(QStringLiteral("Alert delivery failing (%1)").arg(outcome.text()));
        m_retry.setInterval(m_retryMs);
        m_retry.setEnabled(true);
        m_retryMs = std::min(m_retryMs * 2, LastRetryMs);
        return;
    }
    m_outbox.delivered(id, toldDropped);
    m_outbox.save();
    m_retryMs = FirstRetryMs;
    if (std::exchange(m_failing, false))
        m_with.report.AddToReport(QStringLiteral("Alert delivery restored"));
    sendNext();
}

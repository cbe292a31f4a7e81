#include "RemoteAlerts.h"

#include "AlertMessage.h"
#include "AlertSender.h"
#include "core/Clock.h"

#include <QFile>
#include <QUuid>

RemoteAlerts::RemoteAlerts(Collaborators with) : m_with(std::move(with)) {}

RemoteAlerts::~RemoteAlerts() = default;

void RemoteAlerts::apply(const AlertSettings& settings)
{
    // Unchanged settings keep the sender, its post under way and its count of the outage.
    if (m_applied == settings)
        return;
    m_applied = settings;
    // The sender goes before the transport it posts with.
    m_sender.reset();
    m_transport.reset();
    if (!settings.enabled()) {
        // Turned off, the undelivered events are dropped: they must not reach a later address.
        QFile::remove(m_with.outboxPath);
        return;
    }
    m_transport = m_with.makeTransport();
    m_sender = std::make_unique<AlertSender>(
        AlertSender::Collaborators{m_with.timers, m_with.clock, *m_transport, m_with.report, m_with.hostName},
        settings, m_with.outboxPath);
}

void RemoteAlerts::reportMessage(const QString& message)
{
    if (m_sender)
        m_sender->reportMessage(message);
}

void RemoteAlerts::alarmAccepted(const QString& message)
{
    if (m_sender)
        m_sender->alarmAccepted(message);
}

void RemoteAlerts::sendTest(const AlertSettings& settings, std::function<void(const QString&)> told)
{
    if (!m_testTransport)
        m_testTransport = m_with.makeTransport();
    m_testTransport->cancel();
    const AlertEvent test{QUuid::createUuid().toString(QUuid::WithoutBraces), QStringLiteral("test"),
                          m_with.clock.now().toUTC(), QStringLiteral("Test alert")};
    m_testTransport->post(AlertMessage(test, settings, m_with.hostName, 0),
                          [told = std::move(told)](const AlertOutcome& outcome) { told(outcome.text()); });
}

void RemoteAlerts::stop()
{
    m_applied.reset();
    m_sender.reset();
    m_transport.reset();
    if (m_testTransport)
        m_testTransport->cancel();
}

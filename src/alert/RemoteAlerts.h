#pragma once

#include "guard/AlertSettings.h"

#include <QString>
#include <functional>
#include <memory>
#include <optional>

class AlertSender;
class AlertTransport;
class Clock;
class ReportLog;
class TimerEngine;

/// The outbox's file, in the data folder.
inline const QString AlertOutboxFileName = QStringLiteral("AlertOutbox.jsonl");

/// The remote alerts as the options set them: a sender while an address is set, fed with the
/// report's lines and the accepted triggers, and the dialog's test alert. Main thread.
class RemoteAlerts
{
public:
    struct Collaborators
    {
        TimerEngine& timers;
        const Clock& clock;
        ReportLog& report;
        std::function<std::unique_ptr<AlertTransport>()> makeTransport;
        QString outboxPath;
        QString hostName;
    };
    explicit RemoteAlerts(Collaborators with);
    ~RemoteAlerts();

    /// Starts, restarts or stops the sender when the settings differ from the last applied; the
    /// outbox file carries what is undelivered over to a restarted sender, and is dropped when
    /// alerts are turned off.
    void apply(const AlertSettings& settings);
    void reportMessage(const QString& message);
    void alarmAccepted(const QString& message);
    /// Posts a test alert with these settings, outside the outbox; `told` hears the outcome in
    /// words, later. A new test replaces one still under way.
    void sendTest(const AlertSettings& settings, std::function<void(const QString&)> told);
    /// The window closes: nothing more goes out now, and the outbox waits for the next start.
    void stop();

private:
    Collaborators m_with;
    std::unique_ptr<AlertTransport> m_transport;
    std::unique_ptr<AlertSender> m_sender;
    std::unique_ptr<AlertTransport> m_testTransport;
    std::optional<AlertSettings> m_applied;
};

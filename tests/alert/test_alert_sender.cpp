// Remote alerts on the virtual clock: the outbox, the order and the retries, the report lines of
// an outage, the heartbeat, and the two formats; a fake server answers when the test says.
#include "FakeAlertTransport.h"
#include "TempEnvironment.h"
#include "VirtualClock.h"
#include "alert/AlertKinds.h"
#include "alert/AlertMessage.h"
#include "alert/AlertSender.h"
#include "report/ReportLog.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QTest>
#include <algorithm>

namespace {
const AlertOutcome Down{false, 0, QStringLiteral("Connection refused")};
const AlertOutcome Delivered{true, 200, {}};

AlertSettings settingsTo(const QString& url)
{
    AlertSettings settings;
    settings.url = QUrl(url);
    return settings;
}

QByteArray header(const AlertRequest& request, const QByteArray& name)
{
    for (const auto& [key, value] : request.headers)
        if (key == name)
            return value;
    return {};
}

QByteArray idOf(const AlertRequest& request)
{
    return header(request, "X-Ostrel-Event-Id");
}

/// A sender on the virtual clock with its report and outbox in a private folder.
struct SenderRig
{
    TempEnvironment env;
    VirtualClock clock;
    FakeAlertTransport server;
    ReportLog report{clock, env.root() + QStringLiteral("/reports/"), QStringLiteral(":")};
    QString outboxPath = env.root() + QStringLiteral("/outbox.jsonl");

    std::unique_ptr<AlertSender> start(AlertSettings settings = settingsTo("https://alerts.example.org/x"))
    {
        return std::make_unique<AlertSender>(
            AlertSender::Collaborators{clock, clock, server, report, QStringLiteral("desk")},
            std::move(settings), outboxPath);
    }

    QStringList messages() const
    {
        QStringList result;
        for (const QString& line : report.ReportLines())
            result << line.mid(line.indexOf(QStringLiteral("] ")) + 2);
        return result;
    }
};
} // namespace

class AlertSenderTest : public QObject
{
    Q_OBJECT
private slots:
    void anOutageDelaysEveryEventButLosesAndRepeatsNone()
    {
        SenderRig r;
        const auto sender = r.start();
        for (const char* detail : {"Mouse detected", "Keyboard detected", "Microphone muted"})
            sender->alarmAccepted(QString::fromLatin1(detail));
        QCOMPARE(r.server.posted.size(), std::size_t(1)); // one at a time

        // The server is down for 30 s: tried again after 2, 4, 8 and 16 s.
        std::vector<qint64> tries{r.clock.elapsedMs()};
        QVERIFY(r.server.answer(Down));
        while (r.clock.elapsedMs() < 30000) {
            r.clock.advance(100);
            if (r.server.waiting()) {
                tries.push_back(r.clock.elapsedMs());
                if (r.clock.elapsedMs() < 30000)
                    QVERIFY(r.server.answer(Down));
            }
        }
        QCOMPARE(tries, (std::vector<qint64>{0, 2000, 6000, 14000, 30000}));
        QCOMPARE(r.messages().count("Alert delivery failing (Connection refused)"), 1);
        QCOMPARE(sender->outbox().events().size(), std::size_t(3));

        QCOMPARE(r.server.deliverAll(), 3);
        QStringList details;
        QSet<QByteArray> delivered;
        for (std::size_t i = r.server.posted.size() - 3; i < r.server.posted.size(); ++i) {
            details << QString::fromUtf8(r.server.posted[i].body).section(' ', 1);
            delivered.insert(idOf(r.server.posted[i]));
        }
        QCOMPARE(details, (QStringList{"Mouse detected", "Keyboard detected", "Microphone muted"}));
        QCOMPARE(delivered.size(), 3);
        // Every try of the first event carried the same id, so a receiver can drop repeats.
        QCOMPARE(idOf(r.server.posted.front()), idOf(r.server.posted[r.server.posted.size() - 3]));
        QCOMPARE(r.messages().count("Alert delivery restored"), 1);
        QVERIFY(sender->outbox().empty());

        // The wait starts again from 2 s after a recovery.
        sender->alarmAccepted("Mouse detected");
        QVERIFY(r.server.answer(Down));
        r.clock.advance(1999);
        QCOMPARE(r.server.waiting(), std::size_t(0));
        r.clock.advance(1);
        QCOMPARE(r.server.waiting(), std::size_t(1));
    }

    void theWaitStopsDoublingAtFiveMinutes()
    {
        SenderRig r;
        const auto sender = r.start();
        sender->alarmAccepted("Mouse detected");
        qint64 last = 0;
        for (int attempt = 0; attempt < 12; ++attempt) {
            QVERIFY(r.server.answer(Down));
            const qint64 from = r.clock.elapsedMs();
            while (!r.server.waiting())
                r.clock.advance(1000);
            last = r.clock.elapsedMs() - from;
        }
        QCOMPARE(last, qint64(AlertSender::LastRetryMs));
    }

    void theOutboxOutlivesTheSenderAndADamagedFileIsReadAsFarAsItGoes()
    {
        SenderRig r;
        {
            const auto sender = r.start();
            sender->alarmAccepted("Mouse detected");
            sender->reportMessage("Alarm - Stoped");
            sender->reportMessage("Audio device lost"); // not an alert
        }
        const std::vector<AlertRequest> before = r.server.posted;
        QFile file(r.outboxPath);
        QVERIFY(file.open(QIODevice::Append));
        file.write("not json at all\n{\"id\":\"x\"}\n\xff\xfe\n{\"id\":\"cut\",\"kind\":\"trig");
        file.close();

        const auto resumed = r.start();
        QCOMPARE(resumed->outbox().events().size(), std::size_t(2));
        QCOMPARE(r.server.deliverAll(), 2);
        const std::vector<AlertRequest> after(r.server.posted.end() - 2, r.server.posted.end());
        QCOMPARE(idOf(after[0]), idOf(before[0]));
        QVERIFY(after[1].body.endsWith("Alarm - Stoped"));
        QVERIFY(resumed->outbox().empty());
        QVERIFY(QFile(r.outboxPath).size() == 0);
    }

    void aFullOutboxDropsTheOldestAndTheNextAlertSaysHowMany()
    {
        SenderRig r;
        const auto sender = r.start();
        for (std::size_t i = 0; i < Outbox::Capacity + 5; ++i)
            sender->alarmAccepted(QStringLiteral("Trigger %1").arg(i));
        QCOMPARE(sender->outbox().events().size(), Outbox::Capacity);
        QCOMPARE(sender->outbox().dropped(), 5);
        // The first, pushed out while under way, arrives: no event kept leaves for it, and it is
        // no longer lost; the next one under way tells of the others.
        QVERIFY(r.server.answer(Delivered));
        QCOMPARE(sender->outbox().events().size(), Outbox::Capacity);
        QCOMPARE(sender->outbox().dropped(), 4);
        QVERIFY(r.server.posted.back().body.endsWith("Trigger 5 (4 earlier alerts were dropped unsent)"));
        QVERIFY(r.server.answer(Delivered));
        QCOMPARE(sender->outbox().dropped(), 0);
        QVERIFY(r.server.posted.back().body.endsWith("Trigger 6"));
    }

    void onlyTheChosenKindsGoAndTheHeartbeatFollowsTheArmedPeriod()
    {
        SenderRig r;
        AlertSettings settings = settingsTo("https://alerts.example.org/x");
        settings.events = {AlertKind::Trigger, AlertKind::Tamper};
        settings.heartbeatMinutes = 5;
        const auto sender = r.start(settings);
        sender->reportMessage("Alarm - Activated");
        sender->reportMessage("Wrong PIN entered");
        sender->alarmAccepted("Disarm attempt with a wrong PIN");
        QVERIFY(r.server.posted.empty());
        sender->reportMessage("Speakers muted - restored");
        QCOMPARE(r.server.deliverAll(), 1);

        r.clock.advance(5 * 60 * 1000 - 1);
        QCOMPARE(r.server.waiting(), std::size_t(0));
        r.clock.advance(1);
        QCOMPARE(r.server.deliverAll(), 1);
        QCOMPARE(header(r.server.posted.back(), "Title"), QByteArray("Ostrel: heartbeat"));
        r.clock.advance(5 * 60 * 1000);
        QCOMPARE(r.server.deliverAll(), 1);

        sender->reportMessage("Alarm - Stoped");
        r.clock.advance(60 * 60 * 1000);
        QCOMPARE(r.server.waiting(), std::size_t(0));
    }

    void aDarkServerGetsOneWaitingHeartbeatAndRepeatedWrongPinsEachGo()
    {
        SenderRig r;
        AlertSettings settings = settingsTo("https://alerts.example.org/x");
        settings.heartbeatMinutes = 1;
        const auto sender = r.start(settings);
        r.report.onMessage([&](const QString& message) { sender->reportMessage(message); });
        r.report.AddToReport("Alarm - Activated");
        while (r.server.answer(Down) || r.clock.elapsedMs() < 10 * 60 * 1000)
            r.clock.advance(1000);
        const auto& waiting = sender->outbox().events();
        QCOMPARE(std::count_if(waiting.begin(), waiting.end(),
                               [](const AlertEvent& e) { return e.kind == AlertKind::Heartbeat; }),
                 1);

        // The report shows a repeat within its minute once; the owner hears of each.
        r.report.AddToReport("Wrong PIN entered");
        r.report.AddToReport("Wrong PIN entered");
        QCOMPARE(r.messages().count("Wrong PIN entered"), 1);
        QCOMPARE(std::count_if(waiting.begin(), waiting.end(),
                               [](const AlertEvent& e) { return e.kind == AlertKind::Pin; }),
                 2);
    }

    void theKindsOfTheReportsWords()
    {
        QCOMPARE(AlertKindOfReportMessage("Alarm - Activated"), AlertKind::Arming);
        QCOMPARE(AlertKindOfReportMessage("Wrong PIN entered"), AlertKind::Pin);
        QCOMPARE(AlertKindOfReportMessage("Alarm - Terminated while armed"), AlertKind::Tamper);
        QVERIFY(AlertKindOfReportMessage("Mouse detected").isEmpty()); // told as a trigger
        QCOMPARE(AlertKindOfTrigger("Mouse detected"), AlertKind::Trigger);
        QCOMPARE(AlertKindOfTrigger("Microphone muted"), AlertKind::Tamper);
        QCOMPARE(AlertKindOfTrigger("Disarm attempt with a wrong PIN"), AlertKind::Pin);
    }

    void bothFormatsCarryTheEventTheIdAndTheTokenAndTheHostOnlyWhenAllowed()
    {
        const AlertEvent event{QStringLiteral("5f0c"), AlertKind::Trigger,
                               QDateTime(QDate(2026, 12, 9), QTime(21, 5, 3), Qt::UTC),
                               QStringLiteral("Mouse detected")};
        AlertSettings settings = settingsTo("https://alerts.example.org/x");
        settings.token = QStringLiteral("s3cret");

        const AlertRequest ntfy = AlertMessage(event, settings, QStringLiteral("desk"), 0);
        QCOMPARE(ntfy.url, settings.url);
        QCOMPARE(header(ntfy, "Authorization"), QByteArray("Bearer s3cret"));
        QCOMPARE(header(ntfy, "X-Ostrel-Event-Id"), QByteArray("5f0c"));
        QCOMPARE(header(ntfy, "Title"), QByteArray("Ostrel: trigger"));
        QCOMPARE(header(ntfy, "Priority"), QByteArray("urgent"));
        QVERIFY(!header(ntfy, "Tags").isEmpty());
        QCOMPARE(ntfy.body, QByteArray("2026-12-09T21:05:03Z Mouse detected"));

        settings.format = AlertSettings::Format::Json;
        settings.sendHost = true;
        settings.token.clear();
        const AlertRequest json = AlertMessage(event, settings, QStringLiteral("Schreibtisch-ä"), 2);
        QVERIFY(header(json, "Authorization").isEmpty());
        QCOMPARE(header(json, "Content-Type"), QByteArray("application/json"));
        const QJsonObject object = QJsonDocument::fromJson(json.body).object();
        QCOMPARE(object.value("event").toString(), AlertKind::Trigger);
        QCOMPARE(object.value("time").toString(), QStringLiteral("2026-12-09T21:05:03.000Z"));
        QCOMPARE(object.value("host").toString(), QStringLiteral("Schreibtisch-ä"));
        QCOMPARE(object.value("detail").toString(),
                 QStringLiteral("Mouse detected (2 earlier alerts were dropped unsent)"));
        QCOMPARE(object.value("id").toString(), QStringLiteral("5f0c"));

        // A host name that is not plain ASCII reaches ntfy's title encoded.
        settings.format = AlertSettings::Format::Ntfy;
        const QByteArray title = header(AlertMessage(event, settings, QStringLiteral("Schreibtisch-ä"), 0), "Title");
        QVERIFY2(title.startsWith("=?UTF-8?B?"), title.constData());
        settings.sendHost = false;
        QCOMPARE(header(AlertMessage(event, settings, QStringLiteral("desk"), 0), "Title"),
                 QByteArray("Ostrel: trigger"));
    }

    void onlyHttpsOrLoopbackHttpMayTakeAlerts()
    {
        for (const char* good : {"https://ntfy.example.org/t", "http://127.0.0.1:8080/a", "http://localhost/a",
                                 "http://[::1]:9/a"})
            QVERIFY2(AcceptsAlerts(QUrl(QString::fromLatin1(good))), good);
        for (const char* bad : {"http://example.org/a", "http://127.example.org/", "ftp://127.0.0.1/",
                                "https://", "not a url", "http://10.0.0.1/", "http://127.attacker.example.com/",
                                "http://127.0.0.1.example.org/", "http://127.0.0.256/"})
            QVERIFY2(!AcceptsAlerts(QUrl(QString::fromLatin1(bad))), bad);
    }
};

QTEST_GUILESS_MAIN(AlertSenderTest)
#include "test_alert_sender.moc"

// Alerts posted for real to a server of the test's own on 127.0.0.1: what arrives, what a
// failure says, where a redirect may lead, and an outage that the outbox rides out.
#include "LocalHttpServer.h"
#include "TempEnvironment.h"
#include "alert/AlertMessage.h"
#include "alert/AlertSender.h"
#include "core/Clock.h"
#include "core/QtTimerEngine.h"
#include "platform/NetworkAlertTransport.h"
#include "report/ReportLog.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QTest>
#include <optional>

namespace {
const QString Token = QStringLiteral("t0ken-never-told");

AlertEvent alertEvent(const QString& detail)
{
    return AlertEvent{QStringLiteral("id-") + detail, QStringLiteral("trigger"),
                      QDateTime::currentDateTimeUtc(), detail};
}

AlertSettings settingsTo(const QString& url, AlertSettings::Format format = AlertSettings::Format::Ntfy)
{
    AlertSettings settings;
    settings.url = QUrl(url);
    settings.token = Token;
    settings.format = format;
    return settings;
}

/// Posts and waits for the outcome; nothing when none came within 15 s.
std::optional<AlertOutcome> postAndWait(NetworkAlertTransport& transport, const AlertRequest& request)
{
    std::optional<AlertOutcome> outcome;
    transport.post(request, [&](const AlertOutcome& o) { outcome = o; });
    return QTest::qWaitFor([&] { return outcome.has_value(); }, 15000) ? outcome : std::nullopt;
}
} // namespace

class NetworkAlertTransportTest : public QObject
{
    Q_OBJECT
private slots:
    void bothFormatsArriveWithTheirHeaders()
    {
        LocalHttpServer server;
        QVERIFY(server.listen());
        NetworkAlertTransport transport;

        auto outcome = postAndWait(transport, AlertMessage(alertEvent("Mouse detected"), settingsTo(server.url()), "desk", 0));
        QVERIFY(outcome && outcome->delivered);
        QCOMPARE(outcome->text(), QStringLiteral("delivered"));
        const LocalHttpServer::Request& ntfy = server.requests.at(0);
        QCOMPARE(ntfy.method, QByteArray("POST"));
        QCOMPARE(ntfy.path, QByteArray("/alerts"));
        QCOMPARE(ntfy.headers.value("authorization"), "Bearer " + Token.toUtf8());
        QCOMPARE(ntfy.headers.value("x-ostrel-event-id"), QByteArray("id-Mouse detected"));
        QCOMPARE(ntfy.headers.value("title"), QByteArray("Ostrel: trigger"));
        QCOMPARE(ntfy.headers.value("priority"), QByteArray("urgent"));
        QVERIFY(ntfy.body.endsWith(" Mouse detected"));

        outcome = postAndWait(transport, AlertMessage(alertEvent("Keyboard detected"),
                                                      settingsTo(server.url(), AlertSettings::Format::Json), "desk", 0));
        QVERIFY(outcome && outcome->delivered);
        const LocalHttpServer::Request& json = server.requests.at(1);
        QCOMPARE(json.headers.value("content-type"), QByteArray("application/json"));
        const QJsonObject object = QJsonDocument::fromJson(json.body).object();
        QCOMPARE(object.value("detail").toString(), QStringLiteral("Keyboard detected"));
        QCOMPARE(object.value("id").toString(), QStringLiteral("id-Keyboard detected"));
        QVERIFY(object.value("host").toString().isEmpty());
    }

    void aRefusalOrAnAbsentServerIsTold()
    {
        LocalHttpServer server;
        QVERIFY(server.listen());
        server.status = 403;
        NetworkAlertTransport transport;
        auto outcome = postAndWait(transport, AlertMessage(alertEvent("a"), settingsTo(server.url()), "desk", 0));
        QVERIFY(outcome && !outcome->delivered);
        QCOMPARE(outcome->text(), QStringLiteral("HTTP status 403"));

        const QString gone = server.url();
        server.close();
        outcome = postAndWait(transport, AlertMessage(alertEvent("b"), settingsTo(gone), "desk", 0));
        QVERIFY(outcome && !outcome->delivered);
        QCOMPARE(outcome->httpStatus, 0);
        QVERIFY(!outcome->text().isEmpty());
    }

    void aRedirectIsFollowedOnlyWhereAlertsMayGo()
    {
        LocalHttpServer first, second;
        QVERIFY(first.listen() && second.listen());
        first.status = 307;
        NetworkAlertTransport transport;

        first.location = "http://example.org/alerts";
        auto outcome = postAndWait(transport, AlertMessage(alertEvent("a"), settingsTo(first.url()), "desk", 0));
        QVERIFY(outcome && !outcome->delivered);
        QVERIFY2(outcome->text().contains("redirected"), qPrintable(outcome->text()));

        first.location = second.url("/moved").toUtf8();
        outcome = postAndWait(transport, AlertMessage(alertEvent("b"), settingsTo(first.url()), "desk", 0));
        QVERIFY(outcome && outcome->delivered);
        QCOMPARE(second.requests.size(), std::size_t(1));
        QCOMPARE(second.requests[0].path, QByteArray("/moved"));
        QVERIFY(second.requests[0].body.endsWith(" b"));
        // The token was for the first address only.
        QCOMPARE(first.requests.back().headers.value("authorization"), "Bearer " + Token.toUtf8());
        QVERIFY(!second.requests[0].headers.contains("authorization"));
    }

    void everyEventArrivesOnceAndInOrderAfterAnOutage()
    {
        TempEnvironment env;
        LocalHttpServer server;
        QVERIFY(server.startDown());

        SystemClock clock;
        QtTimerEngine timers;
        ReportLog report(clock, env.root() + QStringLiteral("/reports/"), QStringLiteral(":"));
        NetworkAlertTransport transport;
        AlertSender sender({timers, clock, transport, report, QStringLiteral("desk")},
                           settingsTo(server.url()), env.root() + QStringLiteral("/outbox.jsonl"));
        const QStringList sent{"Mouse detected", "Keyboard detected", "Microphone muted"};
        for (const QString& detail : sent)
            sender.alarmAccepted(detail);
        QVERIFY(QTest::qWaitFor([&] { return report.ReportLines().size() == 1; }, 15000));
        QVERIFY(report.ReportLines().front().contains("Alert delivery failing ("));
        QTest::qWait(3000);

        QVERIFY(server.comeBack());
        QVERIFY2(QTest::qWaitFor([&] { return server.requests.size() >= 3; }, 20000),
                 qPrintable(report.ReportLines().join(" | ") + QStringLiteral(" / arrived %1").arg(server.requests.size())));
        QTest::qWait(500);
        QCOMPARE(server.requests.size(), std::size_t(3));
        QSet<QByteArray> ids;
        for (std::size_t i = 0; i < 3; ++i) {
            QVERIFY(server.requests[i].body.endsWith(" " + sent[qsizetype(i)].toUtf8()));
            ids.insert(server.requests[i].headers.value("x-ostrel-event-id"));
        }
        QCOMPARE(ids.size(), 3);
        QVERIFY(report.ReportLines().back().endsWith("Alert delivery restored"));
        QVERIFY(sender.outbox().empty());
    }
};

QTEST_GUILESS_MAIN(NetworkAlertTransportTest)
#include "test_network_alert_transport.moc"

// Remote alerts from the real program to a server of the test's own on 127.0.0.1: a click while
// armed, and events that a killed program leaves in its outbox.
#include "ArmedProgram.h"
#include "LocalHttpServer.h"
#include "TempEnvironment.h"
#include "alert/RemoteAlerts.h"

#include <QElapsedTimer>
#include <algorithm>

using namespace gRegistry;

namespace {
void storeAlertAddress(const QString& url)
{
    SettingsStore(SettingsFilePath()).WriteSetting(GuardKey, "AlertUrl", url);
}

bool arrivedWith(const LocalHttpServer& server, const QByteArray& text)
{
    return std::any_of(server.requests.begin(), server.requests.end(),
                       [&](const LocalHttpServer::Request& r) { return r.body.endsWith(text); });
}
} // namespace

class AlertsRealTest : public QObject
{
    Q_OBJECT
private slots:
    void aClickWhileArmedReachesTheServerAtOnce()
    {
        TempEnvironment env;
        LocalHttpServer server;
        QVERIFY(server.listen());
        QVERIFY(storeSettings(true, {"ActMouDetectToggle"}, 0.2));
        storeAlertAddress(server.url());
        xdotool({"mousemove", "5", "5"});
        Program program;
        startArmed(program, "Mouse Detection - Enabled");
        QVERIFY(!QTest::currentTestFailed());
        QVERIFY(QTest::qWaitFor([&] { return arrivedWith(server, " Alarm - Activated"); }, 5000));

        std::vector<qint64> latencies;
        for (int click = 1; click <= 3; ++click) {
            const std::size_t before = server.requests.size();
            QElapsedTimer clock;
            clock.start();
            xdotool({"click", "1"});
            QVERIFY2(QTest::qWaitFor([&] { return server.requests.size() > before; }, 10000),
                     qPrintable(reportMessages().join(" | ")));
            latencies.push_back(clock.elapsed());
            QCOMPARE(server.requests.back().headers.value("priority"), QByteArray("urgent"));
            QVERIFY(server.requests.back().body.endsWith(" Mouse detected"));
            QTest::qWait(2500); // the sound ends and the temporary mute is over
        }
        std::sort(latencies.begin(), latencies.end());
        qInfo("click to alert: median %lld ms (max %lld)", latencies[1], latencies.back());
        QVERIFY2(latencies[1] < 2000, qPrintable(QString::number(latencies[1])));
    }

    void eventsLeftInTheOutboxOfAKilledProgramArriveAfterItsRestart()
    {
        TempEnvironment env;
        LocalHttpServer server;
        QVERIFY(server.startDown());
        QVERIFY(storeSettings(true, {"ActMouDetectToggle"}, 0.2));
        storeAlertAddress(server.url());
        {
            Program program;
            program.start();
            QVERIFY(!QTest::currentTestFailed());
            QVERIFY2(waitFor([] { return reportMessages().contains("Alert delivery failing (Connection refused)"); }, 10000),
                     qPrintable(reportMessages().join(" | ")));
            QVERIFY(QFile(DataFolder + AlertOutboxFileName).size() > 0);
            program.kill();
        }
        QVERIFY(server.comeBack());
        Program again;
        again.start();
        QVERIFY(!QTest::currentTestFailed());
        // The first start's arming arrives, and so does the second's, each once.
        QVERIFY2(QTest::qWaitFor([&] { return server.requests.size() >= 2; }, 15000),
                 qPrintable(reportMessages().join(" | ")));
        QTest::qWait(1000);
        QCOMPARE(server.requests.size(), std::size_t(2));
        QVERIFY(server.requests[0].body.endsWith(" Alarm - Activated"));
        QVERIFY(server.requests[0].headers.value("x-ostrel-event-id") !=
                server.requests[1].headers.value("x-ostrel-event-id"));
    }
};

QTEST_GUILESS_MAIN(AlertsRealTest)
#include "test_alerts_real.moc"

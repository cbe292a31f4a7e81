// The speakers kept on and the microphone tamper trigger on the real program, against a sound
// server of the test's own that pactl changes as another program would.
#include "ArmedProgram.h"
#include "PrivateSoundServer.h"
#include "TempEnvironment.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <algorithm>

using namespace gRegistry;

namespace {
/// The default sink's volume in per cent and its mute, as pactl tells them.
struct Sink
{
    int volume = -1;
    bool muted = false;
    bool operator==(const Sink&) const = default;
};

Sink defaultSink(const PrivateSoundServer& server)
{
    static const QRegularExpression percent(QStringLiteral("/\\s*(\\d+)%"));
    const QRegularExpressionMatch volume =
        percent.match(server.query({"get-sink-volume", "@DEFAULT_SINK@"}));
    return Sink{volume.hasMatch() ? volume.captured(1).toInt() : -1,
                server.query({"get-sink-mute", "@DEFAULT_SINK@"}).endsWith("yes")};
}

/// Milliseconds from a change by pactl until the sink is back as held; -1 when it never is.
qint64 undoneAfter(const PrivateSoundServer& server, const QStringList& change, Sink held)
{
    QElapsedTimer clock;
    clock.start();
    if (!server.command(change))
        return -1;
    while (clock.elapsed() < 5000) {
        if (defaultSink(server) == held)
            return clock.elapsed();
    }
    return -1;
}

qint64 median(std::vector<qint64> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

const Sink Before{35, true}; // the sink as its user set it
const Sink Held{100, false};  // the sink while the alarm sounds

/// The program armed with the given detector, the speakers kept on and a long alarm sound.
void startGuarded(Program& program, const QStringList& switches, const QString& detectorLine)
{
    QVERIFY(storeSettings(true, switches, 60));
    SettingsStore(SettingsFilePath()).WriteSetting(GuardKey, "KeepSpeakersOn", "T");
    startArmed(program, detectorLine);
}

/// The user's sink turned down and muted, the program armed with the mouse, and a click that
/// sets the alarm off and turns the speakers on.
void soundHeldAlarm(PrivateSoundServer& server, Program& program)
{
    QVERIFY(server.start());
    QVERIFY(server.command({"set-sink-volume", "@DEFAULT_SINK@", "35%"}));
    QVERIFY(server.command({"set-sink-mute", "@DEFAULT_SINK@", "1"}));
    QCOMPARE(defaultSink(server), Before);
    xdotool({"mousemove", "5", "5"});
    startGuarded(program, {"ActMouDetectToggle"}, "Mouse Detection - Enabled");
    QVERIFY(!QTest::currentTestFailed());
    QCOMPARE(defaultSink(server), Before);
    xdotool({"click", "1"});
    QVERIFY(reported("Mouse detected", 5000));
    QVERIFY2(waitFor([&] { return defaultSink(server) == Held; }, 5000),
             "the speakers were not turned on for the alarm");
}
} // namespace

class SpeakersRealTest : public QObject
{
    Q_OBJECT
private slots:
    void mutingOrLoweringTheSpeakersDuringTheAlarmIsUndoneAndTheirStateComesBackAfter()
    {
        TempEnvironment env;
        PrivateSoundServer server;
        Program program;
        soundHeldAlarm(server, program);
        QVERIFY(!QTest::currentTestFailed());

        std::vector<qint64> muteUndone, volumeUndone;
        for (int attempt = 0; attempt < 5; ++attempt) {
            muteUndone.push_back(undoneAfter(server, {"set-sink-mute", "@DEFAULT_SINK@", "1"}, Held));
            volumeUndone.push_back(undoneAfter(server, {"set-sink-volume", "@DEFAULT_SINK@", "10%"}, Held));
        }
        QVERIFY2(std::find(muteUndone.begin(), muteUndone.end(), -1) == muteUndone.end(), "a mute stayed");
        QVERIFY2(std::find(volumeUndone.begin(), volumeUndone.end(), -1) == volumeUndone.end(),
                 "a lowered volume stayed");
        qInfo("undone after: mute median %lld ms (max %lld), volume median %lld ms (max %lld)",
              median(muteUndone), *std::max_element(muteUndone.begin(), muteUndone.end()),
              median(volumeUndone), *std::max_element(volumeUndone.begin(), volumeUndone.end()));
        // A generous bound: a loaded machine and a sanitizer build are slow.
        QVERIFY(median(muteUndone) < 1000 && median(volumeUndone) < 1000);
        QCOMPARE(reportMessages().count("Speakers muted - restored"), 1);
        QCOMPARE(reportMessages().count("Volume lowered - restored"), 1);

        // Disarmed, the alarm ends and the sink is as its user left it.
        pressKey(program.window, "Escape");
        QVERIFY(reported("Alarm - Stoped", 5000));
        QVERIFY2(waitFor([&] { return defaultSink(server) == Before; }, 5000),
                 "the speakers' own state did not come back");
    }

    void aProgramEndedWhileItHoldsTheSpeakersGivesThemBack()
    {
        TempEnvironment env;
        PrivateSoundServer server;
        Program program;
        soundHeldAlarm(server, program);
        QVERIFY(!QTest::currentTestFailed());
        QVERIFY(program.terminate());
        QCOMPARE(defaultSink(server), Before);
    }

    void aMutedMicrophoneSetsTheAlarmOff()
    {
        TempEnvironment env;
        PrivateSoundServer server;
        QVERIFY(server.start());
        Program program;
        startGuarded(program, {"ActMicDetectToggle"}, "Microphone Detection - Enabled");
        QVERIFY(!QTest::currentTestFailed());
        QVERIFY(server.command({"set-source-mute", "@DEFAULT_SOURCE@", "1"}));
        QVERIFY2(reported("Microphone muted", 5000), qPrintable(reportMessages().join(" | ")));
    }
};

QTEST_GUILESS_MAIN(SpeakersRealTest)
#include "test_speakers_real.moc"

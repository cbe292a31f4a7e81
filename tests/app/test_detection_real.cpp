// The real program on the rig's X server and sound server, with no fake anywhere: a tone
// played into the sink is what its microphone hears, and xdotool is the intruder's hand.
#include "ArmedProgram.h"
#include "MonitorCapture.h"
#include "PrivateSoundServer.h"
#include "TempEnvironment.h"
#include "audio/AlarmSoundPlayer.h"

#include <QDir>
#include <QFile>

using namespace gRegistry;

namespace {
const QPoint MouseSwitch(325, 23); // client position of btnMouDetect

/// The loudest a tone of hz is in any 100 ms of the capture, both channels added up (the alarm
/// plays to the left, the right or both).
double loudestAt(const std::vector<float>& stereo, double hz)
{
    const std::vector<float> left = channel(stereo, 0);
    const std::vector<float> right = channel(stereo, 1);
    std::vector<float> both(left.size());
    for (std::size_t i = 0; i < both.size(); ++i)
        both[i] = left[i] + right[i];
    double loudest = 0;
    for (std::size_t from = 0; from + 4410 <= both.size(); from += 2205)
        loudest = std::max(loudest, amplitudeAt(both, 44100, hz, from, from + 4410));
    return loudest;
}
} // namespace

class DetectionRealTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY2(!qEnvironmentVariable("DISPLAY").isEmpty() && !sink().isEmpty(),
                 "needs the headless rig's X server and sound server");
    }

    void aLoudToneRaisesTheAlarmAndAQuietRoomNothing()
    {
        TempEnvironment env;
        QVERIFY(storeSettings(true, {"ActMicDetectToggle"}));
        Program program;
        startArmed(program, "Microphone Detection - Enabled");
        QVERIFY(!QTest::currentTestFailed());

        QVERIFY(!reported("Microphone detected", 10000));

        const QString tone = env.root() + "/loud.wav";
        QVERIFY(writeTone(tone, {.seconds = 1, .leftHz = 440, .amplitude = 0.5})); // -6 dBFS
        MonitorCapture capture(env.root() + "/heard.wav");
        run("paplay", {"-d", sink(), tone});
        QVERIFY2(reported("Microphone detected", 5000), qPrintable(reportMessages().join(" | ")));
        QTest::qWait(1500); // the alarm sound plays to its end
        const std::vector<float> heard = capture.stop();
        QVERIFY2(loudestAt(heard, 440) > 0.4, "the capture missed the loud tone itself");
        const double alarm = loudestAt(heard, PlaybackFrequency(int(AlarmFileHz), 0, 0));
        QVERIFY2(alarm > 0.05, qPrintable(QString::number(alarm)));
    }

    void theMouseSwitchPersistsAndClicksWheelAndLargeMovesRaiseTheAlarm()
    {
        TempEnvironment env;
        QVERIFY(storeSettings(false, {}));
        {
            Program first;
            first.start();
            QVERIFY(!QTest::currentTestFailed());
            first.click(MouseSwitch);
            QVERIFY(waitFor([] { return stored("ActMouDetectToggle") == "T"; }));
        }
        QVERIFY(storeSettings(true, {}));

        const QList<QStringList> intrusions{{"click", "1"}, {"click", "4"},
                                            {"mousemove_relative", "--", "80", "0"}};
        for (const QStringList& intrusion : intrusions) {
            // The pointer waits in a corner, away from the window; a jump there is no move.
            xdotool({"mousemove", "5", "5"});
            Program program;
            startArmed(program, "Mouse Detection - Enabled");
            QVERIFY(!QTest::currentTestFailed());
            if (intrusion.first() == "mousemove_relative") {
                xdotool({"mousemove_relative", "--", "20", "10"});
                QVERIFY2(!reported("Mouse detected", 1500), "a move below the threshold raised it");
            }
            xdotool(intrusion);
            QVERIFY2(reported("Mouse detected", 5000), qPrintable(intrusion.join(' ')));
        }
    }

    void afterTheSoundServerRestartsAClickIsHeardAndAKillMidAlarmHangsNothing()
    {
        TempEnvironment env;
        PrivateSoundServer server;
        QVERIFY(server.start());
        QVERIFY(storeSettings(true, {"ActMouDetectToggle"}, 3));
        xdotool({"mousemove", "5", "5"});
        Program program;
        startArmed(program, "Mouse Detection - Enabled");
        QVERIFY(!QTest::currentTestFailed());

        server.kill();
        QVERIFY2(reported("Audio device lost", 5000), qPrintable(reportMessages().join(" | ")));
        QVERIFY(server.start());
        QVERIFY2(reported("Audio device restored", 5000), qPrintable(reportMessages().join(" | ")));
        QTest::qWait(5000);
        {
            MonitorCapture capture(env.root() + "/heard.wav");
            xdotool({"click", "1"});
            QVERIFY(reported("Mouse detected", 5000));
            QTest::qWait(1500);
            const double alarm =
                loudestAt(capture.stop(), PlaybackFrequency(int(AlarmFileHz), 0, 0));
            QVERIFY2(alarm > 0.05, qPrintable(QString::number(alarm)));
        }
        QCOMPARE(reportMessages().count("Audio device lost"), 1);

        // The alarm of that click still sounds: the server goes in the middle of it.
        server.kill();
        QVERIFY2(reported("Audio device lost", 5000, 2), qPrintable(reportMessages().join(" | ")));
        QVERIFY(server.start());
        QVERIFY2(reported("Audio device restored", 5000, 2),
                 qPrintable(reportMessages().join(" | ")));
    }
};

QTEST_GUILESS_MAIN(DetectionRealTest)
#include "test_detection_real.moc"

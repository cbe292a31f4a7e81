// The speaker test buttons on the real audio engine: what the null sink's monitor hears.
#include "FakeAlertTransport.h"
#include "FakeAutostart.h"
#include "FakeKeySource.h"
#include "FakePointerSource.h"
#include "FakeMessageBoxes.h"
#include "FakeSoundFileDialog.h"
#include "FakeProgramLauncher.h"
#include "FakeUrlOpener.h"
#include "MonitorCapture.h"
#include "SoundFiles.h"
#include "TempEnvironment.h"
#include "VirtualClock.h"
#include "app/MainLogic.h"
#include "app/fmMain.h"
#include "app/gVars.h"
#include "audio/AlarmSoundPlayer.h"
#include "core/Random.h"
#include "platform/AudioBackendChoice.h"
#include "settings/gRegistry.h"

#include <QListWidget>
#include <QPushButton>
#include <QTest>

class SpeakerTestSinkTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (sink().isEmpty())
            QSKIP("needs the test rig's PulseAudio null sink (scripts/test)");
    }

    void eachSideSoundsAloneAndStopSilences_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("heardSide");
        QTest::newRow("L") << "btnFrontLeft" << 0;
        QTest::newRow("R") << "btnFrontRight" << 1;
    }

    void eachSideSoundsAloneAndStopSilences()
    {
        QFETCH(QString, button);
        QFETCH(int, heardSide);
        TempEnvironment env;
        QVERIFY(QDir().mkpath(SoundsFolder));
        QVERIFY(writeTone(SoundsFolder + "tone.wav", {.seconds = 0.6, .leftHz = 800, .amplitude = 0.8}));

        SettingsStore store(env.settingsFile());
        VirtualClock clock;
        SeededRandom random(7);
        FakeMessageBoxes messages;
        FakeSoundFileDialog soundFiles;
        // The engine the program itself would choose here.
        const std::unique_ptr<AudioBackend> audio = OpenAudioBackend();
        FakeAutostart autostart;
        FakePointerSource pointer;
        FakeKeySource keys;
        FakeUrlOpener urls;
        FakeProgramLauncher programs;
        TfrmMain window;
        MainLogic logic(MainServices{store, clock, clock, random, messages, QStringLiteral(":"),
                                     [&](const TunableValues& tunables) {
                                         return std::make_unique<AlarmSoundPlayer>(*audio, tunables,
                                                                                   random);
                                     },
                                     soundFiles, *audio, autostart, pointer, keys, urls, programs,
                                     [] { return std::make_unique<FakeAlertTransport>(); }},
                        window);
        QVERIFY(window.create(logic));
        window.findChild<QListWidget*>("chklbSounds")->setCurrentRow(0);
        logic.KeyState();
        auto* play = window.findChild<QPushButton*>(button);
        QVERIFY(play->isEnabled());

        MonitorCapture capture(env.root() + "/heard.wav");
        QTest::mouseClick(play, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!logic.playback().IsPlaying(), 5000);
        const std::vector<float> heard = capture.stop();
        QVERIFY(!heard.empty());
        // Alarm volume 50 halves the tone's 0.8.
        QVERIFY2(peak(channel(heard, heardSide)) > 0.3f, qPrintable(QString::number(peak(channel(heard, heardSide)))));
        QVERIFY2(peak(channel(heard, 1 - heardSide)) < 0.0005f,
                 qPrintable(QString::number(peak(channel(heard, 1 - heardSide)))));
        QVERIFY(messages.shown.isEmpty());

        // "Stop" silences a sound at once.
        QTest::mouseClick(play, Qt::LeftButton);
        QVERIFY(logic.playback().IsPlaying());
        QTest::mouseClick(window.findChild<QPushButton*>("btnTestStop"), Qt::LeftButton);
        QVERIFY(!logic.playback().IsPlaying());
        window.close();
    }
};

QTEST_MAIN(SpeakerTestSinkTest)
#include "test_speaker_test_sink.moc"

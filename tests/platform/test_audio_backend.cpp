#include "FakeTunables.h"
#include "MonitorCapture.h"
#include "SoundFiles.h"
#include "audio/AlarmSoundPlayer.h"
#include "core/Random.h"
#include "platform/PortAudioBackend.h"
#include "platform/PulseBackend.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <mutex>

namespace {
constexpr int Rate = 44100;

/// Level reports collected on the recording thread.
struct Levels
{
    std::mutex mutex;
    std::vector<std::uint32_t> reports;

    AudioBackend::LevelCallback callback()
    {
        return [this](AudioHandle, std::uint32_t level) {
            std::lock_guard lock(mutex);
            reports.push_back(level);
        };
    }
    std::vector<std::uint32_t> take()
    {
        std::lock_guard lock(mutex);
        return std::exchange(reports, {});
    }
};

/// What differs between the engines; the behaviour the program relies on does not.
struct Engine
{
    QString name;
    std::function<std::unique_ptr<AudioBackend>()> open;
    QString inputOn;     // the input that is on at start
    bool levelsSettable; // whether an input's level reaches the device
};

Engine engineUnderTest()
{
    if (qEnvironmentVariable("OSTREL_TEST_ENGINE") == QLatin1String("pulse")) {
        return {"PulseBackend",
                [] {
                    auto pulse = std::make_unique<PulseBackend>();
                    return pulse->connect() ? std::unique_ptr<AudioBackend>(std::move(pulse))
                                            : nullptr;
                },
                "Monitor of Ostrel_test_sink", true};
    }
    return {"PortAudioBackend", [] { return std::make_unique<PortAudioBackend>(); }, "default",
            false};
}

/// The index of the input that is on.
int on(AudioBackend& audio)
{
    for (int i = 0; audio.inputName(i); ++i)
        if (!(*audio.inputFlags(i) & InputFlags::Off))
            return i;
    return -1;
}

/// The sink's monitor's volume as the server reports it, in percent.
int monitorVolume()
{
    QProcess pactl;
    pactl.start("pactl", {"get-source-volume", sink() + ".monitor"});
    pactl.waitForFinished();
    const QString out = QString::fromUtf8(pactl.readAllStandardOutput());
    const int percent = out.indexOf('%');
    return percent < 0 ? -1 : out.left(percent).section(' ', -1).toInt();
}

std::uint32_t left(std::uint32_t level)
{
    return level & 0xFFFF;
}
std::uint32_t right(std::uint32_t level)
{
    return level >> 16;
}
} // namespace

/// One body for every engine: the one under test is named by OSTREL_TEST_ENGINE.
class AudioBackendTest : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    const Engine m_engine = engineUnderTest();
    std::unique_ptr<AudioBackend> m_audio;
    AudioBackend& audio() { return *m_audio; }

private slots:
    void initTestCase()
    {
        if (sink().isEmpty())
            QSKIP("needs the test rig's PulseAudio null sink (scripts/test)");
        qInfo("engine: %s", qPrintable(m_engine.name));
        m_audio = m_engine.open();
        QVERIFY(m_audio);
        QVERIFY(audio().version() >= audio().requiredVersion());
        QVERIFY(audio().initRecording());
        QVERIFY(audio().initOutput(Rate));
    }

    void theDefaultCaptureDeviceIsTheInputThatIsOn()
    {
        QStringList on;
        int count = 0;
        for (; audio().inputName(count); ++count) {
            const std::uint32_t flags = *audio().inputFlags(count);
            if (!(flags & InputFlags::Off))
                on << *audio().inputName(count);
            QCOMPARE(flags & InputFlags::VolumeMask, 100u);
        }
        QVERIFY(count >= 1);
        QCOMPARE(on, QStringList{m_engine.inputOn});
        QVERIFY(!audio().inputFlags(count));
        QCOMPARE(audio().errorCode(), AudioError::NoDevice);
        QVERIFY(!audio().setInput(-1, InputFlags::On));
    }

    void aLevelReachesTheInputWhereTheDeviceTakesOne()
    {
        const int monitor = on(audio());
        if (!m_engine.levelsSettable) {
            QVERIFY(!audio().setInput(monitor, InputFlags::Level | 50));
            QCOMPARE(audio().errorCode(), AudioError::NotAvailable);
            return;
        }
        QVERIFY(audio().setInput(monitor, InputFlags::Level | 40));
        QCOMPARE(*audio().inputFlags(monitor) & InputFlags::VolumeMask, 40u);
        QTRY_COMPARE(monitorVolume(), 40);
        QVERIFY(audio().setInput(monitor, InputFlags::Level | 100));
        QTRY_COMPARE(monitorVolume(), 100);
    }

    void playedSoundsReachTheSpeakersAtTheirPitchOnTheirSide_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<int>("global");
        QTest::addColumn<int>("panMode");
        QTest::addColumn<double>("hz");
        QTest::newRow("wav, base -100, left") << "wav" << -100 << 2 << 1000.0 * 24211 / 44100;
        QTest::newRow("mp3, base 0, right") << "mp3" << 0 << 0 << 1000.0 * 44061 / 44100;
        QTest::newRow("wav, base 100, right") << "wav" << 100 << 0 << 1000.0 * 63901 / 44100;
    }

    void playedSoundsReachTheSpeakersAtTheirPitchOnTheirSide()
    {
        QFETCH(QString, format);
        QFETCH(int, global);
        QFETCH(int, panMode);
        QFETCH(double, hz);
        QString path = m_dir.filePath("tone.wav");
        QVERIFY(writeTone(path, {.seconds = 0.6, .leftHz = 1000, .amplitude = 0.5}));
        if (format == "mp3") {
            const QString mp3 = m_dir.filePath("tone.mp3");
            QCOMPARE(QProcess::execute("lame", {"--quiet", path, mp3}), 0);
            path = mp3;
        }
        FakeTunables tunables;
        tunables.set(Tunable::trkGlobalAlteration, global);
        tunables.set(Tunable::trkRandomAlteration, 0);
        tunables.set(Tunable::trkAlarmVolume, 100);
        SeededRandom random(3);
        AlarmSoundPlayer player(audio(), tunables, random);

        MonitorCapture capture(m_dir.filePath("heard.wav"));
        player.PlayHow(0, panMode, path);
        QVERIFY(player.IsPlaying());
        QTRY_VERIFY_WITH_TIMEOUT(!player.IsPlaying(), 5000);
        const std::vector<float> heard = capture.stop();
        QVERIFY(!heard.empty());
        const std::vector<float> sounding = channel(heard, panMode == PanLeft ? 0 : 1);
        const std::vector<float> silent = channel(heard, panMode == PanLeft ? 1 : 0);
        const double measured = zeroCrossingHz(audible(sounding, 0.05f), Rate);
        QVERIFY2(std::fabs(measured - hz) < hz * 0.003,
                 qPrintable(QStringLiteral("heard %1 Hz, expected %2 Hz").arg(measured).arg(hz)));
        // A lossy file's own peak is not quite the tone's it was made from.
        QVERIFY(std::fabs(peak(sounding) - filePeak(path)) < 0.01f);
        QVERIFY2(peak(silent) < 0.0005f, qPrintable(QString::number(peak(silent))));
        player.StopSounds();
    }

    void aToneIntoTheSinkRaisesTheLevelAndSilenceGivesZero()
    {
        const QString tone = m_dir.filePath("loud.wav");
        QVERIFY(writeTone(tone, {.seconds = 1.0, .leftHz = 700, .amplitude = 0.95, .channels = 2}));
        Levels levels;
        const AudioHandle recording = audio().startRecording(Rate, levels.callback());
        QVERIFY(recording);
        QVERIFY(audio().isActive(recording));
        QTest::qWait(1200);
        const std::vector<std::uint32_t> quiet = levels.take();
        QVERIFY2(quiet.size() >= 9 && quiet.size() <= 14,
                 qPrintable(QString::number(quiet.size())));
        for (std::uint32_t level : quiet)
            QCOMPARE(level, 0u);

        QCOMPARE(QProcess::execute("paplay", {"-d", sink(), tone}), 0);
        QTest::qWait(300);
        const std::vector<std::uint32_t> loud = levels.take();
        std::uint32_t loudestLeft = 0, loudestRight = 0;
        for (std::uint32_t level : loud) {
            loudestLeft = std::max(loudestLeft, left(level));
            loudestRight = std::max(loudestRight, right(level));
        }
        // 0.95 of full scale is -0.45 dBFS.
        QVERIFY2(loudestLeft >= 98 && loudestRight >= 98,
                 qPrintable(QStringLiteral("%1 %2").arg(loudestLeft).arg(loudestRight)));
        QVERIFY(audio().stop(recording));
        QVERIFY(!audio().isActive(recording));
        levels.take();
        QTest::qWait(300);
        QVERIFY(levels.take().empty());
    }

    void oneRecordingAtATimeAndAStoppedOneIsNoChannel()
    {
        Levels levels;
        const AudioHandle first = audio().startRecording(Rate, levels.callback());
        QVERIFY(first);
        QCOMPARE(audio().startRecording(Rate, levels.callback()), AudioHandle(0));
        QCOMPARE(audio().errorCode(), AudioError::Busy);
        QVERIFY(audio().stop(first));
        const AudioHandle second = audio().startRecording(Rate, levels.callback());
        QVERIFY(second && second != first);
        QVERIFY(!audio().isActive(first));
        QVERIFY(audio().isActive(second));
        audio().freeRecording();
        QVERIFY(!audio().isActive(second));
        QVERIFY(!audio().inputName(0));
        QCOMPARE(audio().startRecording(Rate, levels.callback()), AudioHandle(0));
        QCOMPARE(audio().errorCode(), AudioError::NotStarted);
        QVERIFY(audio().initRecording());
    }

    void withoutOutputNoStreamIsMade()
    {
        const QString path = m_dir.filePath("short.wav");
        QVERIFY(writeTone(path, {}));
        audio().freeOutput();
        QCOMPARE(audio().createFileStream(path), AudioHandle(0));
        QCOMPARE(audio().errorCode(), AudioError::NotStarted);
        QVERIFY(audio().initOutput(Rate));
        QVERIFY(audio().createFileStream(path) != 0);
    }
};

QTEST_GUILESS_MAIN(AudioBackendTest)
#include "test_audio_backend.moc"

#include "FakeTunables.h"
#include "MonitorCapture.h"
#include "SoundFiles.h"
#include "audio/AlarmSoundPlayer.h"
#include "core/Random.h"
#include "platform/PortAudioBackend.h"

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

std::uint32_t left(std::uint32_t level)
{
    return level & 0xFFFF;
}
std::uint32_t right(std::uint32_t level)
{
    return level >> 16;
}
} // namespace

class PortAudioBackendTest : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    PortAudioBackend m_audio;

private slots:
    void initTestCase()
    {
        if (sink().isEmpty())
            QSKIP("needs the test rig's PulseAudio null sink (scripts/test)");
        QVERIFY(m_audio.version() >= AudioBackend::RequiredVersion);
        QVERIFY(m_audio.initRecording());
        QVERIFY(m_audio.initOutput(Rate));
    }

    void theDefaultCaptureDeviceIsTheInputThatIsOn()
    {
        QStringList on;
        int count = 0;
        for (; m_audio.inputName(count); ++count) {
            const std::uint32_t flags = *m_audio.inputFlags(count);
            if (!(flags & InputFlags::Off))
                on << *m_audio.inputName(count);
            QCOMPARE(flags & InputFlags::VolumeMask, 100u);
        }
        QVERIFY(count >= 1);
        QCOMPARE(on, QStringList{"default"});
        QVERIFY(!m_audio.inputFlags(count));
        QCOMPARE(m_audio.errorCode(), AudioError::NoDevice);
        QVERIFY(!m_audio.setInput(0, InputFlags::Level | 50));
        QCOMPARE(m_audio.errorCode(), AudioError::NotAvailable);
        QVERIFY(!m_audio.setInput(-1, InputFlags::On));
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
        AlarmSoundPlayer player(m_audio, tunables, random);

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
        const AudioHandle recording = m_audio.startRecording(Rate, levels.callback());
        QVERIFY(recording);
        QVERIFY(m_audio.isActive(recording));
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
        QVERIFY(m_audio.stop(recording));
        QVERIFY(!m_audio.isActive(recording));
        levels.take();
        QTest::qWait(300);
        QVERIFY(levels.take().empty());
    }

    void oneRecordingAtATimeAndAStoppedOneIsNoChannel()
    {
        Levels levels;
        const AudioHandle first = m_audio.startRecording(Rate, levels.callback());
        QVERIFY(first);
        QCOMPARE(m_audio.startRecording(Rate, levels.callback()), AudioHandle(0));
        QCOMPARE(m_audio.errorCode(), AudioError::Busy);
        QVERIFY(m_audio.stop(first));
        const AudioHandle second = m_audio.startRecording(Rate, levels.callback());
        QVERIFY(second && second != first);
        QVERIFY(!m_audio.isActive(first));
        QVERIFY(m_audio.isActive(second));
        m_audio.freeRecording();
        QVERIFY(!m_audio.isActive(second));
        QVERIFY(!m_audio.inputName(0));
        QCOMPARE(m_audio.startRecording(Rate, levels.callback()), AudioHandle(0));
        QCOMPARE(m_audio.errorCode(), AudioError::NotStarted);
        QVERIFY(m_audio.initRecording());
    }

    void withoutOutputNoStreamIsMade()
    {
        const QString path = m_dir.filePath("short.wav");
        QVERIFY(writeTone(path, {}));
        m_audio.freeOutput();
        QCOMPARE(m_audio.createFileStream(path), AudioHandle(0));
        QCOMPARE(m_audio.errorCode(), AudioError::NotStarted);
        QVERIFY(m_audio.initOutput(Rate));
        QVERIFY(m_audio.createFileStream(path) != 0);
    }
};

QTEST_GUILESS_MAIN(PortAudioBackendTest)
#include "test_portaudio_backend.moc"

// The sound server engine's own promises, on a private PulseAudio daemon that each test may
// kill and start again: streams only while needed, a server that comes and goes, defaults
// that move, and the speakers' state.
#include "FakeTunables.h"
#include "MonitorCapture.h"
#include "PrivateSoundServer.h"
#include "SoundFiles.h"
#include "audio/AlarmSoundPlayer.h"
#include "core/Random.h"
#include "platform/AudioBackendChoice.h"
#include "platform/MicrophoneSources.h"
#include "platform/PortAudioBackend.h"
#include "platform/PulseBackend.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <pulse/def.h>

namespace {
constexpr int Rate = 44100;

class CountingListener : public AudioDeviceListener
{
public:
    void audioDeviceLost() override { ++lost; }
    void audioDeviceRestored() override { ++restored; }
    int lost = 0;
    int restored = 0;
};

/// How many streams of ours the server holds: "sink-inputs" or "source-outputs".
int streamsOnServer(const PrivateSoundServer& server, const char* kind)
{
    const QString list = server.query({"list", "short", kind});
    return list.isEmpty() ? 0 : int(list.split('\n').size());
}

/// The loudest level word's louder side among the reports since the last call.
class LevelProbe
{
public:
    AudioBackend::LevelCallback callback()
    {
        return [this](AudioHandle, std::uint32_t level) {
            const std::uint32_t louder = std::max(level & 0xFFFF, level >> 16);
            std::uint32_t seen = m_loudest.load();
            while (louder > seen && !m_loudest.compare_exchange_weak(seen, louder)) {
            }
            m_reports.fetch_add(1);
        };
    }
    std::uint32_t takeLoudest() { return m_loudest.exchange(0); }
    int reports() const { return m_reports.load(); }

private:
    std::atomic<std::uint32_t> m_loudest{0};
    std::atomic<int> m_reports{0};
};
} // namespace

class PulseBackendTest : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    FakeTunables m_tunables;
    SeededRandom m_random{5};

    /// A started engine on the private server.
    std::unique_ptr<PulseBackend> startedEngine()
    {
        auto audio = std::make_unique<PulseBackend>();
        if (!audio->connect() || !audio->initRecording() || !audio->initOutput(Rate))
            return nullptr;
        return audio;
    }

    /// A 1 kHz tone at half of full scale.
    QString tone(const QString& name, double seconds)
    {
        const QString path = m_dir.filePath(name);
        writeTone(path, {.seconds = seconds, .leftHz = 1000, .amplitude = 0.5, .channels = 2});
        return path;
    }

    /// Plays the file through the engine and tells the peak the sink's monitor heard: nothing
    /// else plays on the private server.
    float heardWhenPlayed(AudioBackend& audio, const QString& path)
    {
        AlarmSoundPlayer player(audio, m_tunables, m_random);
        MonitorCapture capture(m_dir.filePath("heard.wav"));
        player.PlayHow(0, PanCentre, path);
        QDeadlineTimer deadline(5000);
        while (player.IsPlaying() && !deadline.hasExpired())
            QTest::qWait(20);
        return peak(capture.stop());
    }

private slots:
    void init()
    {
        m_tunables.set(Tunable::trkRandomAlteration, 0);
        m_tunables.set(Tunable::trkAlarmVolume, 100);
    }

    void microphonesAreKnownByPortFormOrName()
    {
        SourceTraits analog{"alsa_input.pci.analog-stereo", "Built-in Audio", "internal", {}, false};
        QVERIFY(!IsMicrophoneSource(analog));
        analog.activePortType = PA_DEVICE_PORT_TYPE_MIC;
        QVERIFY(IsMicrophoneSource(analog));
        analog.activePortType = PA_DEVICE_PORT_TYPE_LINE;
        QVERIFY(!IsMicrophoneSource(analog));
        QVERIFY(IsMicrophoneSource({"usb.cam", "HD Webcam", "webcam", {}, false}));
        QVERIFY(IsMicrophoneSource({"alsa_input.usb-Blue_Microphones_Yeti", "Yeti", "", {}, false}));
        QVERIFY(IsMicrophoneSource({"bluez_input.headset", "Desk mic", "", {}, false}));
        QVERIFY(!IsMicrophoneSource({"dynamic_range.monitor", "Dynamic", "", {}, false}));
        // A monitor hears the speakers, whatever it is called.
        QVERIFY(!IsMicrophoneSource({"mic_sink.monitor", "Monitor of Mic", "microphone",
                                     PA_DEVICE_PORT_TYPE_MIC, true}));
    }

    void withoutAServerTheChoiceFallsBackToPortAudioInTime()
    {
        const QByteArray previous = qgetenv("PULSE_SERVER");
        qputenv("PULSE_SERVER", "unix:" + m_dir.filePath("nobody-here").toUtf8());
        QElapsedTimer took;
        took.start();
        const std::unique_ptr<AudioBackend> chosen = OpenAudioBackend();
        qputenv("PULSE_SERVER", previous);
        QVERIFY(dynamic_cast<PortAudioBackend*>(chosen.get()));
        QVERIFY2(took.elapsed() < PulseBackend::ConnectTimeout.count(),
                 qPrintable(QString::number(took.elapsed())));
    }

    void thePlaybackStreamLivesOnlyWhileASoundPlays()
    {
        PrivateSoundServer server;
        QVERIFY(server.start());
        const auto audio = startedEngine();
        QVERIFY(audio);
        QCOMPARE(streamsOnServer(server, "sink-inputs"), 0);

        AlarmSoundPlayer player(*audio, m_tunables, m_random);
        player.PlayHow(0, PanCentre, tone("short.wav", 0.3));
        QVERIFY(player.IsPlaying());
        QVERIFY(audio->playbackOpen());
        QTRY_COMPARE(streamsOnServer(server, "sink-inputs"), 1);
        QTRY_VERIFY_WITH_TIMEOUT(!player.IsPlaying(), 3000);
        QElapsedTimer silent;
        silent.start();
        QTRY_VERIFY_WITH_TIMEOUT(!audio->playbackOpen(), 2000);
        QVERIFY2(silent.elapsed() <= 1000, qPrintable(QString::number(silent.elapsed())));
        QTRY_COMPARE(streamsOnServer(server, "sink-inputs"), 0);

        // A second sound opens a stream again and is heard.
        QVERIFY(heardWhenPlayed(*audio, tone("again.wav", 0.3)) > 0.2);
        // Halted when the sound starts and resumed before its stream is ready: it plays to its end.
        QVERIFY(audio->pauseOutput());
        player.PlayHow(0, PanCentre, tone("resumed.wav", 0.3));
        QVERIFY(audio->resumeOutput());
        QTRY_VERIFY_WITH_TIMEOUT(!player.IsPlaying(), 3000);
    }

    void aLostServerIsToldOnceStopsEverythingAndItsReturnIsHeard()
    {
        PrivateSoundServer server;
        QVERIFY(server.start());
        const auto audio = startedEngine();
        QVERIFY(audio);
        CountingListener listener;
        audio->setDeviceListener(&listener);
        LevelProbe levels;
        const AudioHandle recording = audio->startRecording(Rate, levels.callback());
        QVERIFY(recording);
        AlarmSoundPlayer player(*audio, m_tunables, m_random);
        player.PlayHow(0, PanCentre, tone("long.wav", 10));
        QVERIFY(player.IsPlaying());

        server.kill();
        QTRY_COMPARE(listener.lost, 1);
        QVERIFY(!player.IsPlaying());
        QVERIFY(!audio->isActive(recording));
        player.PlayHow(0, PanCentre, tone("unheard.wav", 0.3));
        QVERIFY(!player.IsPlaying());
        QCOMPARE(audio->errorCode(), AudioError::DeviceFailed);
        QCOMPARE(audio->startRecording(Rate, levels.callback()), AudioHandle(0));
        // Two more attempts to connect fail without another word.
        QTest::qWait(int(2 * std::chrono::milliseconds(PulseConnection::RetryInterval).count()) + 500);
        QCOMPARE(listener.lost, 1);
        QCOMPARE(listener.restored, 0);

        QVERIFY(server.start());
        QTRY_COMPARE_WITH_TIMEOUT(listener.restored, 1, 5000);
        QCOMPARE(listener.lost, 1);
        const int reportsBefore = levels.reports();
        QVERIFY(audio->startRecording(Rate, levels.callback()));
        // An idle null sink may take its longest block to deliver the first fragment.
        QTRY_VERIFY_WITH_TIMEOUT(levels.reports() > reportsBefore, 5000);
        // What the restored playback plays, the restored recording hears on the sink's monitor.
        levels.takeLoudest();
        AlarmSoundPlayer again(*audio, m_tunables, m_random);
        again.PlayHow(0, PanCentre, tone("heard.wav", 0.5));
        QVERIFY(again.IsPlaying());
        std::uint32_t loudest = 0;
        QTRY_VERIFY_WITH_TIMEOUT((loudest = std::max(loudest, levels.takeLoudest())) > 80, 5000);
        audio->setDeviceListener(nullptr);
    }

    void theNewDefaultSinkAndSourceAreFollowedAndAnUnpluggedOneIsLeft()
    {
        PrivateSoundServer server;
        QVERIFY(server.start());
        const auto audio = startedEngine();
        QVERIFY(audio);
        LevelProbe levels;
        QVERIFY(audio->startRecording(Rate, levels.callback()));
        const QString module = server.query({"load-module", "module-null-sink",
                                             "sink_name=other_sink", "rate=44100", "channels=2"});
        QVERIFY(!module.isEmpty());
        QVERIFY(server.command({"set-default-sink", "other_sink"}));
        QVERIFY(server.command({"set-default-source", "other_sink.monitor"}));
        QTRY_COMPARE(server.query({"get-default-source"}), QStringLiteral("other_sink.monitor"));

        // Played to the new default sink: its monitor hears it, and so does the recording,
        // which followed the default source there.
        qputenv("OSTREL_TEST_SINK", "other_sink");
        QTest::qWait(300);
        levels.takeLoudest();
        QVERIFY(heardWhenPlayed(*audio, tone("other.wav", 0.5)) > 0.2);
        QVERIFY2(levels.takeLoudest() > 80, "the recording did not follow the default source");

        // Unplugged while a sound plays: the old sink takes over; nothing hangs or crashes.
        AlarmSoundPlayer player(*audio, m_tunables, m_random);
        player.PlayHow(0, PanCentre, tone("cut.wav", 3));
        QTest::qWait(200);
        QVERIFY(server.command({"unload-module", module}));
        qputenv("OSTREL_TEST_SINK", PrivateSoundServer::Sink);
        QTRY_VERIFY_WITH_TIMEOUT(!player.IsPlaying(), 5000);
        QTRY_VERIFY_WITH_TIMEOUT(heardWhenPlayed(*audio, tone("back.wav", 0.5)) > 0.2,
                                 8000);
        const int before = levels.reports();
        QTRY_VERIFY(levels.reports() > before + 3);
    }

    void aServerWithoutSpeakersIsNoUseUntilSomeCome()
    {
        PrivateSoundServer server;
        QVERIFY(server.start());
        const auto audio = startedEngine();
        QVERIFY(audio);
        CountingListener listener;
        audio->setDeviceListener(&listener);
        const QString sinkModule = server.query({"list", "short", "modules"})
                                       .split('\n')
                                       .filter("module-null-sink")
                                       .value(0)
                                       .section('\t', 0, 0);
        QVERIFY(server.command({"unload-module", sinkModule}));
        QTRY_COMPARE_WITH_TIMEOUT(listener.lost, 1, 5000);
        PulseBackend another;
        QVERIFY(!another.connect());

        QVERIFY(server.command({"load-module", "module-null-sink",
                                QStringLiteral("sink_name=%1").arg(PrivateSoundServer::Sink)}));
        QVERIFY(server.command({"set-default-source", QStringLiteral("%1.monitor").arg(PrivateSoundServer::Sink)}));
        QTRY_COMPARE_WITH_TIMEOUT(listener.restored, 1, 5000);
        QCOMPARE(listener.lost, 1);
        QVERIFY(heardWhenPlayed(*audio, tone("back.wav", 0.5)) > 0.2);
        audio->setDeviceListener(nullptr);
    }

    void aNamedSourceThatGoesEndsOnlyItsRecording()
    {
        PrivateSoundServer server;
        QVERIFY(server.start());
        const QString module = server.query({"load-module", "module-null-sink",
                                             "sink_name=usb_sink",
                                             "sink_properties=device.description=USB"});
        QVERIFY(!module.isEmpty());
        const auto audio = startedEngine();
        QVERIFY(audio);
        CountingListener listener;
        audio->setDeviceListener(&listener);
        int usb = -1;
        for (int i = 0; audio->inputName(i); ++i)
            if (*audio->inputName(i) == "Monitor of USB")
                usb = i;
        QVERIFY(usb >= 0);
        QVERIFY(audio->setInput(usb, InputFlags::On));
        LevelProbe levels;
        const AudioHandle recording = audio->startRecording(Rate, levels.callback());
        QVERIFY(recording);

        QVERIFY(server.command({"unload-module", module}));
        // Whether the server moved the recording or ended it, the server itself is not lost.
        QTest::qWait(2 * int(std::chrono::milliseconds(PulseConnection::RetryInterval).count()));
        QCOMPARE(listener.lost, 0);
        QVERIFY(audio->stop(recording));
        QCOMPARE(audio->startRecording(Rate, levels.callback()), AudioHandle(0));
        QCOMPARE(audio->errorCode(), AudioError::NoDevice);
        QCOMPARE(listener.lost, 0);
        audio->setDeviceListener(nullptr);
    }

    void theSpeakersStateIsToldNowAndAtEveryChange()
    {
        PrivateSoundServer server;
        QVERIFY(server.start());
        const auto audio = startedEngine();
        QVERIFY(audio);
        std::vector<VolumeState> told;
        audio->watchSpeakers([&](const VolumeState& state) { told.push_back(state); });
        QTRY_COMPARE(told.size(), std::size_t(1));
        QCOMPARE(told.back(), (VolumeState{PrivateSoundServer::Sink, 100, false}));
        QVERIFY(server.command({"set-sink-mute", PrivateSoundServer::Sink, "1"}));
        QTRY_VERIFY(told.back().muted);
        QVERIFY(server.command({"set-sink-volume", PrivateSoundServer::Sink, "30%"}));
        QTRY_COMPARE(told.back().volume, 30);
        QVERIFY(told.back().muted);
    }
};

QTEST_GUILESS_MAIN(PulseBackendTest)
#include "test_pulse_backend.moc"

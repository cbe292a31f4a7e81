#include "FakeTunables.h"
#include "ResidentMemory.h"
#include "SoundFiles.h"
#include "audio/AlarmSoundPlayer.h"
#include "core/Random.h"
#include "platform/PlaybackEngine.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <thread>

namespace {
constexpr int Rate = 44100;
constexpr std::size_t Chunk = 512;

/// The engine without a device: the test decodes and mixes by hand, chunk by chunk.
struct Offline
{
    QTemporaryDir dir;
    PlaybackEngine engine{Rate, false};
    FakeTunables tunables;
    SeededRandom random{5};
    AlarmSoundPlayer player{engine, tunables, random};

    Offline()
    {
        tunables.set(Tunable::trkGlobalAlteration, 0);
        tunables.set(Tunable::trkRandomAlteration, 0);
        tunables.set(Tunable::trkAlarmVolume, 100);
    }

    QString tone(const QString& name, const ToneSpec& toneSpec)
    {
        const QString path = dir.filePath(name);
        return writeTone(path, toneSpec) ? path : QString();
    }

    /// Renders `frames` stereo frames.
    std::vector<float> render(std::size_t frames)
    {
        std::vector<float> out(2 * frames);
        for (std::size_t at = 0; at < frames; at += Chunk) {
            engine.decodeAhead();
            engine.render(out.data() + 2 * at, std::min(Chunk, frames - at));
        }
        return out;
    }

    /// Renders until the handle has ended; gives what was rendered while it played.
    std::vector<float> renderWhileActive(AudioHandle stream, std::size_t limit = 20 * Rate)
    {
        std::vector<float> out;
        while (engine.isActive(stream) && out.size() < 2 * limit) {
            std::vector<float> chunk(2 * Chunk);
            engine.decodeAhead();
            engine.render(chunk.data(), Chunk);
            out.insert(out.end(), chunk.begin(), chunk.end());
        }
        return out;
    }

    AudioHandle start(const QString& path, ChannelAttributes attributes)
    {
        const AudioHandle stream = engine.createFileStream(path);
        if (stream == 0 || !engine.setAttributes(stream, attributes) || !engine.play(stream))
            return 0;
        return stream;
    }
};

} // namespace

class PlaybackEngineTest : public QObject
{
    Q_OBJECT
private slots:
    void halvingTheFrequencyHalvesThePitchAndDoublesTheLength_data()
    {
        QTest::addColumn<int>("frequency");
        QTest::addColumn<double>("hz");
        QTest::addColumn<double>("seconds");
        QTest::newRow("own rate") << 44100 << 1000.0 << 0.5;
        QTest::newRow("half rate") << 22050 << 500.0 << 1.0;
        QTest::newRow("upper limit") << 100000 << 1000.0 * 100000 / 44100 << 0.5 * 44100 / 100000;
    }

    void halvingTheFrequencyHalvesThePitchAndDoublesTheLength()
    {
        QFETCH(int, frequency);
        QFETCH(double, hz);
        QFETCH(double, seconds);
        Offline o;
        const AudioHandle stream = o.start(o.tone("a.wav", {}), {frequency, 100, 0});
        QVERIFY(stream);
        const std::vector<float> left = channel(o.renderWhileActive(stream), 0);
        QVERIFY(std::fabs(zeroCrossingHz(left, Rate) - hz) < hz * 0.002);
        QVERIFY2(std::fabs(double(audible(left).size()) / Rate - seconds) < 0.01,
                 qPrintable(QString::number(audible(left).size())));
        // The stream ends when its last frame has been mixed, within one chunk.
        QVERIFY(left.size() - audible(left).size() < 2 * Chunk);
    }

    void aRateTooLowForOneResamplingStepStillPlaysAtThatRate()
    {
        Offline o;
        const QString path =
            o.tone("slow.wav", {.rate = 8000, .seconds = 0.05, .leftHz = 400, .amplitude = 0.5});
        const AudioHandle stream = o.start(path, {100, 100, 0});
        QVERIFY(stream);
        const std::vector<float> left = channel(o.renderWhileActive(stream), 0);
        // 400 frames at 100 per second: four seconds of a 5 Hz tone.
        QVERIFY(std::fabs(double(left.size()) / Rate - 4.0) < 0.05);
        QVERIFY(std::fabs(zeroCrossingHz(left, Rate) - 5.0) < 0.1);
    }

    void aFileClaimingARateOutsideThePlayableRangePlaysAtTheNearestEnd_data()
    {
        QTest::addColumn<int>("claimed");
        QTest::addColumn<int>("played");
        QTest::newRow("1 Hz") << 1 << 100;
        QTest::newRow("20 Hz") << 20 << 100;
        QTest::newRow("99 Hz") << 99 << 100;
        QTest::newRow("1 MHz") << 1000000 << 100000;
    }

    void aFileClaimingARateOutsideThePlayableRangePlaysAtTheNearestEnd()
    {
        // A header may claim any rate; played at its own, the sound must neither overrun a
        // buffer nor stall, and lasts as long as the rate it can be played at makes it.
        QFETCH(int, claimed);
        QFETCH(int, played);
        Offline o;
        const int frames = 200;
        const QString path = o.tone("claimed.wav", {.rate = claimed,
                                                    .seconds = double(frames) / claimed,
                                                    .leftHz = 0,
                                                    .amplitude = 0.5});
        QVERIFY(!path.isEmpty());
        const AudioHandle stream = o.engine.createFileStream(path);
        QVERIFY(stream);
        QCOMPARE(o.engine.attributes(stream)->frequency, claimed);
        QVERIFY(o.engine.play(stream));
        const std::size_t rendered = o.renderWhileActive(stream).size() / 2;
        const double expected = double(frames) * Rate / played;
        QVERIFY2(std::fabs(double(rendered) - expected) <= std::max(0.05 * expected, double(2 * Chunk)),
                 qPrintable(QStringLiteral("%1 frames, expected %2").arg(rendered).arg(expected)));
    }

    void panSilencesTheOtherSideAndBalancesLinearlyBetween_data()
    {
        QTest::addColumn<int>("pan");
        QTest::addColumn<double>("leftPeak");
        QTest::addColumn<double>("rightPeak");
        QTest::newRow("left") << -100 << 0.5 << 0.0;
        QTest::newRow("right") << 100 << 0.0 << 0.5;
        QTest::newRow("centre") << 0 << 0.5 << 0.5;
        QTest::newRow("half left") << -50 << 0.5 << 0.25;
        QTest::newRow("quarter right") << 25 << 0.375 << 0.5;
    }

    void panSilencesTheOtherSideAndBalancesLinearlyBetween()
    {
        QFETCH(int, pan);
        QFETCH(double, leftPeak);
        QFETCH(double, rightPeak);
        Offline o;
        const AudioHandle stream = o.start(o.tone("a.wav", {}), {44100, 100, pan});
        const std::vector<float> out = o.renderWhileActive(stream);
        QVERIFY(std::fabs(peak(channel(out, 0)) - leftPeak) < 0.01);
        QVERIFY(std::fabs(peak(channel(out, 1)) - rightPeak) < 0.01);
        if (rightPeak == 0)
            QCOMPARE(peak(channel(out, 1)), 0.0f);
        if (leftPeak == 0)
            QCOMPARE(peak(channel(out, 0)), 0.0f);
    }

    void aStereoFileKeepsItsSides()
    {
        Offline o;
        const QString path =
            o.tone("stereo.wav", {.leftHz = 1000, .rightHz = 0, .amplitude = 0.5, .channels = 2});
        const std::vector<float> out = o.renderWhileActive(o.start(path, {44100, 100, 0}));
        QVERIFY(peak(channel(out, 0)) > 0.49f);
        QCOMPARE(peak(channel(out, 1)), 0.0f);
    }

    void volumeFiftyHalvesTheAmplitude()
    {
        Offline o;
        const QString path = o.tone("a.wav", {.amplitude = 0.8});
        const float full = peak(channel(o.renderWhileActive(o.start(path, {44100, 100, 0})), 0));
        const float half = peak(channel(o.renderWhileActive(o.start(path, {44100, 50, 0})), 0));
        QVERIFY(std::fabs(full - 0.8f) < 0.01f);
        QVERIFY(std::fabs(half / full - 0.5f) < 0.005f);
    }

    void fourSlotsMix()
    {
        Offline o;
        const double tones[] = {500, 1000, 2000, 4000};
        for (int slot = 0; slot < 4; ++slot) {
            o.player.PlayHow(slot, PanCentre,
                             o.tone(QStringLiteral("%1.wav").arg(slot),
                                    {.leftHz = tones[slot], .amplitude = 0.2}));
        }
        const std::vector<float> left = channel(o.render(Rate / 2), 0);
        // Both alteration sliders at 0 play 44061 Hz instead of 44100.
        const double shift = 44061.0 / 44100.0;
        for (double hz : tones) {
            const double amplitude = amplitudeAt(left, Rate, hz * shift, 2048, 20000);
            QVERIFY2(std::fabs(amplitude - 0.2) < 0.01, qPrintable(QString::number(amplitude)));
        }
        QVERIFY(amplitudeAt(left, Rate, 3000, 2048, 20000) < 0.005);
        QVERIFY(o.player.IsPlaying());
        o.render(Rate / 4);
        QVERIFY(!o.player.IsPlaying());
    }

    void aNewSoundInABusySlotCutsTheOldOneOff()
    {
        Offline o;
        o.player.PlayHow(0, PanCentre, o.tone("long.wav", {.seconds = 3, .leftHz = 1000}));
        o.render(Rate / 5);
        o.player.PlayHow(0, PanCentre, o.tone("short.wav", {.seconds = 0.5, .leftHz = 3000}));
        const std::vector<float> after = channel(o.render(Rate), 0);
        QVERIFY(amplitudeAt(after, Rate, 1000 * 44061.0 / 44100, 0, Rate / 2) < 0.005);
        QVERIFY(amplitudeAt(after, Rate, 3000 * 44061.0 / 44100, 0, Rate / 2) > 0.45);
        // Only the new half second sounds: nothing of the old three seconds follows it.
        QCOMPARE(peak(after, std::size_t(0.52 * Rate)), 0.0f);
        QVERIFY(!o.player.IsPlaying());
    }

    void panModeThreeKeepsTheFilesOwnRateVolumeAndPan()
    {
        Offline o;
        o.tunables.set(Tunable::trkGlobalAlteration, 100);
        o.tunables.set(Tunable::trkAlarmVolume, 20);
        o.player.PlayHow(0, 3, o.tone("a.wav", {.rate = 22050, .leftHz = 1000}));
        const AudioHandle stream = o.player.PlaySlots()[0];
        QCOMPARE(o.engine.attributes(stream)->frequency, 22050);
        const std::vector<float> out = o.renderWhileActive(stream);
        QVERIFY(std::fabs(zeroCrossingHz(channel(out, 0), Rate) - 1000) < 2);
        QVERIFY(std::fabs(double(audible(channel(out, 1)).size()) / Rate - 0.5) < 0.01);
        QVERIFY(peak(channel(out, 0)) > 0.49f);
        QVERIFY(peak(channel(out, 1)) > 0.49f);
    }

    void aFileThatCannotBeDecodedGivesNoStream()
    {
        Offline o;
        QFile text(o.dir.filePath("notes.wav"));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("these are not sounds\n");
        text.close();
        QCOMPARE(o.engine.createFileStream(text.fileName()), AudioHandle(0));
        QCOMPARE(o.engine.errorCode(), AudioError::FileOpen);
        QCOMPARE(o.engine.createFileStream(o.dir.filePath("missing.wav")), AudioHandle(0));
        QVERIFY(!o.engine.isActive(0));
        QVERIFY(!o.engine.stop(0));
    }

    void anEndedStreamStaysUntilFreedAndAFreedOneIsNoChannel()
    {
        Offline o;
        const AudioHandle stream = o.start(o.tone("a.wav", {.seconds = 0.1}), {44100, 100, 0});
        o.render(Rate / 5);
        QVERIFY(!o.engine.isActive(stream));
        QCOMPARE(o.engine.attributes(stream)->frequency, 44100);
        QVERIFY(!o.engine.play(stream));
        QCOMPARE(o.engine.errorCode(), AudioError::Ended);
        o.engine.freeStream(stream);
        QVERIFY(!o.engine.attributes(stream));
        QVERIFY(!o.engine.play(stream));
        QCOMPARE(o.engine.errorCode(), AudioError::BadHandle);
        o.engine.freeStream(stream);
    }

    void anMp3PlaysToItsRealEnd()
    {
        Offline o;
        const QString wav = o.tone("a.wav", {.seconds = 1.0, .leftHz = 440});
        const QString mp3 = o.dir.filePath("a.mp3");
        QCOMPARE(QProcess::execute("lame", {"--quiet", wav, mp3}), 0);
        const AudioHandle stream = o.start(mp3, {44100, 100, 0});
        QVERIFY(stream);
        const std::vector<float> left = channel(o.renderWhileActive(stream), 0);
        QVERIFY(std::fabs(zeroCrossingHz(audible(left, 0.1f), Rate) - 440) < 1);
        QVERIFY2(std::fabs(double(audible(left, 0.1f).size()) / Rate - 1.0) < 0.03,
                 qPrintable(QString::number(audible(left, 0.1f).size())));
    }

    void aLongFileCostsNoMoreMemoryThanAShortOne()
    {
        Offline o;
        // Twenty minutes: 19 MB on disk, 420 MB once decoded to stereo at the device rate.
        const QString path = o.tone("long.wav", {.rate = 8000, .seconds = 1200, .leftHz = 100});
        const long before = residentKiB();
        const AudioHandle stream = o.start(path, {8000, 100, 0});
        QVERIFY(stream);
        o.render(3 * Rate);
        QVERIFY(o.engine.isActive(stream));
        const long grown = residentKiB() - before;
        QVERIFY2(grown < 8 * 1024, qPrintable(QStringLiteral("%1 KiB").arg(grown)));
    }

    void streamsComeAndGoWhileTheOutputThreadMixes()
    {
        // The hand-over to the mixer under load: a device thread mixes without pause while the
        // main thread plays, cuts and frees streams; a sanitizer build checks every access.
        QTemporaryDir dir;
        const QString path = dir.filePath("a.wav");
        QVERIFY(writeTone(path, {.seconds = 0.05}));
        PlaybackEngine engine(Rate);
        std::atomic<bool> done{false};
        std::atomic<long> mixed{0};
        std::thread output([&] {
            std::vector<float> buffer(2 * 256);
            while (!done.load()) {
                engine.render(buffer.data(), 256);
                mixed.fetch_add(1);
            }
        });
        std::vector<AudioHandle> live;
        for (int i = 0; i < 400; ++i) {
            const AudioHandle stream = engine.createFileStream(path);
            QVERIFY(stream);
            engine.setAttributes(stream, {30000 + 100 * i, 50, (i % 3 - 1) * 100});
            engine.play(stream);
            live.push_back(stream);
            if (i % 2)
                engine.stop(live[live.size() / 2]);
            if (live.size() > 6) {
                engine.freeStream(live.front());
                live.erase(live.begin());
            }
        }
        for (AudioHandle stream : live)
            engine.freeStream(stream);
        done.store(true);
        output.join();
        QVERIFY(mixed.load() > 0);
        for (AudioHandle stream : live)
            QVERIFY(!engine.isActive(stream));
    }
};

QTEST_GUILESS_MAIN(PlaybackEngineTest)
#include "test_playback_engine.moc"

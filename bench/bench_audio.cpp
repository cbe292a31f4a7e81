// The audio engine's costs on the real devices (run it inside the test rig, see
// bench_audio.sh); OSTREL_AUDIO_BACKEND=pulse or =portaudio picks the engine, as for the program:
//   bench_audio idle SECONDS   CPU share of one core and resident memory with both devices
//                              started and the recording on, as the armed program idles.
//   bench_audio latency COUNT  time from PlayHow to the first sample at the default input
//                              (the sink's monitor), COUNT times cold (the last sound ended
//                              long enough ago for the engine to let its stream go) and COUNT
//                              times warm (right after another sound).
#include "BenchStats.h"
#include "ResidentMemory.h"
#include "audio/AlarmSoundPlayer.h"
#include "audio/AudioDevices.h"
#include "audio/MicRecording.h"
#include "core/MessageBoxes.h"
#include "core/Random.h"
#include "platform/AudioBackendChoice.h"
#include "settings/Tunables.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <portaudio.h>
#include <sndfile.h>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {
class PrintedMessages : public MessageBoxes
{
public:
    void message(const QString& text) override { std::printf("message: %s\n", qPrintable(text)); }
    void error(const QString& text) override { message(text); }
    void warning(const QString& text) override { message(text); }
    bool question(const QString& text) override
    {
        message(text);
        return true;
    }
};

class PlainTunables : public TunableValues
{
public:
    int value(Tunable id) const override
    {
        return id == Tunable::trkRandomAlteration || id == Tunable::trkGlobalAlteration
                   ? 0
                   : definitionOf(id).defaultValue;
    }
};

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}


/// CPU seconds of each thread so far, by thread name.
void printThreads()
{
    const long ticks = sysconf(_SC_CLK_TCK);
    for (const QString& tid : QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile comm(QStringLiteral("/proc/self/task/%1/comm").arg(tid));
        QFile stat(QStringLiteral("/proc/self/task/%1/stat").arg(tid));
        if (!comm.open(QIODevice::ReadOnly) || !stat.open(QIODevice::ReadOnly))
            continue;
        // Fields after the parenthesised name: state is the first, utime the 12th, stime the 13th.
        const QList<QByteArray> fields = stat.readAll().split(')').last().trimmed().split(' ');
        std::printf("  thread %-16s %.2f s\n", comm.readAll().trimmed().constData(),
                    double(fields[11].toLong() + fields[12].toLong()) / double(ticks));
    }
}

int idle(int seconds)
{
    const std::unique_ptr<AudioBackend> audio = OpenAudioBackend();
    PrintedMessages messages;
    AudioDevices devices(*audio, messages);
    if (!devices.start())
        return 1;
    const AudioDevices::InputChoice input = devices.chooseInput();
    devices.applyInput(input.selected);
    MicRecording recording(*audio, messages);
    long reports = 0;
    QObject::connect(&recording, &MicRecording::levelReported, [&] { ++reports; });
    recording.start(input.selected);
    if (!recording.isActive())
        return 1;

    // Settle first: start-up costs are not idling.
    QTimer::singleShot(1000, [&] {
        const double cpu0 = cpuSeconds();
        const auto wall0 = std::chrono::steady_clock::now();
        const long reports0 = reports;
        QTimer::singleShot(seconds * 1000, [&, cpu0, wall0, reports0] {
            const double wall =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - wall0).count();
            std::printf("idle %d s with output and recording on: CPU %.2f %% of one core, "
                        "resident %ld KiB, %ld level reports (%.1f per s)\n",
                        seconds, 100.0 * (cpuSeconds() - cpu0) / wall, residentKiB(),
                        reports - reports0, double(reports - reports0) / wall);
            printThreads();
            QCoreApplication::quit();
        });
    });
    const int result = QCoreApplication::exec();
    recording.stop();
    devices.release();
    return result;
}

/// The capture side of the latency measurement: the stream time of the first audible sample.
struct FirstSound
{
    std::atomic<bool> armed{false};
    std::atomic<double> heardAt{-1};
};

int listen(const void* input, void*, unsigned long frames, const PaStreamCallbackTimeInfo* time,
           PaStreamCallbackFlags, void* user)
{
    auto* first = static_cast<FirstSound*>(user);
    if (!first->armed.load() || first->heardAt.load() >= 0)
        return paContinue;
    const auto* samples = static_cast<const float*>(input);
    for (unsigned long i = 0; i < frames; ++i) {
        if (std::fabs(samples[2 * i]) > 0.05f || std::fabs(samples[2 * i + 1]) > 0.05f) {
            first->heardAt.store(time->inputBufferAdcTime + double(i) / 44100);
            break;
        }
    }
    return paContinue;
}

/// The delays from PlayHow to the first sample at the monitor, in ms: by the capture's time
/// stamp, and to the sample reaching this program (which adds the capture's buffering).
struct Delays
{
    std::vector<double> stamped;
    std::vector<double> arrived;
};

/// Plays the click and waits up to 2 s for the monitor to hear it; stops it either way.
void playAndHear(AlarmSoundPlayer& player, const QString& path, PaStream* capture,
                 FirstSound& first, Delays& delays)
{
    first.heardAt.store(-1);
    first.armed.store(true);
    const double playedAt = Pa_GetStreamTime(capture);
    const auto wall0 = std::chrono::steady_clock::now();
    player.PlayHow(0, PanCentre, path);
    while (first.heardAt.load() < 0 &&
           std::chrono::steady_clock::now() - wall0 < std::chrono::seconds(2))
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    first.armed.store(false);
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wall0).count();
    if (first.heardAt.load() >= 0) {
        delays.stamped.push_back(1000 * (first.heardAt.load() - playedAt));
        delays.arrived.push_back(1000 * wall);
    }
    player.StopSounds();
}

int latency(int count)
{
    // Past the half second of silence and the stream's buffer after which the sound server's
    // engine lets its stream go, so the next play opens a new one, as an alarm does.
    constexpr auto ColdGap = std::chrono::milliseconds(1500);
    // Well within that half second: the stream is still there.
    constexpr auto WarmGap = std::chrono::milliseconds(100);

    QTemporaryDir dir;
    const QByteArray path = dir.filePath(QStringLiteral("click.wav")).toLocal8Bit();
    SF_INFO info{0, 44100, 1, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 0, 0};
    SNDFILE* file = sf_open(path.constData(), SFM_WRITE, &info);
    std::vector<float> tone(4410);
    for (std::size_t i = 0; i < tone.size(); ++i)
        tone[i] = float(0.8 * std::sin(2 * M_PI * 1000 * double(i) / 44100));
    sf_writef_float(file, tone.data(), sf_count_t(tone.size()));
    sf_close(file);

    const std::unique_ptr<AudioBackend> audio = OpenAudioBackend();
    PrintedMessages messages;
    AudioDevices devices(*audio, messages);
    if (!devices.start())
        return 1;
    PlainTunables tunables;
    SeededRandom random(1);
    AlarmSoundPlayer player(*audio, tunables, random);

    // The capture is PortAudio's whichever engine plays, so both are timed by one clock.
    FirstSound first;
    PaStream* capture = nullptr;
    PaStreamParameters in{0, 2, paFloat32, 0.01, nullptr};
    if (Pa_Initialize() != paNoError || (in.device = Pa_GetDefaultInputDevice()) == paNoDevice ||
        Pa_OpenStream(&capture, &in, nullptr, 44100, 64, paNoFlag, listen, &first) != paNoError ||
        Pa_StartStream(capture) != paNoError)
        return 1;
    // A new capture of the monitor can take over a second to deliver its first data.
    std::this_thread::sleep_for(std::chrono::milliseconds(3000));
    const QString click = QString::fromLocal8Bit(path);
    Delays cold, warm;
    for (int i = 0; i < count; ++i) {
        std::this_thread::sleep_for(ColdGap);
        playAndHear(player, click, capture, first, cold);
        std::this_thread::sleep_for(WarmGap);
        playAndHear(player, click, capture, first, warm);
    }
    Pa_StopStream(capture);
    Pa_CloseStream(capture);
    Pa_Terminate();
    devices.release();
    if (cold.stamped.empty() || warm.stamped.empty())
        return 1;
    printSummary("cold PlayHow to the first sample at the monitor, by its capture time stamp",
                 cold.stamped, "plays");
    printSummary("cold PlayHow to that sample reaching this program (adds capture buffering)",
                 cold.arrived, "plays");
    printSummary("warm PlayHow to the first sample at the monitor, by its capture time stamp",
                 warm.stamped, "plays");
    printSummary("warm PlayHow to that sample reaching this program (adds capture buffering)",
                 warm.arrived, "plays");
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const int amount = argc > 2 ? std::atoi(argv[2]) : 0;
    if (mode == QLatin1String("idle") && amount > 0)
        return idle(amount);
    if (mode == QLatin1String("latency") && amount > 0)
        return latency(amount);
    std::fprintf(stderr, "usage: bench_audio idle SECONDS | latency COUNT\n");
    return 2;
}

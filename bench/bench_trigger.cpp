// The time from an intrusion to the first sample of the alarm at the speakers, on the real
// program armed in the test rig (bench_trigger.sh sets it up):
//   bench_trigger tone COUNT   a loud tone played into the sink, which the program's microphone
//                              hears, to the alarm sound at the sink's monitor; both onsets
//                              are read off one capture of the monitor by its time stamps.
//   bench_trigger click COUNT  an xdotool click to the alarm sound at the monitor.
// The alarm sound is a file tone of ALARM_FILE_HZ, heard at the pitch the program plays it with
// no alteration set; the loud tone is 440 Hz at -6 dBFS.
#include "BenchStats.h"
#include "SoundFiles.h" // amplitudeAt
#include "audio/AlarmSoundPlayer.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <chrono>
#include <portaudio.h>
#include <thread>

namespace {
constexpr int Rate = 44100;
constexpr double ToneHz = 440;
constexpr std::size_t Window = 256;
constexpr std::size_t Hop = 32;
constexpr double Audible = 0.05;

/// Both channels of the monitor added up (the alarm plays to the left, the right or both), from
/// the moment recording is switched on, with the capture time stamp of its first sample.
struct Capture
{
    std::vector<float> samples = std::vector<float>(std::size_t(Rate) * 4);
    std::atomic<std::size_t> count{0};
    std::atomic<double> firstAdc{-1};
    std::atomic<bool> recording{false};
};

int capture(const void* input, void*, unsigned long frames, const PaStreamCallbackTimeInfo* time,
            PaStreamCallbackFlags, void* user)
{
    auto* c = static_cast<Capture*>(user);
    if (!c->recording.load())
        return paContinue;
    const auto* stereo = static_cast<const float*>(input);
    std::size_t n = c->count.load();
    if (n == 0)
        c->firstAdc.store(time->inputBufferAdcTime);
    for (unsigned long i = 0; i < frames && n < c->samples.size(); ++i)
        c->samples[n++] = stereo[2 * i] + stereo[2 * i + 1];
    c->count.store(n);
    return paContinue;
}

/// The capture time of the first window in which a tone of hz is audible; -1 when it never is.
double onset(const Capture& c, double hz)
{
    const std::size_t n = c.count.load();
    std::vector<float> window(Window);
    for (std::size_t from = 0; from + Window <= n; from += Hop) {
        for (std::size_t i = 0; i < Window; ++i) {
            const double hann = 0.5 - 0.5 * std::cos(2 * std::numbers::pi * double(i) / (Window - 1));
            window[i] = float(c.samples[from + i] * hann);
        }
        // The Hann window halves the amplitude a plain Goertzel bin reports.
        if (2 * amplitudeAt(window, Rate, hz) > Audible)
            return c.firstAdc.load() + double(from + Window / 2) / Rate;
    }
    return -1;
}

void sleepMs(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const int count = argc > 2 ? std::atoi(argv[2]) : 0;
    const double alarmHz = PlaybackFrequency(qEnvironmentVariableIntValue("ALARM_FILE_HZ"), 0, 0);
    if ((mode != "tone" && mode != "click") || count <= 0 || alarmHz <= 0) {
        std::fprintf(stderr, "usage: ALARM_FILE_HZ=hz bench_trigger tone|click COUNT\n");
        return 2;
    }
    QTemporaryDir dir;
    const QString tone = dir.filePath("loud.wav");
    // Faded in, so that its onset is no click whose spectrum reaches the alarm's pitch.
    if (QProcess::execute("sox", {"-n", "-r", QString::number(Rate), "-c", "1", tone, "synth",
                                  "0.3", "sine", QString::number(ToneHz), "vol", "0.5", "fade",
                                  "h", "0.02"}) != 0)
        return 1;

    Capture c;
    PaStream* stream = nullptr;
    PaStreamParameters in{0, 2, paFloat32, 0.01, nullptr};
    if (Pa_Initialize() != paNoError || (in.device = Pa_GetDefaultInputDevice()) == paNoDevice ||
        Pa_OpenStream(&stream, &in, nullptr, Rate, 64, paNoFlag, capture, &c) != paNoError ||
        Pa_StartStream(stream) != paNoError)
        return 1;
    // A new capture of the monitor can take over a second to deliver its first data.
    sleepMs(3000);
    std::vector<double> latencies;
    for (int i = 0; i < count; ++i) {
        c.count.store(0);
        c.firstAdc.store(-1);
        c.recording.store(true);
        sleepMs(200);
        double start = -1;
        if (mode == "tone") {
            QProcess::startDetached("paplay", {"-d", qEnvironmentVariable("OSTREL_TEST_SINK"), tone});
        } else {
            start = Pa_GetStreamTime(stream);
            QProcess::execute("xdotool", {"click", "1"});
        }
        sleepMs(1500);
        c.recording.store(false);
        if (mode == "tone")
            start = onset(c, ToneHz);
        const double alarm = onset(c, alarmHz);
        if (start >= 0 && alarm >= start)
            latencies.push_back(1000 * (alarm - start));
        else
            std::printf("run %d: no alarm heard\n", i + 1);
        // The temporary mute and the alarm sound end before the next intrusion.
        sleepMs(2000);
    }
    Pa_StopStream(stream);
    Pa_CloseStream(stream);
    Pa_Terminate();
    printSummary(mode == "tone" ? "loud onset to the first alarm sample at the monitor"
                                : "xdotool click to the first alarm sample at the monitor",
                 latencies);
    return latencies.size() == std::size_t(count) ? 0 : 1;
}

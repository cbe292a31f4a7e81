// What the disarm PIN costs: hashing a new PIN (the protection dialog's OK) and checking a typed
// one (the prompt), each COUNT times, with the peak memory the process reached.
//   build/bench/bench_pin [count]
#include "guard/Pin.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>
#include <vector>

namespace {
template <typename Step> void timeSteps(const char* what, int count, Step step)
{
    std::vector<double> ms;
    for (int i = 0; i < count; ++i) {
        QElapsedTimer timer;
        timer.start();
        step();
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%-20s median %.1f ms, slowest %.1f ms (%d runs)\n", what, ms[ms.size() / 2], ms.back(), count);
}
} // namespace

int main(int argc, char** argv)
{
    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    const QString pin = QStringLiteral("2468");
    const QByteArray hash = Pin::hash(pin);
    if (hash.isEmpty())
        return 1;
    timeSteps("hash a new PIN", count, [&] { Pin::hash(pin); });
    timeSteps("check the right PIN", count, [&] { Pin::verify(hash, pin); });
    timeSteps("check a wrong PIN", count, [&] { Pin::verify(hash, QStringLiteral("1357")); });
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak resident memory %ld MiB\n", usage.ru_maxrss / 1024);
    return 0;
}

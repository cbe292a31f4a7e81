#pragma once

#include <algorithm>
#include <cstdio>
#include <vector>

/// Prints every measurement, then their median, spread and count.
inline void printSummary(const char* what, std::vector<double> ms, const char* unit = "runs")
{
    for (double m : ms)
        std::printf(" %.1f", m);
    std::printf("\n");
    if (ms.empty()) {
        std::printf("%s: no measurement\n", what);
        return;
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%s: median %.1f ms, min %.1f ms, max %.1f ms (%zu %s)\n", what,
                ms[ms.size() / 2], ms.front(), ms.back(), ms.size(), unit);
}

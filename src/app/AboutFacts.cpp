#include "AboutFacts.h"

#include "app/Version.h"

#include <cmath>
#include <sys/sysinfo.h>

QString GetAppVersion()
{
    return QStringLiteral(OSTREL_APP_VERSION);
}

QString VersionLine(const QString& version, const QString& systemName)
{
    return QStringLiteral("(v") + version + QStringLiteral(" for ") + systemName + QLatin1Char(')');
}

std::optional<MemoryStatus> ReadMemoryStatus()
{
    struct sysinfo info{};
    if (sysinfo(&info) != 0 || info.totalram == 0)
        return std::nullopt;
    const std::uint64_t unit = info.mem_unit ? info.mem_unit : 1;
    const std::uint64_t total = std::uint64_t(info.totalram) * unit;
    // Memory in use: what is neither free nor given to buffers.
    const std::uint64_t available = (std::uint64_t(info.freeram) + std::uint64_t(info.bufferram)) * unit;
    const int load = int(std::lround(100.0 * double(total - std::min(available, total)) / double(total)));
    return MemoryStatus{total, load};
}

QString MemoryText(std::uint64_t totalBytes, const QLocale& locale)
{
    const auto kilobytes = qulonglong(std::llround(double(totalBytes) / 1024.0));
    QLocale grouped = locale;
    grouped.setNumberOptions(grouped.numberOptions() & ~QLocale::OmitGroupSeparator);
    return grouped.toString(kilobytes) + QStringLiteral(" KB");
}

QString MemoryLoadText(int percent)
{
    return QString::number(percent) + QStringLiteral(" %");
}

std::vector<Dot> CreateDotGrid(int clientWidth)
{
    const int columns = (clientWidth - 36) / 36;
    std::vector<Dot> dots;
    for (int i = 0; i < columns; ++i) {
        const int g = 255 - 2 * (columns - 1) + 2 * i;
        for (int j = 0; j < 6; ++j)
            dots.push_back({QRect(36 * i + 4, 36 * j + 37, 9, 9), g});
    }
    return dots;
}

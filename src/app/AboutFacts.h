#pragma once

#include <QLocale>
#include <QRect>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

/// The program's version: four numbers joined by ".", the project's three and the build number.
QString GetAppVersion();

/// "(v" + version + " for " + system + ")".
QString VersionLine(const QString& version, const QString& systemName);

struct MemoryStatus
{
    std::uint64_t totalBytes = 0;
    int loadPercent = 0; ///< of the physical memory, in use
};
/// The computer's physical memory now; nothing when the system does not say.
std::optional<MemoryStatus> ReadMemoryStatus();

/// Whole kilobytes, grouped by the locale's separator, then " KB": "1,048,576 KB".
QString MemoryText(std::uint64_t totalBytes, const QLocale& locale);
/// "37 %".
QString MemoryLoadText(int percent);

struct Dot
{
    QRect rect;
    int grey; ///< the red, green and blue of its grey, 0 to 255
};
/// The about window's background grid for a client area this wide: columns of nine-pixel
/// squares, six to a column, from a light grey on the left to white on the right.
std::vector<Dot> CreateDotGrid(int clientWidth);

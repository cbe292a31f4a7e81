#include "ReportLog.h"

#include "core/AtomicFile.h"
#include "core/Clock.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>

ReportLog::ReportLog(const Clock& clock, const QString& reportsFolder,
                     const QString& timeSeparator)
    : m_clock(clock), m_folder(reportsFolder), m_timeSeparator(timeSeparator)
{
}

QString ReportFilePath(const QString& reportsFolder)
{
    return reportsFolder + QStringLiteral("Report.txt");
}

QString ReportLog::filePath() const
{
    return ReportFilePath(m_folder);
}

QString ReportLog::timeStamp() const
{
    const QDateTime now = m_clock.now();
    return now.toString(QStringLiteral("dd.MM.yy hh")) + m_timeSeparator +
           now.toString(QStringLiteral("mm"));
}

void ReportLog::AddToReport(const QString& message)
{
    const QString line = QLatin1Char('[') + timeStamp() + QStringLiteral("] ") + message;
    if (!m_lines.isEmpty() && m_lines.last() == line)
        return;
    m_lines.append(line);
    m_bytes.append(line.toLocal8Bit());
    if (!QDir().mkpath(m_folder))
        return;
    save();
}

void ReportLog::save() const
{
    QByteArray text;
    for (const QByteArray& line : m_bytes)
        text += line + "\r\n";
    // Replaced whole or not at all: a crash or a full disk leaves the previous report as it was,
    // and the next line tries again with everything kept in memory.
    WriteFileAtomically(filePath(), text);
}

void ReportLog::loadFile()
{
    if (!QFile::exists(filePath()))
        return;
    bool ok = false;
    QList<QByteArray> bytes = ReadReportBytes(filePath(), &ok);
    if (!ok)
        return;
    m_lines.clear();
    for (const QByteArray& line : bytes)
        m_lines.append(QString::fromLocal8Bit(line));
    m_bytes = std::move(bytes);
}

void ReportLog::deleteFile()
{
    QFile::remove(filePath());
}

QList<QByteArray> ReadReportBytes(const QString& path, bool* ok, QString* error)
{
    QFile file(path);
    const bool opened = file.open(QIODevice::ReadOnly);
    if (ok)
        *ok = opened;
    if (error)
        *error = opened ? QString() : file.errorString();
    if (!opened)
        return {};
    QByteArray bytes = file.readAll();
    const qsizetype nul = bytes.indexOf('\0');
    if (nul >= 0)
        bytes.truncate(nul);
    // Every encoding a locale may use keeps CR and LF as themselves.
    QList<QByteArray> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n')
            continue;
        lines.append(bytes.mid(start, i - start));
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    // A final line ending closes the last line; it does not open an empty one.
    if (start < bytes.size())
        lines.append(bytes.mid(start));
    return lines;
}

QStringList ReadReportFile(const QString& path, bool* ok, QString* error)
{
    QStringList lines;
    for (const QByteArray& line : ReadReportBytes(path, ok, error))
        lines.append(QString::fromLocal8Bit(line));
    return lines;
}

QString LocaleTimeSeparator()
{
    // The short time format reads like "HH:mm" or "h.mm AP": the separator is what stands
    // between the hour and the minute fields.
    static const QRegularExpression between(QStringLiteral("[hH]+([^hHm]*)m"));
    const auto match = between.match(QLocale::system().timeFormat(QLocale::ShortFormat));
    return match.hasMatch() ? match.captured(1).remove(QLatin1Char('\'')) : QString();
}

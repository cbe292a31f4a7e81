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
    // A repeat is an event of its own even where the report shows it once.
    if (m_onMessage)
        m_onMessage(message);
    const QString line = QLatin1Char('[') + timeStamp() + QStringLiteral("] ") + message;
    if (!m_lines.isEmpty() && m_lines.last() == line)
        return;
    m_lines.append(line);
    m_bytes.append(line.toLocal8Bit());
    if (QDir().mkpath(m_folder))
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
    const ReportText text = ReportText::read(filePath(), &ok);
    if (!ok)
        return;
    clear();
    for (qsizetype i = 0; i < text.lineCount(); ++i) {
        m_lines.append(text.line(i));
        m_bytes.append(text.lineBytes(i));
    }
}

void ReportLog::deleteFile()
{
    QFile::remove(filePath());
}

ReportText ReportText::read(const QString& path, bool* ok, QString* error)
{
    ReportText text;
    QFile file(path);
    const bool opened = file.open(QIODevice::ReadOnly);
    if (ok)
        *ok = opened;
    if (error)
        *error = opened ? QString() : file.errorString();
    if (!opened)
        return text;
    text.m_bytes = file.readAll();
    // One pass over the bytes, for very long reports: every encoding a locale may use keeps CR
    // and LF as themselves, and a NUL ends the text.
    const char* const begin = text.m_bytes.constData();
    const char* const end = begin + text.m_bytes.size();
    text.m_lines.reserve(std::size_t(text.m_bytes.count('\n')) + 1);
    const char* start = begin;
    const char* p = begin;
    for (; p < end && *p != '\0'; ++p) {
        if (*p != '\r' && *p != '\n')
            continue;
        text.m_lines.push_back({start - begin, p - start});
        if (*p == '\r' && p + 1 < end && p[1] == '\n')
            ++p;
        start = p + 1;
    }
    // A final line ending closes the last line; it does not open an empty one.
    if (start < p)
        text.m_lines.push_back({start - begin, p - start});
    text.m_bytes.truncate(p - begin);
    return text;
}

QByteArray ReportText::lineBytes(qsizetype i) const
{
    const Span line = m_lines[std::size_t(i)];
    return m_bytes.mid(line.start, line.size);
}

QString ReportText::line(qsizetype i) const
{
    const Span line = m_lines[std::size_t(i)];
    return QString::fromLocal8Bit(m_bytes.constData() + line.start, line.size);
}

QStringList ReadReportFile(const QString& path, bool* ok, QString* error)
{
    const ReportText text = ReportText::read(path, ok, error);
    QStringList lines;
    lines.reserve(text.lineCount());
    for (qsizetype i = 0; i < text.lineCount(); ++i)
        lines.append(text.line(i));
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

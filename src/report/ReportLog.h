#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class Clock;

/// The event report: ReportLines in memory, mirrored whole in "Report.txt" after every new line,
/// so that it survives a crash or a restart.
class ReportLog
{
public:
    /// timeSeparator stands between hours and minutes in the stamp; it may be empty.
    ReportLog(const Clock& clock, const QString& reportsFolder, const QString& timeSeparator);

    const QStringList& ReportLines() const { return m_lines; }
    QString filePath() const;

    /// Appends "[dd.mm.yy hh:nn] message" unless it repeats the last line, then saves the file.
    /// A failed save keeps the line in memory and reports nothing.
    void AddToReport(const QString& message);

    /// Replaces ReportLines with the file's lines when the file exists and can be read.
    void loadFile();
    void clear()
    {
        m_lines.clear();
        m_bytes.clear();
    }
    void deleteFile();
    /// Hears every message from now on, a repeat the report drops included; nullptr stops it.
    void onMessage(std::function<void(const QString& message)> listener) { m_onMessage = std::move(listener); }

private:
    QString timeStamp() const;
    void save() const;

    const Clock& m_clock;
    QString m_folder;
    QString m_timeSeparator;
    QStringList m_lines;
    QList<QByteArray> m_bytes; // each line as the file holds it, written back unchanged
    std::function<void(const QString&)> m_onMessage;
};

/// "Report.txt" in the reports folder.
QString ReportFilePath(const QString& reportsFolder);

/// A report file's text as read, with where each line lies in it, so that even a very long
/// report is split once and each line decoded only when it is wanted.
class ReportText
{
public:
    /// Lines end at CR LF, CR or LF, and a NUL ends the text. ok tells whether the file could be
    /// read, error why not.
    static ReportText read(const QString& path, bool* ok = nullptr, QString* error = nullptr);

    qsizetype lineCount() const { return qsizetype(m_lines.size()); }
    /// The line as text in the locale's encoding.
    QString line(qsizetype i) const;
    /// The line as the file holds it.
    QByteArray lineBytes(qsizetype i) const;

private:
    struct Span
    {
        qsizetype start;
        qsizetype size;
    };
    QByteArray m_bytes;
    std::vector<Span> m_lines;
};

/// Every line of a report file, read as ReportText reads it.
QStringList ReadReportFile(const QString& path, bool* ok = nullptr, QString* error = nullptr);

/// The time separator of the user's locale, or empty text when the locale shows none.
QString LocaleTimeSeparator();

#include "FileSizeLimit.h"
#include "SoundTestFiles.h"
#include "TempEnvironment.h"
#include "VirtualClock.h"
#include "app/gVars.h"
#include "report/ReportLog.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace {
QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

class ReportLogTest : public QObject
{
    Q_OBJECT
private slots:
    void stampsAndSavesEveryLineWithCrLf()
    {
        TempEnvironment env;
        VirtualClock clock(QDateTime(QDate(2009, 3, 7), QTime(21, 5, 30)));
        ReportLog log(clock, ReportsFolder, QStringLiteral(":"));
        log.AddToReport(QStringLiteral("Alarm - Activated"));
        QCOMPARE(log.ReportLines(), QStringList{"[07.03.09 21:05] Alarm - Activated"});
        QCOMPARE(fileBytes(ReportsFolder + "Report.txt"), QByteArray("[07.03.09 21:05] Alarm - Activated\r\n"));
    }

    void linesReadFromTheFileAreWrittenBackByteForByte()
    {
        TempEnvironment env;
        VirtualClock clock(QDateTime(QDate(2026, 5, 4), QTime(8, 30)));
        QVERIFY(QDir().mkpath(ReportsFolder));
        // Bytes no encoding the locale may use can read: another system's, or damage.
        const QByteArray old = "[01.05.26 07:00] Caf\xe9 \xff\xfe\x80 detected\r\nplain\nlast\r";
        {
            QFile file(ReportsFolder + "Report.txt");
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(old);
        }
        ReportLog log(clock, ReportsFolder, QStringLiteral(":"));
        log.loadFile();
        QCOMPARE(log.ReportLines().size(), 3);
        log.AddToReport(QStringLiteral("Alarm - Activated"));
        QCOMPARE(fileBytes(log.filePath()),
                 QByteArray("[01.05.26 07:00] Caf\xe9 \xff\xfe\x80 detected\r\nplain\r\nlast\r\n"
                            "[04.05.26 08:30] Alarm - Activated\r\n"));
    }

    void sameMessageInOneMinuteOnceNextMinuteAgain()
    {
        TempEnvironment env;
        VirtualClock clock(QDateTime(QDate(2026, 1, 2), QTime(9, 0, 10)));
        ReportLog log(clock, ReportsFolder, QStringLiteral(":"));
        log.AddToReport(QStringLiteral("Mouse detected"));
        clock.advance(40000);
        log.AddToReport(QStringLiteral("Mouse detected"));
        QCOMPARE(log.ReportLines().size(), 1);
        clock.advance(15000); // 09:01:05
        log.AddToReport(QStringLiteral("Mouse detected"));
        QCOMPARE(log.ReportLines(), (QStringList{"[02.01.26 09:00] Mouse detected",
                                                 "[02.01.26 09:01] Mouse detected"}));
    }

    void onlyTheLastLineIsCompared()
    {
        TempEnvironment env;
        VirtualClock clock;
        ReportLog log(clock, ReportsFolder, QStringLiteral(":"));
        log.AddToReport(QStringLiteral("Mouse detected"));
        log.AddToReport(QStringLiteral("Microphone detected"));
        log.AddToReport(QStringLiteral("Mouse detected"));
        QCOMPARE(log.ReportLines().size(), 3);
        QCOMPARE(ReadReportFile(log.filePath()), log.ReportLines());
    }

    void emptyTimeSeparatorGivesThirteenCharacters()
    {
        TempEnvironment env;
        VirtualClock clock(QDateTime(QDate(2026, 12, 31), QTime(23, 59)));
        ReportLog log(clock, ReportsFolder, QString());
        log.AddToReport(QStringLiteral("x"));
        QCOMPARE(log.ReportLines().first(), QStringLiteral("[31.12.26 2359] x"));
        QCOMPARE(log.ReportLines().first().mid(1, 13).size(), 13);
    }

    void messagesAreWrittenUnchangedAndLineBreaksSplitOnReading()
    {
        TempEnvironment env;
        VirtualClock clock;
        ReportLog log(clock, ReportsFolder, QStringLiteral(":"));
        log.AddToReport(QStringLiteral("a ] b\nsecond"));
        QCOMPARE(log.ReportLines().size(), 1);
        QCOMPARE(ReadReportFile(log.filePath()).size(), 2);
        QCOMPARE(ReadReportFile(log.filePath()).at(1), QStringLiteral("second"));
    }

    void readingSplitsAtEveryLineEndAndStopsAtNul_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("crlf") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
        QTest::newRow("lf only") << QByteArray("a\nb\n") << QStringList{"a", "b"};
        QTest::newRow("cr only") << QByteArray("a\rb") << QStringList{"a", "b"};
        QTest::newRow("mixed, empty line kept") << QByteArray("a\r\n\nb\rc") << QStringList{"a", "", "b", "c"};
        QTest::newRow("nul cuts") << QByteArray("a\r\nb\0c\r\nd\r\n", 11) << QStringList{"a", "b"};
        QTest::newRow("empty") << QByteArray() << QStringList{};
    }

    void readingSplitsAtEveryLineEndAndStopsAtNul()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        TempEnvironment env;
        makeFile(ReportsFolder + "Report.txt", bytes);
        VirtualClock clock;
        ReportLog log(clock, ReportsFolder, QStringLiteral(":"));
        log.loadFile();
        QCOMPARE(log.ReportLines(), lines);
    }

    void deletedFileIsRecreatedWithAllLines()
    {
        TempEnvironment env;
        VirtualClock clock;
        ReportLog log(clock, ReportsFolder, QStringLiteral(":"));
        log.AddToReport(QStringLiteral("one"));
        log.AddToReport(QStringLiteral("two"));
        log.deleteFile();
        QVERIFY(!QFile::exists(log.filePath()));
        log.AddToReport(QStringLiteral("three"));
        QCOMPARE(ReadReportFile(log.filePath()).size(), 3);
        QCOMPARE(ReadReportFile(log.filePath()), log.ReportLines());
    }

    void unwritableFolderKeepsLinesInMemoryUntilASaveWorks()
    {
        TempEnvironment env;
        VirtualClock clock;
        // A file where the reports folder should be: the folder cannot be created.
        makeFile(env.root() + "/blocked", "x");
        const QString blocked = env.root() + "/blocked/Reports/";
        ReportLog log(clock, blocked, QStringLiteral(":"));
        log.AddToReport(QStringLiteral("one"));
        log.AddToReport(QStringLiteral("two"));
        QCOMPARE(log.ReportLines().size(), 2);
        QVERIFY(!QFile::exists(log.filePath()));

        // A folder in the file's place: every save fails, even for root.
        ReportLog failing(clock, ReportsFolder, QStringLiteral(":"));
        QVERIFY(QDir().mkpath(failing.filePath()));
        failing.AddToReport(QStringLiteral("a"));
        failing.AddToReport(QStringLiteral("b"));
        QCOMPARE(failing.ReportLines().size(), 2);
        QVERIFY(QDir().rmdir(failing.filePath()));
        failing.AddToReport(QStringLiteral("c"));
        QCOMPARE(ReadReportFile(failing.filePath()), failing.ReportLines());
        QCOMPARE(failing.ReportLines().size(), 3);
    }

    void fullDiskKeepsTheOldReportByteForByteAndTheNextLineWritesAll()
    {
        TempEnvironment env;
        VirtualClock clock;
        ReportLog log(clock, ReportsFolder, QStringLiteral(":"));
        log.AddToReport(QStringLiteral("Alarm activated"));
        log.AddToReport(QStringLiteral("Mouse detected"));
        const QByteArray before = fileBytes(log.filePath());
        {
            FileSizeLimit full(0); // every write fails, as on a full disk
            log.AddToReport(QStringLiteral("Sound detected"));
        }
        QCOMPARE(fileBytes(log.filePath()), before);
        log.AddToReport(QStringLiteral("Alarm deactivated"));
        QCOMPARE(ReadReportFile(log.filePath()).size(), 4);
        QCOMPARE(ReadReportFile(log.filePath()), log.ReportLines());
    }

    void missingFileLeavesTheListAndClearDoesNotTouchTheFile()
    {
        TempEnvironment env;
        VirtualClock clock;
        ReportLog log(clock, ReportsFolder, QStringLiteral(":"));
        log.loadFile();
        QVERIFY(log.ReportLines().isEmpty());
        log.AddToReport(QStringLiteral("one"));
        log.clear();
        QVERIFY(log.ReportLines().isEmpty());
        QCOMPARE(ReadReportFile(log.filePath()).size(), 1);
        log.AddToReport(QStringLiteral("one"));
        QCOMPARE(ReadReportFile(log.filePath()).size(), 1);
    }
};

QTEST_GUILESS_MAIN(ReportLogTest)
#include "test_report_log.moc"

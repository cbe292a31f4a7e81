#include "FileSizeLimit.h"
#include "core/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {
QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void makeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}
} // namespace

class AtomicFileTest : public QObject
{
    Q_OBJECT
private slots:
    void failedWriteKeepsTheOldFileWholeAndLeavesNothingBehind()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Report.txt"));
        const QByteArray old = QByteArray("old report\r\n").repeated(20);
        makeFile(path, old);
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));

        QString error;
        {
            FileSizeLimit full(old.size()); // the old content fits, a longer one does not
            QVERIFY(!WriteFileAtomically(path, old + "one more line\r\n", &error));
        }
        QCOMPARE(contents(path), old);
        QVERIFY2(error.contains(path), qPrintable(error));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Report.txt")});

        // With room again the same write goes through and the file keeps its permissions.
        QVERIFY2(WriteFileAtomically(path, old + "one more line\r\n", &error), qPrintable(error));
        QCOMPARE(contents(path), old + "one more line\r\n");
        const QFile::Permissions ownerGroupOther = QFile::permissions(path) & ~QFileDevice::Permissions(0x0F00);
        QCOMPARE(ownerGroupOther, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 1);
    }

    void uncommittedOrImpossibleWritesChangeNothing()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.ini"));
        makeFile(path, "kept");
        {
            AtomicFile abandoned(path);
            QVERIFY(abandoned.open());
            QVERIFY(abandoned.write("half of a new"));
        }
        QCOMPARE(contents(path), QByteArray("kept"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 1);

        QString error;
        QVERIFY(!WriteFileAtomically(dir.filePath(QStringLiteral("missing/a.ini")), "x", &error));
        QVERIFY(!error.isEmpty());
        AtomicFile unopened(path);
        QVERIFY(!unopened.write("x"));
        QVERIFY(!unopened.commit());
        QCOMPARE(contents(path), QByteArray("kept"));
    }

    void aLinkIsReplacedAtItsTargetAndStaysALink()
    {
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("real.desktop"));
        const QString link = dir.filePath(QStringLiteral("link.desktop"));
        makeFile(target, "old");
        QVERIFY(QFile::link(target, link));
        QVERIFY(WriteFileAtomically(link, "new"));
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(contents(target), QByteArray("new"));
    }
};

QTEST_GUILESS_MAIN(AtomicFileTest)
#include "test_atomic_file.moc"

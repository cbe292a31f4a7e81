#include "FileSizeLimit.h"
#include "TempEnvironment.h"
#include "core/Product.h"
#include "platform/XdgAutostart.h"

#include <QFile>
#include <QProcess>
#include <QTest>

namespace {
/// Undoes the escapes of a desktop-entry string value and of "%%".
QString unescapeString(const QString& value)
{
    QString text;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c == QLatin1Char('%') && i + 1 < value.size() && value.at(i + 1) == QLatin1Char('%')) {
            text += c;
            ++i;
        } else if (c == QLatin1Char('\\') && i + 1 < value.size()) {
            const QChar next = value.at(++i);
            const QString to = QStringLiteral(" \n\t\r\\");
            const qsizetype at = QStringLiteral("sntr\\").indexOf(next);
            text += at >= 0 ? to.at(at) : next;
        } else {
            text += c;
        }
    }
    return text;
}

/// The argument a shell makes of a double-quoted word: the quoting rules of an Exec key are
/// those of the shell's double quotes.
QString shellWord(const QString& quoted)
{
    QProcess sh;
    sh.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("printf %s ") + quoted});
    sh.waitForFinished(5000);
    return QString::fromUtf8(sh.readAllStandardOutput());
}
} // namespace

class XdgAutostartTest : public QObject
{
    Q_OBJECT
private slots:
    void execRunsExactlyThePathWhateverItHolds_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("plain") << "/usr/bin/ostrel";
        QTest::newRow("space") << "/opt/My Apps/ostrel";
        QTest::newRow("quote") << "/opt/a\"b/ostrel";
        QTest::newRow("backslash") << "/opt/back\\slash/ostrel";
        QTest::newRow("dollar") << "/opt/$HOME/ostrel";
        QTest::newRow("backtick") << "/opt/`id`/ostrel";
        QTest::newRow("percent") << "/opt/100%u/ostrel";
        QTest::newRow("tab") << "/opt/a\tb/ostrel";
        QTest::newRow("all") << "/o p\\t/\"$x`%f\\\\/ostrel";
    }

    void execRunsExactlyThePathWhateverItHolds()
    {
        QFETCH(QString, path);
        const QString exec = DesktopExecValue(path);
        QVERIFY(exec.startsWith('"') && exec.endsWith('"'));
        QVERIFY(!exec.contains('\t') && !exec.contains('\n'));
        QCOMPARE(shellWord(unescapeString(exec)), path);
    }

    void entryIsWrittenAndRemovedInTheUsersAutostartFolder()
    {
        TempEnvironment env;
        const QString file = env.root() + "/xdg_config_home/autostart/ostrel.desktop";
        QCOMPARE(XdgAutostart::filePath(), file);
        XdgAutostart entry(QStringLiteral("/opt/My Apps/ostrel"));
        entry.write();
        QFile written(file);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = written.readAll().split('\n');
        QCOMPARE(lines.value(0), QByteArray("[Desktop Entry]"));
        QVERIFY(lines.contains("Type=Application"));
        QVERIFY(lines.contains("Name=Ostrel"));
        QVERIFY(lines.contains("Icon=" + Product::ApplicationId.toUtf8()));
        QVERIFY(lines.contains("Exec=\"/opt/My Apps/ostrel\""));
        written.close();
        entry.write(); // again: still one whole entry
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll().count("[Desktop Entry]"), 1);
        entry.remove();
        QVERIFY(!QFile::exists(file));
        entry.remove(); // nothing there: no error
        QVERIFY(!QFile::exists(file));
    }

    void fullDiskNeverLeavesAnEmptyOrHalfEntry()
    {
        TempEnvironment env;
        XdgAutostart entry(QStringLiteral("/opt/ostrel"));
        {
            FileSizeLimit full(10);
            entry.write();
        }
        QVERIFY(!QFile::exists(XdgAutostart::filePath()));

        entry.write();
        QFile written(XdgAutostart::filePath());
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QByteArray whole = written.readAll();
        written.close();
        XdgAutostart moved(QStringLiteral("/somewhere/much/longer/than/before/bin/ostrel"));
        {
            FileSizeLimit full(whole.size());
            moved.write();
        }
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), whole);
    }
};

QTEST_GUILESS_MAIN(XdgAutostartTest)
#include "test_xdg_autostart.moc"

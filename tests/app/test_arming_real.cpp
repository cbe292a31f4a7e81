// The real program under the headless X server: armed with a click, killed while armed,
// started again, and disarmed with Esc, all through X input.
#include "RealProgram.h"
#include "SmallFileSystem.h"
#include "TempEnvironment.h"
#include "platform/XdgAutostart.h"

#include <QDir>

using namespace gRegistry;

namespace {
const QPoint ActivateRing(471, 11); // client position of the top of btnActivate's glyph ring

bool isRed(const QColor& c)
{
    return c.isValid() && c.red() > 180 && c.green() < 80 && c.blue() < 80;
}
} // namespace

class ArmingRealTest : public QObject
{
    Q_OBJECT
private slots:
    void armKillRestartAndEscapeUnderX()
    {
        QVERIFY2(!qEnvironmentVariable("DISPLAY").isEmpty(), "needs the headless rig's X server");
        QElapsedTimer wall;
        wall.start();
        TempEnvironment env;
        QVERIFY(PrepareArmable(2));

        Program first;
        first.start();
        QVERIFY(!QTest::currentTestFailed());
        QVERIFY(!isRed(first.pixel(ActivateRing)));
        first.click(ActivateButton);
        const QString waiting = QStringLiteral("Waiting 2 second(s) before Activation");
        QVERIFY2(waitFor([&] { return reportMessages() == QStringList{waiting}; }),
                 qPrintable(reportMessages().join(" | ")));
        QElapsedTimer delay;
        delay.start();
        const QStringList armed{waiting, "Simulation - Enabled", "Alarm - Activated"};
        QVERIFY2(waitFor([&] { return reportMessages() == armed; }),
                 qPrintable(reportMessages().join(" | ")));
        QVERIFY2(delay.elapsed() > 1500, qPrintable(QString::number(delay.elapsed())));
        QVERIFY(waitFor([] { return stored("Alarm Active") == "T"; }));
        QFile entry(XdgAutostart::filePath());
        QVERIFY(entry.open(QIODevice::ReadOnly));
        QVERIFY(entry.readAll().contains("Exec=\"" + qgetenv("OSTREL_EXECUTABLE") + "\"\n"));
        QVERIFY(isRed(first.pixel(ActivateRing)));
        first.kill();

        Program second;
        second.start();
        QVERIFY(!QTest::currentTestFailed());
        // Armed from the first moment, before the activation delay has run out.
        QVERIFY(waitFor([&] { return isRed(second.pixel(ActivateRing)); }, 5000));
        QVERIFY2(reportMessages().size() <= armed.size() + 1, "the armed picture came only after the delay");
        const QStringList resumed = armed + armed;
        QVERIFY2(waitFor([&] { return reportMessages() == resumed; }),
                 qPrintable(reportMessages().join(" | ")));

        pressKey(second.window, "Escape");
        QVERIFY2(waitFor([] { return reportMessages().endsWith("Alarm - Stoped"); }),
                 qPrintable(reportMessages().join(" | ")));
        QVERIFY(waitFor([] { return stored("Alarm Active").isEmpty(); }));
        QVERIFY(!QFile::exists(XdgAutostart::filePath()));
        QVERIFY(waitFor([&] { return !isRed(second.pixel(ActivateRing)); }, 5000));
        qInfo("real program run: %lld ms wall", wall.elapsed());
    }

    void aTerminationSignalRightAfterArmingEndsThroughTheCloseAndKeepsTheArmedState()
    {
        TempEnvironment env;
        Program program;
        StartArmed(program);
        QVERIFY(!QTest::currentTestFailed());
        QVERIFY(program.terminate());
        QCOMPARE(stored("Alarm Active"), QStringLiteral("T"));
        QVERIFY(QFile::exists(XdgAutostart::filePath()));
    }

    void aFullDataFolderKeepsTheArmedPeriodsReportByteForByte()
    {
        TempEnvironment env;
        SmallFileSystem disk;
        QString why;
        if (!disk.mount(ReportsFolder, &why))
            QSKIP(qPrintable(why));
        Program program;
        StartArmed(program);
        QVERIFY(!QTest::currentTestFailed());
        QFile report(ReportsFolder + "Report.txt");
        QVERIFY(report.open(QIODevice::ReadOnly));
        const QByteArray armedPeriod = report.readAll();
        report.close();

        disk.fill();
        program.click(ActivateButton); // disarms
        // The settings change comes after the stop line was tried: the report has had its chance.
        QVERIFY2(waitFor([] { return stored("Alarm Active").isEmpty(); }),
                 qPrintable(reportMessages().join(" | ")));
        QVERIFY(report.open(QIODevice::ReadOnly));
        QCOMPARE(report.readAll(), armedPeriod);
    }
};

QTEST_GUILESS_MAIN(ArmingRealTest)
#include "test_arming_real.moc"

#include "FakeMessageBoxes.h"
#include "TempEnvironment.h"
#include "app/gVars.h"
#include "report/ReportLog.h"
#include "report/fmReport.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QListView>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {
void writeReport(const QByteArray& bytes)
{
    QDir().mkpath(ReportsFolder);
    QFile file(ReportsFolder + "Report.txt");
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

/// Shows the report window and hands it to the test while it is open; the test must close it.
struct Showing
{
    int result = -1;
    QStringList items;
    bool listShown = false;
    bool nothingShown = false;
    bool stillOpenAfterTest = false;
};

Showing show(FakeMessageBoxes& messages, const std::function<void(QDialog&)>& act)
{
    Showing showing;
    QTimer::singleShot(0, [&] {
        auto* window = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!window)
            return;
        auto* list = window->findChild<QListView*>("ListBox1");
        // The first lines are enough, and reading a huge report whole would time the test.
        for (int i = 0; list->model() && i < std::min(list->model()->rowCount(), 100); ++i)
            showing.items << list->model()->index(i, 0).data().toString();
        showing.listShown = list->isVisible();
        showing.nothingShown = window->findChild<QFrame*>("pnlNothingToReport")->isVisible();
        act(*window);
        showing.stillOpenAfterTest = window->isVisible();
        if (window->isVisible())
            window->done(42);
    });
    showing.result = TfrmReport::ShowReport(messages, ReportFilePath(ReportsFolder));
    return showing;
}

void closeBox(QDialog& window)
{
    window.close();
}
} // namespace

class ReportWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void showsTheFileLinesOrNothingToReport_data()
    {
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("no file") << false << QByteArray() << QStringList();
        QTest::newRow("empty file") << true << QByteArray() << QStringList();
        QTest::newRow("one line break") << true << QByteArray("\r\n") << QStringList{""};
        QTest::newRow("lines") << true << QByteArray("[01.02.26 10:00] Alarm - Activated\r\n[01.02.26 10:01] Mouse detected\r\n")
                               << QStringList{"[01.02.26 10:00] Alarm - Activated", "[01.02.26 10:01] Mouse detected"};
        QTest::newRow("no final line end") << true << QByteArray("first\r\nlast") << QStringList{"first", "last"};
    }

    void showsTheFileLinesOrNothingToReport()
    {
        QFETCH(bool, exists);
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, items);
        TempEnvironment env;
        if (exists)
            writeReport(bytes);
        FakeMessageBoxes messages;
        const Showing s = show(messages, closeBox);
        QCOMPARE(s.items, items);
        QCOMPARE(s.listShown, !items.isEmpty());
        QCOMPARE(s.nothingShown, items.isEmpty());
        QVERIFY(messages.shown.isEmpty());
    }

    void aFileThatCannotBeReadShowsAnErrorAndAnEmptyList()
    {
        TempEnvironment env;
        QDir().mkpath(ReportsFolder + "Report.txt"); // exists, but is no file
        FakeMessageBoxes messages;
        const Showing s = show(messages, closeBox);
        QCOMPARE(messages.shown.size(), 1);
        QVERIFY2(messages.shown.first().contains(ReportsFolder + "Report.txt"), qPrintable(messages.shown.first()));
        QVERIFY(s.items.isEmpty());
        QVERIFY(s.listShown);
        QVERIFY(!s.nothingShown);
    }

    void everyWayOutClosesWithCancel()
    {
        TempEnvironment env;
        FakeMessageBoxes messages;
        const auto ways = QList<std::pair<const char*, std::function<void(QDialog&)>>>{
            {"close box", closeBox},
            {"Close button", [](QDialog& w) { QTest::mouseClick(w.findChild<QPushButton*>("btnCancel"), Qt::LeftButton); }},
            {"Enter pressed", [](QDialog& w) { QTest::keyPress(w.findChild<QListView*>("ListBox1"), Qt::Key_Return); }},
            {"Esc released", [](QDialog& w) { QTest::keyRelease(w.findChild<QPushButton*>("btnCancel"), Qt::Key_Escape); }},
        };
        for (const auto& [name, way] : ways) {
            const Showing s = show(messages, way);
            QVERIFY2(!s.stillOpenAfterTest, name);
            QCOMPARE(s.result, int(QDialog::Rejected));
        }
    }

    void escapeActsOnReleaseOnly()
    {
        TempEnvironment env;
        FakeMessageBoxes messages;
        bool openAfterPress = false;
        const Showing s = show(messages, [&](QDialog& w) {
            auto* list = w.findChild<QListView*>("ListBox1");
            QTest::keyPress(list, Qt::Key_Escape);
            openAfterPress = w.isVisible();
            QTest::keyRelease(list, Qt::Key_Escape);
        });
        QVERIFY(openAfterPress);
        QVERIFY(!s.stillOpenAfterTest);
        QCOMPARE(s.result, int(QDialog::Rejected));
    }

    void everyOpeningReadsTheFileAfresh()
    {
        TempEnvironment env;
        writeReport("one\r\n");
        FakeMessageBoxes messages;
        QCOMPARE(show(messages, closeBox).items, QStringList{"one"});
        writeReport("one\r\ntwo\r\n");
        QCOMPARE(show(messages, closeBox).items, (QStringList{"one", "two"}));
        // Each showing's window is gone once it has closed.
        const QWidgetList alive = QApplication::allWidgets();
        QVERIFY(std::none_of(alive.begin(), alive.end(),
                             [](QWidget* w) { return w->inherits("TfrmReport"); }));
    }

    void aFiftyMegabyteReportOpensAtOnce()
    {
        TempEnvironment env;
        const QByteArray line = "[01.02.26 10:00] Microphone detected\r\n";
        const qsizetype lines = 50'000'000 / line.size();
        writeReport(line.repeated(lines - 1) + "[01.02.26 10:01] Alarm - Stoped\r\n");
        FakeMessageBoxes messages;
        QElapsedTimer opening;
        opening.start();
        qint64 openMs = -1;
        int rows = 0;
        QString last;
        show(messages, [&](QDialog& w) {
            openMs = opening.elapsed();
            auto* list = w.findChild<QListView*>("ListBox1");
            rows = list->model()->rowCount();
            last = list->model()->index(rows - 1, 0).data().toString();
            closeBox(w);
        });
        QCOMPARE(rows, int(lines));
        QCOMPARE(last, QStringLiteral("[01.02.26 10:01] Alarm - Stoped"));
        qInfo("a %lld-line report opened in %lld ms", qint64(lines), openMs);
        // Laying out every line took over ten seconds; the bound leaves room for slow builds.
        QVERIFY2(openMs < 5000, qPrintable(QString::number(openMs)));
    }

    void windowIsAFixedModalDialogAboveOthers()
    {
        TempEnvironment env;
        FakeMessageBoxes messages;
        TfrmReport w(messages, ReportFilePath(ReportsFolder));
        QCOMPARE(w.windowTitle(), QStringLiteral("Ostrel"));
        QCOMPARE(w.minimumSize(), QSize(342, 416));
        QCOMPARE(w.maximumSize(), QSize(342, 416));
        QVERIFY(w.windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(!(w.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        // Long lines are cut at the right edge, never scrolled or shortened with dots.
        auto* list = w.findChild<QListView*>("ListBox1");
        QCOMPARE(list->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(list->textElideMode(), Qt::ElideNone);
    }
};

QTEST_MAIN(ReportWindowTest)
#include "test_report_window.moc"

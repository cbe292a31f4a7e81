#include "FakeUrlOpener.h"
#include "TempEnvironment.h"
#include "app/AboutFacts.h"
#include "app/Endpoints.h"
#include "app/fmAbout.h"
#include "app/gVars.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {
struct Showing
{
    int result = -2;
    bool appeared = false;
    bool openAfterAction = false;
};

/// Shows the about window and acts on it while it is open.
Showing showAbout(FakeUrlOpener& urls, const std::function<void(QDialog&)>& act)
{
    Showing showing;
    QObject whileShowing;
    QTimer::singleShot(0, &whileShowing, [&] {
        auto* window = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!window)
            return;
        showing.appeared = true;
        act(*window);
        showing.openAfterAction = window->isVisible();
        if (window->isVisible())
            window->done(42);
    });
    showing.result = TfrmAbout::ShowAbout(urls);
    return showing;
}

QString text(QDialog& w, const char* name)
{
    if (auto* label = w.findChild<QLabel*>(name))
        return label->text();
    return w.findChild<QLineEdit*>(name)->text();
}
} // namespace

class AboutWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void showsTheProductItsVersionLinksFiguresAndFolders()
    {
        TempEnvironment env;
        FakeUrlOpener urls;
        showAbout(urls, [](QDialog& w) {
            QCOMPARE(w.windowTitle(), QStringLiteral("Ostrel"));
            QCOMPARE(w.size(), QSize(492, 394));
            QVERIFY(w.windowFlags() & Qt::WindowStaysOnTopHint);
            QCOMPARE(text(w, "lblTitle"), QStringLiteral("Ostrel"));
            QCOMPARE(text(w, "lblVersion"), "(v" + GetAppVersion() + " for Linux)");
            QCOMPARE(text(w, "lblHomePage"), Endpoints::ProductPage);
            QCOMPARE(text(w, "lblSupportMail"), Endpoints::SupportAddress);
            QCOMPARE(text(w, "lblNewsletter"), Endpoints::NewsletterPage);
            QVERIFY2(text(w, "Label4").endsWith(" KB"), qPrintable(text(w, "Label4")));
            QVERIFY2(text(w, "Label5").endsWith(" %"), qPrintable(text(w, "Label5")));
            QCOMPARE(text(w, "edtAppFolder"), AppFolder);
            QCOMPARE(text(w, "edtTntRoamingAppDataFolder"), DataFolder);
            QVERIFY(w.findChild<QLineEdit*>("edtAppFolder")->isReadOnly());
        });
    }

    void theLinksOpenThePagesAndANewMessage()
    {
        TempEnvironment env;
        FakeUrlOpener urls;
        showAbout(urls, [](QDialog& w) {
            for (const char* name : {"lblHomePage", "lblNewsletter", "lblSupportMail"})
                QTest::mouseClick(w.findChild<QLabel*>(name), Qt::LeftButton);
        });
        QCOMPARE(urls.opened, (QStringList{Endpoints::ProductPage, Endpoints::NewsletterPage,
                                           "mailto:" + Endpoints::SupportAddress + "?subject=&Body="}));
    }

    void everyWayOutIsACancelAndASecondShowingClosesTheFirst()
    {
        TempEnvironment env;
        FakeUrlOpener urls;
        const QList<std::pair<const char*, std::function<void(QDialog&)>>> ways{
            {"Close button", [](QDialog& w) { QTest::mouseClick(w.findChild<QPushButton*>("btnCancel"), Qt::LeftButton); }},
            {"close box", [](QDialog& w) { w.close(); }},
            {"Enter pressed", [](QDialog& w) { QTest::keyPress(&w, Qt::Key_Return); }},
            {"Esc released", [](QDialog& w) {
                 QTest::keyPress(&w, Qt::Key_Escape);
                 QVERIFY(w.isVisible());
                 QTest::keyRelease(&w, Qt::Key_Escape);
             }},
            {"second showing", [&urls](QDialog&) { QCOMPARE(TfrmAbout::ShowAbout(urls), -1); }},
        };
        for (const auto& [name, way] : ways) {
            const Showing s = showAbout(urls, way);
            QVERIFY2(s.appeared, name);
            QVERIFY2(!s.openAfterAction, name);
            QCOMPARE(s.result, int(QDialog::Rejected));
        }
        // Each showing's window is gone once it has closed.
        const QWidgetList alive = QApplication::allWidgets();
        QVERIFY(std::none_of(alive.begin(), alive.end(), [](QWidget* w) { return w->inherits("TfrmAbout"); }));
    }
};

QTEST_MAIN(AboutWindowTest)
#include "test_about_window.moc"

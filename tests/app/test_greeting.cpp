#include "TempEnvironment.h"
#include "app/fmThanx.h"
#include "settings/gRegistry.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace gRegistry;

namespace {
/// What the greeting showed, and whether it was still open after the test's action.
struct Shown
{
    bool appeared = false;
    QString title;
    QString thanks;
    QStringList text;
    QSize size;
    bool openAfterAction = false;
};

/// Runs ShowThanx and, if the greeting appears, acts on it.
std::optional<int> showThanx(SettingsStore& store, Shown& shown, const std::function<void(QDialog&)>& act)
{
    QObject whileShowing; // when the greeting does not show, the look at it must not wait for a later one
    QTimer::singleShot(0, &whileShowing, [&] {
        auto* window = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!window)
            return;
        shown.appeared = true;
        shown.title = window->windowTitle();
        shown.thanks = window->findChild<QLabel*>("lbl1")->text();
        shown.text = window->findChild<QLabel*>("lbl2")->text().split('\n');
        shown.size = window->size();
        act(*window);
        shown.openAfterAction = window->isVisible();
        if (window->isVisible())
            window->done(42);
    });
    return TfrmThanx::ShowThanx(store, StateKey, QStringLiteral("MsgThanx"), QStringLiteral("Ostrel"));
}
} // namespace

class GreetingTest : public QObject
{
    Q_OBJECT
private slots:
    void aFreshUserIsGreetedOnceAndEscAnswersOk()
    {
        TempEnvironment env;
        SettingsStore store(env.settingsFile());
        Shown shown;
        bool openAfterPress = false;
        const std::optional<int> result = showThanx(store, shown, [&](QDialog& w) {
            QTest::keyPress(&w, Qt::Key_Escape);
            openAfterPress = w.isVisible();
            QTest::keyRelease(&w, Qt::Key_Escape);
        });
        QVERIFY(shown.appeared);
        QCOMPARE(shown.title, QStringLiteral("Ostrel"));
        QCOMPARE(shown.thanks, QStringLiteral("Thank you using Ostrel!"));
        QCOMPARE(shown.text, (QStringList{"We encourage you to visit our web site for more Quillmere products.",
                                          "We will be happy to answer your questions or hear your concerns.", "", "",
                                          "With regards, Quillmere programmers"}));
        QCOMPARE(shown.size, QSize(449, 221));
        QVERIFY(openAfterPress);
        QVERIFY(!shown.openAfterAction);
        QCOMPARE(result, std::optional<int>(QDialog::Accepted));
        QCOMPARE(store.ReadSetting(StateKey, "MsgThanx"), QStringLiteral("T"));

        Shown again;
        QCOMPARE(showThanx(store, again, [](QDialog&) {}), std::nullopt);
        QVERIFY(!again.appeared);
    }

    void everyWayOutMarksItSeenAndDeletingTheMarkBringsItBack()
    {
        TempEnvironment env;
        SettingsStore store(env.settingsFile());
        const QList<std::pair<const char*, std::function<void(QDialog&)>>> ways{
            {"OK button", [](QDialog& w) { QTest::mouseClick(w.findChild<QPushButton*>("btnOK"), Qt::LeftButton); }},
            {"close box", [](QDialog& w) { w.close(); }},
        };
        for (const auto& [name, way] : ways) {
            store.DeleteSetting(StateKey, "MsgThanx");
            Shown shown;
            const std::optional<int> result = showThanx(store, shown, way);
            QVERIFY2(shown.appeared, name);
            QVERIFY2(!shown.openAfterAction, name);
            QCOMPARE(result.has_value(), true);
            QCOMPARE(store.ReadSetting(StateKey, "MsgThanx"), QStringLiteral("T"));
        }
    }
};

QTEST_MAIN(GreetingTest)
#include "test_greeting.moc"

// The keyboard switch and its detector inside the main window's logic, with a fake desktop
// keyboard, on the virtual clock.
#include "StartedLogic.h"
#include "alarm/AlarmController.h"
#include "detect/KeyboardDetector.h"
#include "guard/Pin.h"

#include <QTest>

using namespace gRegistry;


class KeyboardDetectorTest : public QObject
{
    Q_OBJECT
private slots:
    void theSwitchIsStoredShownAndAloneEnablesArming()
    {
        StartedLogic r;
        QVERIFY(r.created);
        QVERIFY(!r.keys.subscribed());
        QVERIFY(!r.view.keyboardDetection);
        QVERIFY(!r.view.states->activateToggle);

        r.logic.keyboard().ActKeyDetectToggleExecute();
        QVERIFY(r.keys.subscribed());
        QVERIFY(r.view.keyboardDetection);
        QCOMPARE(r.store->ReadSetting(StateKey, "ActKeyDetectToggle"), QStringLiteral("T"));
        QVERIFY(r.view.states->activateToggle);
        // The four header buttons are drawn as before: the keyboard is a menu item.
        QVERIFY(!r.view.drawn.join(' ').contains("ActKeyDetectToggle"));

        r.logic.controller().ActActivateToggleExecute();
        QVERIFY(!r.view.states->detectorSwitches); // the item too, while armed
        r.logic.controller().FormKeyUp(Qt::Key_Escape);

        r.logic.keyboard().ActKeyDetectToggleExecute();
        QVERIFY(!r.keys.subscribed());
        QVERIFY(!r.view.keyboardDetection);
        QCOMPARE(r.store->ReadSetting(StateKey, "ActKeyDetectToggle"), QString());
        QVERIFY(!r.view.states->activateToggle);
    }

    void aKeyPressWhileArmedIsATriggerAndTheWatchResumesAtTheNextStart()
    {
        StartedLogic r({"ActKeyDetectToggle", "Alarm Active"});
        QVERIFY(r.keys.subscribed());
        QVERIFY(r.view.keyboardDetection);
        QVERIFY(r.logic.controller().armed());
        r.keys.press();
        QCOMPARE(r.reportMessages().last(), QStringLiteral("Keyboard detected"));

        // A subscription the system ends is made again.
        r.keys.cancel();
        QVERIFY(r.keys.subscribed());
        r.logic.FormClose();
        QVERIFY(!r.keys.subscribed());
    }

    void aDesktopWithoutKeyEventsLeavesTheSwitchOnAndTriesAgainAtTheNextStart()
    {
        StartedLogic r;
        r.keys.startSucceeds = false;
        r.logic.keyboard().ActKeyDetectToggleExecute();
        QVERIFY(r.view.keyboardDetection);
        QVERIFY(!r.logic.keyboard().watching());
        QCOMPARE(r.keys.starts, 1);
        r.logic.keyboard().resume();
        QCOMPARE(r.keys.starts, 2);

        // Watching, a cancelled subscription that cannot be made again leaves it deaf, not broken.
        r.keys.startSucceeds = true;
        r.logic.keyboard().resume();
        QVERIFY(r.keys.subscribed());
        r.keys.startSucceeds = false;
        r.keys.cancel();
        QVERIFY(!r.logic.keyboard().watching());
        r.keys.press();
        QVERIFY(!r.reportMessages().contains("Keyboard detected"));
    }

    void keysTypedIntoThePinPromptAreNoTrigger()
    {
        StartedLogic r({"ActKeyDetectToggle", "Alarm Active"});
        QCOMPARE(r.logic.changeProtection({.newPin = "2468", .repeatedPin = "2468"}), ProtectionVerdict::Saved);
        const qsizetype lines = r.reportMessages().size();
        r.logic.controller().ActActivateToggleExecute(); // asks for the PIN
        QVERIFY(r.view.prompt.shown);
        r.keys.press();
        r.keys.press();
        QCOMPARE(r.reportMessages().size(), lines);
        r.logic.controller().pinGate().submit("2468");
        QVERIFY(!r.logic.controller().armed());
        QVERIFY(!r.reportMessages().contains("Keyboard detected"));
    }
};

QTEST_GUILESS_MAIN(KeyboardDetectorTest)
#include "test_keyboard_detector.moc"

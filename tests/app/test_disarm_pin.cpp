// Every way out of an armed period (Esc, the arm button, closing the window, a termination
// signal) with and without a disarm PIN, on the virtual clock and without a widget.
#include "StartedLogic.h"
#include "WeakPinHash.h"
#include "alarm/AlarmController.h"
#include "guard/Pin.h"

#include <QTest>

using namespace gRegistry;

namespace {
const QString ThePin = QStringLiteral("2468");

/// The logic, armed at its start with the simulation switch; with the given PIN hash stored, if
/// any.
struct ArmedRig : StartedLogic
{
    explicit ArmedRig(const QByteArray& pinHash) : StartedLogic({"Alarm Active", "ActSimToggle"}, pinHash) {}

    AlarmController& controller() { return logic.controller(); }
    PinGate& gate() { return controller().pinGate(); }
    bool armedAndStored() { return controller().armed() && store->ReadSetting(StateKey, "Alarm Active") == "T"; }
};

const QByteArray& pinHash()
{
    static const QByteArray hash = Pin::hash(ThePin);
    return hash;
}
} // namespace

class DisarmPinTest : public QObject
{
    Q_OBJECT
private slots:
    void withoutAPinEveryWayOutActsAtOnce()
    {
        ArmedRig r{QByteArray()};
        QVERIFY(r.created);
        QVERIFY(r.armedAndStored());
        r.controller().FormKeyUp(Qt::Key_Escape);
        QVERIFY(!r.controller().armed());
        QVERIFY(!r.view.prompt.shown);
        QCOMPARE(r.reportMessages().last(), QStringLiteral("Alarm - Stoped"));

        r.controller().ActActivateToggleExecute();
        QVERIFY(r.armedAndStored());
        QVERIFY(!r.logic.closeNeedsPin());
        r.controller().ActActivateToggleExecute();
        QVERIFY(!r.controller().armed());
        QVERIFY(!r.view.prompt.shown);

        r.controller().ActActivateToggleExecute();
        r.logic.terminationRequested();
        QVERIFY(!r.reportMessages().contains("Alarm - Terminated while armed"));
        QVERIFY(r.armedAndStored());
    }

    void withAPinEscAndTheArmButtonWaitForTheRightPin()
    {
        ArmedRig r{pinHash()};
        QVERIFY(r.armedAndStored());
        r.controller().FormKeyUp(Qt::Key_Escape);
        QVERIFY(r.view.prompt.shown);
        QVERIFY(r.armedAndStored());
        // Cancel: nothing waits any more, and a PIN typed later disarms nothing.
        r.gate().cancel();
        r.gate().submit(ThePin);
        QVERIFY(r.armedAndStored());

        r.controller().ActActivateToggleExecute();
        QVERIFY(r.armedAndStored());
        r.gate().submit(ThePin);
        QVERIFY(!r.controller().armed());
        QVERIFY(!r.view.prompt.shown);
        QCOMPARE(r.reportMessages().last(), QStringLiteral("Alarm - Stoped"));
        QCOMPARE(r.store->ReadSetting(StateKey, "Alarm Active"), QString());

        // Disarmed, arming needs no PIN.
        r.controller().ActActivateToggleExecute();
        QVERIFY(r.armedAndStored());
        QVERIFY(!r.view.prompt.shown);
    }

    void closingWhileArmedWaitsForThePinAndATerminationEndsAnyway()
    {
        ArmedRig r{pinHash()};
        int closes = 0;
        QVERIFY(r.logic.closeNeedsPin());
        r.logic.askPinToClose([&] { ++closes; });
        QVERIFY(r.view.prompt.shown);
        r.gate().submit(QStringLiteral("1357"));
        QCOMPARE(closes, 0);
        r.gate().submit(ThePin);
        QCOMPARE(closes, 1);
        QVERIFY(!r.logic.closeNeedsPin());
        // Closed with the PIN, the armed period goes on at the next start, as any close leaves it.
        QVERIFY(r.armedAndStored());

        ArmedRig signalled{pinHash()};
        signalled.logic.terminationRequested();
        QCOMPARE(signalled.reportMessages().last(), QStringLiteral("Alarm - Terminated while armed"));
        QVERIFY(!signalled.logic.closeNeedsPin());
        QVERIFY(signalled.armedAndStored());

        ArmedRig disarmed{pinHash()};
        disarmed.controller().FormKeyUp(Qt::Key_Escape);
        disarmed.gate().submit(ThePin);
        QVERIFY(!disarmed.logic.closeNeedsPin());
        disarmed.logic.terminationRequested();
        QVERIFY(!disarmed.reportMessages().contains("Alarm - Terminated while armed"));
    }

    void wrongPinsAreReportedTheThirdTriggersAndEachFurtherDoublesTheWait()
    {
        ArmedRig r{pinHash()};
        const qsizetype armedLines = r.reportMessages().size();
        r.controller().FormKeyUp(Qt::Key_Escape);
        r.gate().submit("0000");
        r.gate().submit("1111");
        // The report takes a line once per minute of its time stamp.
        QCOMPARE(r.reportMessages().mid(armedLines), QStringList{"Wrong PIN entered"});
        QCOMPARE(r.gate().wrongInARow(), 2);
        QCOMPARE(r.view.prompt.wrongPinsShown, 2);
        QVERIFY(!r.gate().waiting());
        r.gate().submit("2222");
        QCOMPARE(r.reportMessages().mid(armedLines),
                 (QStringList{"Wrong PIN entered", "Disarm attempt with a wrong PIN"}));
        QVERIFY(!r.gate().waiting());

        const int waits[] = {1, 2, 4, 8, 16, 32, 60, 60};
        for (const int seconds : waits) {
            r.gate().submit("3333");
            QCOMPARE(r.view.prompt.waitSeconds, seconds);
            QVERIFY(r.gate().waiting());
            // While it waits, even the right PIN is not looked at.
            const qsizetype lines = r.reportMessages().size();
            r.gate().submit(ThePin);
            QVERIFY(r.controller().armed());
            QCOMPARE(r.reportMessages().size(), lines);
            r.clock.advance(seconds * 1000 - 1);
            QVERIFY(r.gate().waiting());
            r.clock.advance(1);
            QVERIFY(!r.gate().waiting());
            QCOMPARE(r.view.prompt.waitSeconds, 0);
        }
        QCOMPARE(r.reportMessages().count("Disarm attempt with a wrong PIN"), 1);
        // The right PIN disarms and starts the count afresh.
        r.gate().submit(ThePin);
        QVERIFY(!r.controller().armed());
        QCOMPARE(r.gate().wrongInARow(), 0);
    }

    void aDamagedHashRefusesEveryPinAndSaysSoOnce()
    {
        ArmedRig r{pinHash().left(30)};
        r.controller().FormKeyUp(Qt::Key_Escape);
        r.gate().submit(ThePin);
        r.gate().submit(ThePin);
        QVERIFY(r.armedAndStored());
        QCOMPARE(r.gate().wrongInARow(), 2);
        QCOMPARE(r.reportMessages().count("Stored PIN damaged - no PIN can disarm"), 1);
        QVERIFY(r.reportMessages().endsWith("Wrong PIN entered"));
    }

    void aPinFromTheDialogGuardsAtOnceAndAnOldHashIsUpgraded()
    {
        ArmedRig r{QByteArray()};
        r.controller().FormKeyUp(Qt::Key_Escape);
        QCOMPARE(r.logic.changeProtection({.newPin = ThePin, .repeatedPin = ThePin}), ProtectionVerdict::Saved);
        const QString stored = r.store->ReadSetting(GuardKey, "PinHash");
        QVERIFY(stored.startsWith("$argon2id$"));
        r.controller().ActActivateToggleExecute();
        r.controller().FormKeyUp(Qt::Key_Escape);
        QVERIFY(r.controller().armed());
        QVERIFY(r.view.prompt.shown);
        r.gate().submit(ThePin);
        QVERIFY(!r.controller().armed());
        QCOMPARE(r.store->ReadSetting(GuardKey, "PinHash"), stored); // nothing to upgrade

        ArmedRig old{WeakPinHash(ThePin)};
        old.controller().FormKeyUp(Qt::Key_Escape);
        old.gate().submit(ThePin);
        QVERIFY(!old.controller().armed());
        const QByteArray upgraded = old.store->ReadSetting(GuardKey, "PinHash").toUtf8();
        QVERIFY(!Pin::needsRehash(upgraded));
        QCOMPARE(Pin::verify(upgraded, ThePin), Pin::Check::Right);
    }
};

QTEST_GUILESS_MAIN(DisarmPinTest)
#include "test_disarm_pin.moc"

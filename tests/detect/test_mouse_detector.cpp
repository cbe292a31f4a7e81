#include "FakeAlarmTrigger.h"
#include "FakeAlarmView.h"
#include "FakePointerSource.h"
#include "FakeTunables.h"
#include "TempEnvironment.h"
#include "VirtualClock.h"
#include "alarm/Switches.h"
#include "app/gVars.h"
#include "detect/MouseDetector.h"
#include "report/ReportLog.h"
#include "settings/gRegistry.h"

#include <QTest>

namespace {
const QString Detected = QStringLiteral("Mouse detected");

/// The detector on the virtual clock with a fake desktop pointer, a private settings file and
/// report, asking a recording trigger for the alarm.
struct MouseRig
{
    TempEnvironment env;
    VirtualClock clock;
    FakeAlarmTrigger alarm;
    FakeTunables tunables;
    FakeAlarmView view;
    FakePointerSource pointer;
    ReportLog report{clock, ReportsFolder, QStringLiteral(":")};
    Switches switches;
    SettingsStore store{env.settingsFile()};
    MouseDetector detector{
        {alarm, tunables, clock, view, pointer, report, switches, view, store}};

    /// Switched on with the pointer at `at` and the given sensitivity.
    void watchFrom(QPoint at, int sensitivity = 50)
    {
        tunables.set(Tunable::trkMouseSensivity, sensitivity);
        pointer.position = at;
        detector.ActMouDetectToggleExecute();
    }
};
} // namespace

class MouseDetectorTest : public QObject
{
    Q_OBJECT
private slots:
    void aMoveRequestsWhenItGoesFurtherThanTheSensitivityAllows_data()
    {
        QTest::addColumn<int>("sensitivity");
        QTest::addColumn<QPoint>("by");
        QTest::addColumn<bool>("requests");
        QTest::newRow("100: one pixel") << 100 << QPoint(1, 0) << true;
        QTest::newRow("100: no move at all") << 100 << QPoint(0, 0) << false;
        QTest::newRow("50: 51 to the right") << 50 << QPoint(51, 0) << true;
        QTest::newRow("50: 50 to the right") << 50 << QPoint(50, 0) << false;
        QTest::newRow("50: 51 to the left") << 50 << QPoint(-51, 0) << true;
        QTest::newRow("50: 51 down") << 50 << QPoint(0, 51) << true;
        QTest::newRow("50: 50 up and 50 left") << 50 << QPoint(-50, -50) << false;
        QTest::newRow("0: 100") << 0 << QPoint(100, 0) << false;
        QTest::newRow("0: 101") << 0 << QPoint(0, -101) << true;
    }

    void aMoveRequestsWhenItGoesFurtherThanTheSensitivityAllows()
    {
        QFETCH(int, sensitivity);
        QFETCH(QPoint, by);
        QFETCH(bool, requests);
        MouseRig r;
        r.watchFrom({300, 300}, sensitivity);
        r.pointer.moveTo(QPoint(300, 300) + by);
        QCOMPARE(r.alarm.requests, requests ? QStringList{Detected} : QStringList{});
        QCOMPARE(QPoint(r.detector.LastMouseX(), r.detector.LastMouseY()), QPoint(300, 300) + by);
    }

    void aSlowMoveNeverRequestsHoweverFarItGoes()
    {
        MouseRig r;
        r.watchFrom({0, 0});
        for (int step = 1; step <= 200; ++step)
            r.pointer.moveTo({10 * step, 5 * step});
        QVERIFY(r.alarm.requests.isEmpty());
        QCOMPARE(r.detector.LastMouseX(), 2000);
        // A position that cannot be read skips the event and keeps the last one.
        r.pointer.positionReadable = false;
        r.pointer.send(PointerEvent::Move);
        QCOMPARE(r.detector.LastMouseX(), 2000);
        QVERIFY(r.alarm.requests.isEmpty());
    }

    void pressesAndTheWheelRequestEverythingElseIsIgnored()
    {
        MouseRig r;
        r.watchFrom({10, 10});
        for (PointerEvent event : {PointerEvent::LeftPress, PointerEvent::MiddlePress,
                                   PointerEvent::RightPress, PointerEvent::Wheel})
            r.pointer.send(event);
        QCOMPARE(r.alarm.requests, QStringList(4, Detected));
        r.pointer.send(PointerEvent::Other); // a release, a key
        QCOMPARE(r.alarm.requests.size(), 4);
    }

    void aMoveMadeWhileOffIsNotDetectedAtSwitchOn()
    {
        MouseRig r;
        r.pointer.position = {0, 0};
        r.pointer.position = {900, 700}; // moved while the detector is off
        r.watchFrom({900, 700});
        r.pointer.moveTo({905, 700});
        QVERIFY(r.alarm.requests.isEmpty());
    }

    void theSwitchTurnsOverRedrawsStartsAndPersists()
    {
        MouseRig r;
        r.watchFrom({40, 50});
        QVERIFY(r.switches.isOn(Switch::ActMouDetectToggle));
        QCOMPARE(r.view.calls, (QStringList{"DrawMouDetectBtnState", "KeyState"}));
        QCOMPARE(QPoint(r.detector.LastMouseX(), r.detector.LastMouseY()), QPoint(40, 50));
        QVERIFY(r.detector.MouseHookActive());
        QVERIFY(r.pointer.subscribed());
        QCOMPARE(r.store.ReadSetting(gRegistry::StateKey, "ActMouDetectToggle"), QStringLiteral("T"));

        r.detector.ActMouDetectToggleExecute();
        QVERIFY(!r.detector.MouseHookActive());
        QVERIFY(!r.pointer.subscribed());
        QCOMPARE(r.store.ReadSetting(gRegistry::StateKey, "ActMouDetectToggle"), QString());
        r.pointer.send(PointerEvent::LeftPress);
        QVERIFY(r.alarm.requests.isEmpty());
    }

    void aFailedStartIsSilentAndLeavesTheSwitchOn()
    {
        MouseRig r;
        r.pointer.startSucceeds = false;
        r.watchFrom({0, 0});
        QVERIFY(r.switches.isOn(Switch::ActMouDetectToggle));
        QVERIFY(!r.detector.MouseHookActive());
        QVERIFY(r.report.ReportLines().isEmpty());
        // Starting again while active does nothing; while inactive it tries anew.
        r.pointer.startSucceeds = true;
        r.detector.StartMouseHook();
        r.detector.StartMouseHook();
        QCOMPARE(r.pointer.starts, 2);
        QVERIFY(r.detector.MouseHookActive());
    }

    void aCancelledSubscriptionIsMadeAgainOnlyWhileActive()
    {
        MouseRig r;
        r.watchFrom({0, 0});
        r.pointer.cancel();
        QCOMPARE(r.pointer.starts, 2);
        QVERIFY(r.pointer.subscribed());
        QVERIFY(r.detector.MouseHookActive());
        r.pointer.send(PointerEvent::Wheel);
        QCOMPARE(r.alarm.requests.size(), 1);

        // A failed new subscription leaves the detector deaf, still meant to watch.
        r.pointer.startSucceeds = false;
        r.pointer.cancel();
        QCOMPARE(r.pointer.starts, 3);
        QVERIFY(!r.pointer.subscribed());
        QVERIFY(r.detector.MouseHookActive());

        r.detector.StopMouseHook();
        r.detector.subscriptionCancelled();
        QCOMPARE(r.pointer.starts, 3);
    }

    void theLampLightsOnEveryRequestFor250Ms()
    {
        MouseRig r;
        r.watchFrom({0, 0});
        r.pointer.send(PointerEvent::LeftPress);
        QCOMPARE(r.view.lampColour(Lamp::shpLedMouDetection), Colours::LampDetection);
        r.clock.advance(249);
        QCOMPARE(r.view.lampColour(Lamp::shpLedMouDetection), Colours::LampDetection);
        r.clock.advance(1);
        QCOMPARE(r.view.lampColour(Lamp::shpLedMouDetection), Colours::LampOff);
    }

    void aWaylandSessionIsToldInTheReportAtEveryStart()
    {
        MouseRig r;
        r.pointer.x11Only = true;
        r.watchFrom({0, 0});
        r.detector.StopMouseHook();
        r.clock.advance(60000); // the report keeps one of two equal lines in a row
        r.detector.resume();
        QCOMPARE(r.report.ReportLines().size(), 2);
        QVERIFY(r.report.ReportLines().constLast().endsWith(
            "] Mouse detection sees only X11 windows in a Wayland session"));
    }
};

QTEST_GUILESS_MAIN(MouseDetectorTest)
#include "test_mouse_detector.moc"

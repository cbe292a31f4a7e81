// The main window's logic on its own: no widget, no display, only a core application.
#include "FakeMainView.h"
#include "FakeServices.h"
#include "SoundTestFiles.h"
#include "alarm/AlarmController.h"
#include "app/gVars.h"
#include "report/ReportLog.h"

#include <QTest>

using namespace gRegistry;

namespace {
struct LogicRig : FakeServices
{
    FakeMainView view;
    MainLogic logic{services(), view};
};
} // namespace

class MainLogicTest : public QObject
{
    Q_OBJECT
private slots:
    void runsCreationActivationAndTeardownWithoutAWidget()
    {
        LogicRig r;
        r.store->WriteSetting(StateKey, "Alarm Active", "T");
        r.store->WriteSetting(StateKey, "ActMouDetectToggle", "T");
        r.store->WriteSetting(SoundSelectionKey, "siren.wav", "T");
        r.store->WriteSetting(TuningKey, "frmMainspnActivationDelay", "0");
        makeFile(SoundsFolder + "siren.wav");
        QVERIFY(r.logic.FormCreate());
        QCOMPARE(r.view.drawn, (QStringList{"ActMicDetectToggle 0", "ActMouDetectToggle 1",
                                            "ActSimToggle 0", "ActActivateToggle 1"}));
        QCOMPARE(r.view.inputs, QStringList{"Microphone"});
        QCOMPARE(r.view.selectedInput, 0);
        // The states come from the switches and the sound list's content, not from a widget.
        QVERIFY(r.view.states);
        QVERIFY(!r.view.states->detectorSwitches);
        QVERIFY(r.view.states->activateToggle);
        QVERIFY(r.view.states->checkCommands);

        r.logic.FormActivate();
        r.logic.FormActivate();
        QCOMPARE(r.pointer.starts, 1);
        QVERIFY(r.pointer.subscribed());
        QCOMPARE(r.logic.report().ReportLines().size(), 2); // mouse enabled, activated

        r.logic.FormClose();
        QVERIFY(!r.pointer.subscribed());
        QCOMPARE(r.audio.calls.mid(r.audio.calls.size() - 2),
                 (QStringList{"freeRecording", "freeOutput"}));
        QCOMPARE(r.store->ReadSetting(StateKey, "Alarm Active"), QStringLiteral("T"));
    }

    void aFailedStartLeavesActivationAndCloseWithNothingToDo()
    {
        LogicRig r;
        r.audio.libraryVersion = r.audio.requiredVersion() - 1;
        r.store->WriteSetting(StateKey, "Alarm Active", "T");
        QVERIFY(!r.logic.FormCreate());
        const QStringList calls = r.audio.calls;
        r.logic.FormActivate();
        r.logic.FormClose();
        QCOMPARE(r.audio.calls, calls);
        QVERIFY(r.view.drawn.isEmpty());
    }
};

QTEST_GUILESS_MAIN(MainLogicTest)
#include "test_main_logic.moc"

#include "MainWindowFixture.h"
#include "alarm/AlarmController.h"
#include "alarm/AlarmSimulation.h"
#include "alarm/TaskQueue.h"
#include "detect/MicrophoneDetector.h"
#include "detect/MouseDetector.h"
#include "app/LedLamp.h"
#include "app/gVars.h"
#include "core/Colours.h"
#include "report/ReportLog.h"

#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace gRegistry;

namespace {
QStringList messagesOf(MainWindowFixture& f)
{
    QStringList result;
    for (const QString& line : f.logic->report().ReportLines())
        result << line.mid(line.indexOf("] ") + 2);
    return result;
}

/// The colour at the middle of the top ring of a 40 x 40 glyph.
QColor glyphRing(QToolButton* button, QIcon::Mode mode)
{
    return button->icon().pixmap(40, 40, mode).toImage().pixelColor(20, 8);
}

QString hint(TfrmMain& w, const char* action)
{
    return w.findChild<QAction*>(action)->toolTip();
}

bool enabled(MainWindowFixture& f, const char* name)
{
    return f.window->findChild<QObject*>(name)->property("enabled").toBool();
}

/// Releases Esc where the user's key would go: the focused control, or the window.
void releaseEscape(TfrmMain& w)
{
    QWidget* focus = QApplication::focusWidget();
    QTest::keyRelease(focus ? focus : &w, Qt::Key_Escape);
}

void activate(TfrmMain& w)
{
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
}
} // namespace

class MainWindowAlarmTest : public QObject
{
    Q_OBJECT
private slots:
    void creationDrawsTheStoredSwitchesAndStartsOnlyThePlayer()
    {
        MainWindowFixture f;
        f.store->WriteSetting(StateKey, "Alarm Active", "T");
        f.store->WriteSetting(StateKey, "ActMicDetectToggle", "T");
        f.store->WriteSetting(SoundSelectionKey, "siren.wav", "T");
        f.addSoundFile("siren.wav");
        TfrmMain& w = f.open();
        QCOMPARE(hint(w, "ActMicDetectToggle"), QStringLiteral("Disable Microphone Detection"));
        QCOMPARE(hint(w, "ActMouDetectToggle"), QStringLiteral("Use Mouse Detection"));
        QCOMPARE(hint(w, "ActSimToggle"), QStringLiteral("Use Alarm Simulation"));
        QCOMPARE(hint(w, "ActActivateToggle"), QStringLiteral("Stop Alarm"));
        QCOMPARE(hint(w, "ActViewReport"), QStringLiteral("View Report"));

        // The armed picture is red, its disabled look grey; the disarmed picture is green.
        auto* activate = f.find<QToolButton>("btnActivate");
        const QColor armed = glyphRing(activate, QIcon::Normal);
        QVERIFY2(armed.red() > 180 && armed.green() < 80, qPrintable(armed.name()));
        const QColor greyed = glyphRing(activate, QIcon::Disabled);
        QVERIFY2(qAbs(greyed.red() - greyed.blue()) < 40 && greyed.red() > 100, qPrintable(greyed.name()));
        for (const char* button : {"btnMicDetect", "btnMouDetect", "btnSimulation", "btnReport"})
            QVERIFY2(!f.find<QToolButton>(button)->icon().isNull(), button);
        QVERIFY(f.find<QToolButton>("btnMicDetect")->icon().cacheKey() !=
                f.find<QToolButton>("btnMouDetect")->icon().cacheKey());

        QVERIFY(!f.logic->controller().TimActivationDelay().isEnabled());
        QVERIFY(!f.logic->simulation().TimSimulation().isEnabled());
        QVERIFY(f.logic->report().ReportLines().isEmpty());

        // The player runs, asleep with nothing queued: a burst wakes it at once.
        f.clock.advance(60000);
        QCOMPARE(f.playback->polls, 0);
        f.logic->taskQueue().AddTask();
        f.clock.advance(1);
        QCOMPARE(f.playback->played, QStringList{SoundsFolder + "siren.wav"});
    }

    void detectorSwitchesTurnOverRedrawApplyStatesAndPersist()
    {
        MainWindowFixture f;
        f.store->WriteSetting(SoundSelectionKey, "siren.wav", "T");
        f.addSoundFile("siren.wav");
        TfrmMain& w = f.open();
        QVERIFY(!enabled(f, "ActActivateToggle"));
        // The switch's work begins by stopping every sound: the states are applied by then.
        bool statesAppliedFirst = false;
        f.playback->onStop = [&] { statesAppliedFirst = enabled(f, "ActActivateToggle"); };

        QTest::mouseClick(f.find<QToolButton>("btnMicDetect"), Qt::LeftButton);
        QVERIFY(f.logic->switches().isOn(Switch::ActMicDetectToggle));
        QCOMPARE(hint(w, "ActMicDetectToggle"), QStringLiteral("Disable Microphone Detection"));
        QCOMPARE(f.audio.activeRecordings(), 1);
        QVERIFY(statesAppliedFirst);
        QCOMPARE(f.store->ReadSetting(StateKey, "ActMicDetectToggle"), QStringLiteral("T"));
        const QColor on = glyphRing(f.find<QToolButton>("btnMicDetect"), QIcon::Normal);

        f.playback->onStop = nullptr;
        w.findChild<QAction*>("ActMicDetectToggle")->trigger();
        QCOMPARE(f.audio.activeRecordings(), 0);
        QCOMPARE(hint(w, "ActMicDetectToggle"), QStringLiteral("Use Microphone Detection"));
        QCOMPARE(f.store->ReadSetting(StateKey, "ActMicDetectToggle"), QString());
        QVERIFY(!enabled(f, "ActActivateToggle"));
        QVERIFY(glyphRing(f.find<QToolButton>("btnMicDetect"), QIcon::Normal) != on);

        w.findChild<QAction*>("ActMouDetectToggle")->trigger();
        QCOMPARE(f.pointer.starts, 1);
        QVERIFY(f.pointer.subscribed());
        QCOMPARE(hint(w, "ActMouDetectToggle"), QStringLiteral("Disable Mouse Detection"));
        QCOMPARE(f.store->ReadSetting(StateKey, "ActMouDetectToggle"), QStringLiteral("T"));

        w.findChild<QAction*>("ActSimToggle")->trigger();
        QCOMPARE(hint(w, "ActSimToggle"), QStringLiteral("Disable Alarm Simulation"));
        QVERIFY(f.logic->simulation().TimSimulation().isEnabled());
        QCOMPARE(f.store->ReadSetting(StateKey, "ActSimToggle"), QStringLiteral("T"));
    }

    void keyStateFollowsItsTable_data()
    {
        QTest::addColumn<bool>("armed");
        QTest::addColumn<bool>("detector");
        QTest::addColumn<bool>("soundSelected");
        QTest::addColumn<int>("items");
        QTest::addColumn<bool>("itemSelected");
        QTest::newRow("disarmed, everything there") << false << true << true << 3 << true;
        QTest::newRow("armed, everything there") << true << true << true << 3 << true;
        QTest::newRow("armed, no detector") << true << false << true << 3 << true;
        QTest::newRow("armed, no sound selected") << true << true << false << 3 << true;
        QTest::newRow("disarmed, no item selected") << false << true << true << 3 << false;
        QTest::newRow("disarmed, empty list") << false << true << false << 0 << false;
        QTest::newRow("armed, empty list") << true << true << false << 0 << false;
    }

    void keyStateFollowsItsTable()
    {
        QFETCH(bool, armed);
        QFETCH(bool, detector);
        QFETCH(bool, soundSelected);
        QFETCH(int, items);
        QFETCH(bool, itemSelected);
        MainWindowFixture f;
        if (armed)
            f.store->WriteSetting(StateKey, "Alarm Active", "T");
        if (detector)
            f.store->WriteSetting(StateKey, "ActMouDetectToggle", "T");
        for (int i = 0; i < items; ++i)
            f.addSoundFile(QStringLiteral("sound %1.wav").arg(i));
        if (soundSelected)
            f.store->WriteSetting(SoundSelectionKey, "sound 1.wav", "T");
        f.open();
        auto* list = f.find<QListWidget>("chklbSounds");
        QCOMPARE(list->count(), items);
        list->setCurrentRow(itemSelected ? 1 : -1);
        f.logic->KeyState();

        const bool listed = items > 0;
        const QList<std::pair<const char*, bool>> expected{
            {"ActMicDetectToggle", !armed}, {"ActMouDetectToggle", !armed},
            {"ActSimToggle", !armed}, {"ActViewReport", !armed},
            {"ActActivateToggle", detector && soundSelected}, {"chklbSounds", !armed},
            {"ActChkLbAlarmSndChecktAll", listed}, {"ActChkLbAlarmSndUnCheckAll", listed},
            {"ActChkLbAlarmSndCheckInverse", listed}, {"ActAddSound", !armed},
            {"ActRemoveSound", !armed && listed && itemSelected},
            {"btnFrontLeft", !armed && listed && itemSelected},
            {"btnFrontCenter", !armed && listed && itemSelected},
            {"btnFrontRight", !armed && listed && itemSelected}, {"btnTestStop", !armed},
            // Buttons follow their actions.
            {"btnMicDetect", !armed}, {"btnReport", !armed},
            {"btnActivate", detector && soundSelected}, {"btnAddSound", !armed},
            {"btnRemoveSound", !armed && listed && itemSelected}};
        for (const auto& [name, state] : expected)
            QVERIFY2(enabled(f, name) == state, name);
    }

    void aDisabledSwitchDoesNotRun()
    {
        MainWindowFixture f;
        f.store->WriteSetting(StateKey, "ActSimToggle", "T");
        TfrmMain& w = f.open(); // nothing selected: arming is not allowed
        w.findChild<QAction*>("ActActivateToggle")->trigger();
        QTest::mouseClick(f.find<QToolButton>("btnActivate"), Qt::LeftButton);
        QVERIFY(!f.logic->switches().isOn(Switch::ActActivateToggle));
        QVERIFY(f.logic->report().ReportLines().isEmpty());
    }

    void armingWithTheButtonAndDisarmingWithEscape()
    {
        MainWindowFixture f;
        f.store->WriteSetting(StateKey, "ActMouDetectToggle", "T");
        f.store->WriteSetting(SoundSelectionKey, "siren.wav", "T");
        f.addSoundFile("siren.wav");
        TfrmMain& w = f.open();
        activate(w);
        f.find<QProgressBar>("ggDuration")->setValue(40);
        QTest::mouseClick(f.find<QToolButton>("btnActivate"), Qt::LeftButton);
        QVERIFY(f.logic->switches().isOn(Switch::ActActivateToggle));
        QCOMPARE(hint(w, "ActActivateToggle"), QStringLiteral("Stop Alarm"));
        QVERIFY(!f.find<QToolButton>("btnReport")->isEnabled());
        QCOMPARE(messagesOf(f), QStringList{"Waiting 10 second(s) before Activation"});
        QVERIFY(f.autostart.present);

        // The logic flashes the window's own lamp.
        f.clock.advance(500);
        QCOMPARE(f.find<LedLamp>("shpLedActivationDelay")->colour(), Colours::LampDelayFlash);
        f.clock.advance(9500);
        QCOMPARE(messagesOf(f).last(), QStringLiteral("Alarm - Activated"));

        // Esc reaches the window whatever has the focus.
        auto* spin = f.find<QWidget>("spnTriggerDelay");
        spin->setFocus();
        QTest::keyRelease(spin, Qt::Key_Escape);
        QVERIFY(!f.logic->switches().isOn(Switch::ActActivateToggle));
        QCOMPARE(hint(w, "ActActivateToggle"), QStringLiteral("Activate Alarm"));
        QVERIFY(f.find<QToolButton>("btnReport")->isEnabled());
        QCOMPARE(messagesOf(f).last(), QStringLiteral("Alarm - Stoped"));
        QCOMPARE(f.find<QProgressBar>("ggDuration")->value(), 0);
        QCOMPARE(f.store->ReadSetting(StateKey, "Alarm Active"), QString());
        QVERIFY(!f.autostart.present);
    }

    void firstActivationResumesOnceAndInOrder()
    {
        MainWindowFixture f;
        makeFile(ReportsFolder + "Report.txt", "[01.01.26 10:00] Alarm - Activated\r\n");
        f.store->WriteSetting(StateKey, "Alarm Active", "T");
        f.store->WriteSetting(StateKey, "ActSimToggle", "T");
        f.store->WriteSetting(StateKey, "ActMicDetectToggle", "T");
        f.store->WriteSetting(StateKey, "ActMouDetectToggle", "T");
        f.store->WriteSetting(SoundSelectionKey, "siren.wav", "T");
        f.addSoundFile("siren.wav");
        f.store->WriteSetting(TuningKey, "frmMainspnActivationDelay", "2");
        TfrmMain& w = f.open();
        const auto micStarts = [&] { return f.audio.calls.count("startRecording 44100"); };
        bool detectorsBeforeTheRest = false;
        f.pointer.onStart = [&] {
            detectorsBeforeTheRest = micStarts() == 1 &&
                                     !f.logic->simulation().TimSimulation().isEnabled() &&
                                     f.logic->report().ReportLines().size() == 1;
        };

        activate(w);
        QCOMPARE(micStarts(), 1);
        QCOMPARE(f.pointer.starts, 1);
        QVERIFY(f.pointer.subscribed());
        QVERIFY(detectorsBeforeTheRest);
        QVERIFY(f.logic->simulation().TimSimulation().isEnabled());
        QCOMPARE(messagesOf(f),
                 (QStringList{"Alarm - Activated", "Waiting 2 second(s) before Activation"}));
        QVERIFY(!f.find<QToolButton>("btnReport")->isEnabled());
        QVERIFY(!f.autostart.present); // not written again

        // Another window takes the focus and gives it back: nothing starts again.
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QCOMPARE(micStarts(), 1);
        QCOMPARE(f.pointer.starts, 1);
        QCOMPARE(messagesOf(f).size(), 2);

        f.clock.advance(2000);
        QCOMPARE(messagesOf(f),
                 (QStringList{"Alarm - Activated", "Waiting 2 second(s) before Activation",
                              "Microphone Detection - Enabled", "Mouse Detection - Enabled",
                              "Simulation - Enabled", "Alarm - Activated"}));
    }

    void resumeWithNothingSelectedLeavesOnlyEscape()
    {
        MainWindowFixture f;
        f.store->WriteSetting(StateKey, "Alarm Active", "T");
        f.store->WriteSetting(StateKey, "ActSimToggle", "T");
        f.store->WriteSetting(TuningKey, "frmMainspnActivationDelay", "0");
        TfrmMain& w = f.open();
        activate(w);
        QVERIFY(f.logic->switches().isOn(Switch::ActActivateToggle));
        QVERIFY(!f.find<QToolButton>("btnActivate")->isEnabled());
        QCOMPARE(messagesOf(f).last(), QStringLiteral("Alarm - Activated"));
        releaseEscape(w);
        QCOMPARE(messagesOf(f).last(), QStringLiteral("Alarm - Stoped"));
        QCOMPARE(f.store->ReadSetting(StateKey, "Alarm Active"), QString());
    }

    void closingStopsEveryTimerInOrderAndWritesNothing()
    {
        MainWindowFixture f;
        f.store->WriteSetting(StateKey, "ActSimToggle", "T");
        f.store->WriteSetting(StateKey, "ActMouDetectToggle", "T");
        f.store->WriteSetting(SoundSelectionKey, "siren.wav", "T");
        f.addSoundFile("siren.wav");
        f.store->WriteSetting(TuningKey, "frmMainspnTriggerDelay", "5");
        f.store->WriteSetting(TuningKey, "frmMaintrkMicTriggerDuration", "0");
        TfrmMain& w = f.open();
        activate(w);
        w.findChild<QAction*>("ActActivateToggle")->trigger();
        f.clock.advance(299000);
        f.logic->controller().ActivateAlarm("Mouse detected"); // trigger delay and mute now count
        f.clock.advance(1000);                          // the simulation fires and lights its lamp
        f.pointer.send(PointerEvent::LeftPress);        // both detectors light theirs
        f.logic->microphone().CheckLevel(90);
        f.logic->taskQueue().AddTask(); // the player plays its first sound and polls on
        f.clock.advance(1);
        for (Timer* timer :
             {&f.logic->taskQueue().TimTask(), &f.logic->controller().TimTempMute(),
              &f.logic->controller().TimTriggerDelay(),
              &f.logic->controller().TimTriggerDelayFlash(), &f.logic->simulation().TimSimulation(),
              &f.logic->simulation().TimLedSim(), &f.logic->microphone().TimLedMic(),
              &f.logic->mouse().TimLedMou()})
            QVERIFY(timer->isEnabled());

        f.store->flush();
        QFile settings(f.store->filePath());
        QVERIFY(settings.open(QIODevice::ReadOnly));
        const QByteArray before = settings.readAll();
        settings.close();
        const QStringList report = f.logic->report().ReportLines();

        const qsizetype releasesBefore = f.audio.calls.count("freeOutput");
        bool firstStepsFirst = false;
        bool lastStepLast = false;
        f.pointer.onStop = [&] {
            firstStepsFirst = !f.logic->taskQueue().TimTask().isEnabled() &&
                              !f.logic->controller().TimTempMute().isEnabled() &&
                              f.logic->simulation().TimSimulation().isEnabled() &&
                              f.logic->microphone().TimLedMic().isEnabled() &&
                              f.logic->controller().TimTriggerDelay().isEnabled();
        };
        // The recording stops last, and with it every sound.
        f.playback->onStop = [&] {
            lastStepLast = !f.logic->simulation().TimSimulation().isEnabled() &&
                           !f.logic->microphone().TimLedMic().isEnabled() &&
                           !f.logic->mouse().TimLedMou().isEnabled() &&
                           !f.logic->simulation().TimLedSim().isEnabled() &&
                           !f.logic->controller().TimActivationDelayFlash().isEnabled() &&
                           !f.logic->controller().TimTriggerDelay().isEnabled() &&
                           !f.logic->controller().TimTriggerDelayFlash().isEnabled() &&
                           f.audio.calls.count("freeOutput") == releasesBefore;
        };
        const int stopsBefore = f.playback->stops;
        QVERIFY(w.close());
        QVERIFY(firstStepsFirst);
        QVERIFY(lastStepLast);
        QCOMPARE(f.playback->stops, stopsBefore + 1);
        // The devices are released at the very end: recording first, then output.
        QCOMPARE(f.audio.calls.mid(f.audio.calls.size() - 2), (QStringList{"freeRecording", "freeOutput"}));

        const QStringList calls = f.playback->calls;
        const int polls = f.playback->polls;
        f.logic->taskQueue().AddTask(); // the closed window's player never wakes again
        f.clock.advance(60 * 60000);
        QCOMPARE(f.playback->calls, calls);
        QCOMPARE(f.playback->polls, polls);
        f.store->flush();
        QVERIFY(settings.open(QIODevice::ReadOnly));
        QCOMPARE(settings.readAll(), before);
        QCOMPARE(f.logic->report().ReportLines(), report);
        QVERIFY(f.autostart.present);
        QVERIFY(f.logic->switches().isOn(Switch::ActActivateToggle));
    }

    void theReportButtonShowsANewReportWindow()
    {
        MainWindowFixture f;
        TfrmMain& w = f.open();
        activate(w);
        QStringList seen;
        for (int i = 0; i < 2; ++i) {
            QTimer::singleShot(0, [&] {
                QWidget* modal = QApplication::activeModalWidget();
                seen << (modal ? modal->objectName() : QString());
                if (modal)
                    modal->close();
            });
            QTest::mouseClick(f.find<QToolButton>("btnReport"), Qt::LeftButton);
        }
        QCOMPARE(seen, (QStringList{"frmReport", "frmReport"}));
        QVERIFY(f.messages.shown.isEmpty());
    }
};

QTEST_MAIN(MainWindowAlarmTest)
#include "test_main_window_alarm.moc"

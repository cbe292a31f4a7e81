#include "MainWindowFixture.h"
#include "app/Endpoints.h"
#include "app/LedLamp.h"
#include "app/gVars.h"
#include "core/Colours.h"
#include "report/ReportLog.h"
#include "settings/TunableSpinBox.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QApplication>
#include <QTimer>
#include <QToolButton>

using namespace gRegistry;

class MainWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void windowHasItsNameTitleAndFixedClientArea()
    {
        MainWindowFixture f;
        TfrmMain& w = f.open();
        QCOMPARE(w.objectName(), QStringLiteral("frmMain"));
        QCOMPARE(w.windowTitle(), QStringLiteral("Ostrel"));
        QCOMPARE(w.centralWidget()->size(), QSize(537, 594));
    }

    void panelsStandAtTheirPlacesInTheirColours_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<uint>("colour");
        QTest::newRow("header") << "pnlHeader" << QRect(0, 0, 537, 46) << 9199360u;
        QTest::newRow("system volume") << "pnlSystemVolume" << QRect(5, 53, 527, 58) << 12425853u;
        QTest::newRow("microphone") << "pnlMicrophone" << QRect(5, 118, 260, 89) << 14073773u;
        QTest::newRow("mouse") << "pnlMouse" << QRect(5, 214, 260, 41) << 12425853u;
        QTest::newRow("trigger delay") << "pnlTriggerDelay" << QRect(5, 262, 260, 41) << 12425853u;
        QTest::newRow("activation delay") << "pnlActivationDelay" << QRect(5, 310, 260, 41) << 12425853u;
        QTest::newRow("simulation") << "pnlSimulation" << QRect(5, 358, 260, 89) << 12425853u;
        QTest::newRow("speakers test") << "pnlSpeakersTest" << QRect(5, 454, 260, 108) << 12425853u;
        QTest::newRow("alarm volume") << "pnlAlarmVolume" << QRect(272, 118, 260, 41) << 14073773u;
        QTest::newRow("alteration") << "pnlAlteration" << QRect(272, 166, 260, 89) << 12425853u;
        QTest::newRow("duration") << "pnlDuration" << QRect(272, 262, 260, 89) << 12425853u;
        QTest::newRow("sounds title") << "pnlSoundsTitle" << QRect(272, 358, 260, 26) << 9199360u;
        QTest::newRow("footer") << "pnlFooter" << QRect(0, 569, 537, 25) << 9199360u;
    }

    void panelsStandAtTheirPlacesInTheirColours()
    {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        QFETCH(uint, colour);
        MainWindowFixture f;
        f.open();
        auto* panel = f.find<QFrame>(name);
        QVERIFY(panel);
        QCOMPARE(panel->geometry(), geometry);
        QCOMPARE(panel->palette().color(QPalette::Window), QColor(Colours::toArgb(colour)));
    }

    void everyNamedControlIsPresentWhereItBelongs()
    {
        MainWindowFixture f;
        f.open();
        const QList<std::pair<const char*, const char*>> controls{
            {"btnMicDetect", "pnlHeader"}, {"btnMouDetect", "pnlHeader"},
            {"btnSimulation", "pnlHeader"}, {"btnActivate", "pnlHeader"},
            {"btnReport", "pnlHeader"}, {"Image1", "pnlHeader"},
            {"lblSystemVolume", "pnlSystemVolume"}, {"btnSysVolumeControl", "pnlSystemVolume"},
            {"trkMicTriggerVolume", "pnlMicrophone"}, {"ggDetection", "pnlMicrophone"},
            {"trkMicTriggerDuration", "pnlMicrophone"}, {"ggDuration", "pnlMicrophone"},
            {"shpLedMicDetection", "pnlMicrophone"}, {"trkMouseSensivity", "pnlMouse"},
            {"shpLedMouDetection", "pnlMouse"}, {"spnTriggerDelay", "pnlTriggerDelay"},
            {"shpLedTriggerDelay", "pnlTriggerDelay"}, {"spnActivationDelay", "pnlActivationDelay"},
            {"shpLedActivationDelay", "pnlActivationDelay"}, {"spnSimulateEvery", "pnlSimulation"},
            {"spnSimulateRandom", "pnlSimulation"}, {"shpLedSimulation", "pnlSimulation"},
            {"btnFrontLeft", "pnlSpeakersTest"}, {"btnFrontCenter", "pnlSpeakersTest"},
            {"btnFrontRight", "pnlSpeakersTest"}, {"btnTestStop", "pnlSpeakersTest"},
            {"trkAlarmVolume", "pnlAlarmVolume"}, {"trkGlobalAlteration", "pnlAlteration"},
            {"trkRandomAlteration", "pnlAlteration"}, {"trkPersistence", "pnlDuration"},
            {"trkPersistenceRandom", "pnlDuration"}, {"btnAddSound", "pnlSoundsTitle"},
            {"btnRemoveSound", "pnlSoundsTitle"}, {"btnExit", "pnlFooter"},
            {"trkMicSensivity", "pnlMicSensivity"}};
        for (const auto& [control, panel] : controls) {
            auto* widget = f.find<QWidget>(control);
            QVERIFY2(widget, control);
            QCOMPARE(widget->parentWidget()->objectName(), QString::fromLatin1(panel));
            QVERIFY2(widget->geometry().right() < widget->parentWidget()->width() &&
                         widget->geometry().bottom() < widget->parentWidget()->height(),
                     control);
        }
        QCOMPARE(f.find<QListWidget>("chklbSounds")->geometry(), QRect(272, 383, 260, 180));
        QVERIFY(f.find<QComboBox>("cmbRecSource")->isHidden());
        QVERIFY(f.find<QFrame>("pnlMicSensivity")->isHidden());
        QCOMPARE(f.find<QPushButton>("btnExit")->text(), QStringLiteral("Exit"));
        QCOMPARE(f.find<QPushButton>("btnExit")->size(), QSize(59, 22));
        for (const char* header : {"btnMicDetect", "btnMouDetect", "btnSimulation", "btnActivate", "btnReport"})
            QCOMPARE(f.find<QToolButton>(header)->size(), QSize(42, 42));
        for (const char* lamp : {"shpLedMicDetection", "shpLedMouDetection", "shpLedTriggerDelay",
                                 "shpLedActivationDelay", "shpLedSimulation"}) {
            QCOMPARE(f.find<LedLamp>(lamp)->size(), QSize(11, 11));
            QCOMPARE(f.find<LedLamp>(lamp)->colour(), Colours::LampOff);
        }
        for (const char* gauge : {"ggDetection", "ggDuration"})
            QCOMPARE(f.find<QProgressBar>(gauge)->value(), 0);
    }

    void tunablesHoldTheirRangesAndDefaults()
    {
        MainWindowFixture f;
        f.open();
        for (const TunableDefinition& d : TunableDefinitions()) {
            if (d.isSlider) {
                auto* slider = f.find<QSlider>(d.name);
                QVERIFY2(slider, qPrintable(d.name));
                QCOMPARE(slider->minimum(), d.minimum);
                QCOMPARE(slider->maximum(), d.maximum);
                QCOMPARE(slider->value(), d.defaultValue);
                QCOMPARE(slider->pageStep(), d.pageStep);
                QCOMPARE(slider->tickInterval(), d.tickInterval);
            } else {
                auto* spin = f.find<TunableSpinBox>(d.name);
                QVERIFY2(spin, qPrintable(d.name));
                QCOMPARE(spin->minimum(), d.minimum);
                QCOMPARE(spin->maximum(), d.maximum);
                QCOMPARE(spin->value(), d.defaultValue);
            }
        }
        QCOMPARE(definitionOf(Tunable::trkGlobalAlteration).minimum, -100);
        QCOMPARE(definitionOf(Tunable::spnSimulateEvery).minimum, 5);
        QCOMPARE(definitionOf(Tunable::spnSimulateRandom).maximum, 1440);
    }

    void menusHoldTheirItemsInOrder()
    {
        MainWindowFixture f;
        TfrmMain& w = f.open();
        QStringList seen;
        for (QAction* menu : w.menuBar()->actions()) {
            seen << menu->text();
            for (QAction* item : menu->menu()->actions())
                seen << (item->isSeparator() ? QStringLiteral("-") : item->text());
        }
        QCOMPARE(seen, (QStringList{"Options", "Reset Settings to Default", "Keyboard Detection", "Protection...", "-", "Exit", "Help",
                                    "Program Help", "FAQ", "-", "Home Page", "Check for Update",
                                    "-", "About...", "More", "Get More Quillmere Products",
                                    "Register to the Newsletter",
                                    "Sell Quillmere Products and Earn Money",
                                    "Tell a Friend (Send e-mail)"}));
        QVERIFY(w.findChild<QAction*>("mnuResetSettingToDefault")->font().bold());
        QVERIFY(w.findChild<QAction*>("mniGetMoreProducts")->font().bold());
    }

    void helpAndMoreItemsAndTheHeaderPictureOpenTheirLinks()
    {
        MainWindowFixture f;
        TfrmMain& w = f.open();
        const QString page = Endpoints::ProductPage;
        const QList<std::pair<const char*, QString>> items{
            {"Programhelp1", page + "#help"},
            {"FAQ1", page + "#faq"},
            {"Homepage1", page},
            {"Checkforupdate1", page},
            {"mniGetMoreProducts", Endpoints::ProductListPage},
            {"mniRegisterToNewsletter", Endpoints::NewsletterPage},
            {"mniSellQuillmereProducts", Endpoints::AffiliatePage},
            {"mniTellaFriendSendEmail", "mailto:?subject=Ostrel...&Body=" + page},
        };
        for (const auto& [name, target] : items) {
            f.urls.opened.clear();
            w.findChild<QAction*>(name)->trigger();
            QCOMPARE(f.urls.opened, QStringList{target});
        }
        // "About..." shows the about window.
        bool aboutShown = false;
        QObject whileShowing;
        QTimer::singleShot(0, &whileShowing, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            aboutShown = modal && modal->inherits("TfrmAbout");
            if (modal)
                modal->close();
        });
        w.findChild<QAction*>("About2")->trigger();
        QVERIFY(aboutShown);

        f.urls.opened.clear();
        auto* picture = f.find<QLabel>("Image1");
        QCOMPARE(picture->cursor().shape(), Qt::PointingHandCursor);
        QTest::mouseClick(picture, Qt::RightButton);
        QVERIFY(f.urls.opened.isEmpty());
        QTest::mouseClick(picture, Qt::LeftButton);
        QCOMPARE(f.urls.opened, QStringList{page});
    }

    void creationReadsReportSwitchesAndSelection()
    {
        MainWindowFixture f;
        makeFile(ReportsFolder + "Report.txt",
                 "[01.01.26 10:00] Alarm - Activated\r\n[01.01.26 10:05] Mouse detected\r\n");
        f.store->WriteSetting(StateKey, "Alarm Active", "T");
        f.store->WriteSetting(StateKey, "ActSimToggle", "yes");
        f.store->WriteSetting(StateKey, "ActMouDetectToggle", "");
        f.store->WriteSetting(SoundSelectionKey, "siren one.wav", "T");
        f.addSoundFile("siren one.wav");
        f.open();
        QCOMPARE(f.logic->report().ReportLines().size(), 2);
        QVERIFY(f.logic->switches().isOn(Switch::ActActivateToggle));
        QVERIFY(f.logic->switches().isOn(Switch::ActSimToggle));
        QVERIFY(!f.logic->switches().isOn(Switch::ActMouDetectToggle));
        QVERIFY(!f.logic->switches().isOn(Switch::ActMicDetectToggle));
        QCOMPARE(f.logic->SelectedSounds(), QStringList{"siren one.wav"});
        QCOMPARE(f.find<QLabel>("lblSystemVolume")->text(),
                 QStringLiteral("If your system allows microphone boosting,\r\nyou can achieve better alarm sensitivity."));
        QVERIFY(f.find<QPushButton>("btnSysRecordingControl")->isHidden());
    }

    void theVolumePanelFitsTheSoundSettingsAndItsButtonsOpenThem()
    {
        MainWindowFixture f;
        TfrmMain& w = f.open();
        auto* volume = f.find<QPushButton>("btnSysVolumeControl");
        auto* recording = f.find<QPushButton>("btnSysRecordingControl");
        QCOMPARE(volume->y(), 18);
        f.programs.installed = {"pavucontrol"};
        QTest::mouseClick(volume, Qt::LeftButton);
        QCOMPARE(f.programs.started, (QList<ProgramCommand>{{"pavucontrol", {"--tab=3"}}}));

        w.setUpSystemVolumePanel(WinVersionClass::Older);
        QCOMPARE(f.find<QLabel>("lblSystemVolume")->text().split("\r\n").size(), 4);
        QVERIFY(f.find<QLabel>("lblSystemVolume")->text().contains("Set the microphone as  Recording device"));
        QCOMPARE(volume->y(), 6);
        QCOMPARE(recording->y(), 31);
        QVERIFY(!recording->isHidden());
        QTest::mouseClick(recording, Qt::LeftButton);
        QCOMPARE(f.programs.started.last(), (ProgramCommand{"pavucontrol", {"--tab=4"}}));
        // No tool at all: nothing starts, nothing is said.
        f.programs.installed.clear();
        f.programs.started.clear();
        QTest::mouseClick(volume, Qt::LeftButton);
        QVERIFY(f.programs.started.isEmpty());
        QVERIFY(f.messages.shown.isEmpty());
    }

    void restoreRequestBringsAMinimisedWindowBack()
    {
        MainWindowFixture f;
        TfrmMain& w = f.open();
        w.show();
        w.setWindowState(Qt::WindowMinimized);
        QVERIFY(w.isMinimized());
        w.restoreApp();
        QVERIFY(!w.isMinimized());
        QVERIFY(w.isVisible());
    }

    void escapeReachesTheWindowWhateverHasFocusAndExitCloses()
    {
        MainWindowFixture f;
        TfrmMain& w = f.open();
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QSignalSpy released(&w, &TfrmMain::keyReleased);
        for (const char* focus : {"spnTriggerDelay", "trkAlarmVolume", "chklbSounds"}) {
            auto* widget = f.find<QWidget>(focus);
            widget->setFocus();
            QTest::keyRelease(widget, Qt::Key_Escape);
        }
        QCOMPARE(released.count(), 3);
        QCOMPARE(released.at(0).at(0).toInt(), int(Qt::Key_Escape));

        QTest::mouseClick(f.find<QPushButton>("btnExit"), Qt::LeftButton);
        QVERIFY(!w.isVisible());
        w.show();
        w.findChild<QAction*>("Exit2")->trigger();
        QVERIFY(!w.isVisible());
    }
};

QTEST_MAIN(MainWindowTest)
#include "test_main_window.moc"

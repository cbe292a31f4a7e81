// The sound list on the real window: check commands and the stored selection, the start-up read,
// the user's toggles, clicks and keys, the hint, removal and the speaker test.
#include "MainWindowFixture.h"
#include "report/ReportLog.h"
#include "sounds/SoundLibrary.h"

#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>

using namespace gRegistry;

namespace {
/// Opens a window over the named sound files, with the given ones stored as selected.
TfrmMain& openWith(MainWindowFixture& f, const QStringList& files, const QStringList& selected = {})
{
    for (const QString& name : files)
        f.addSoundFile(name);
    for (const QString& name : selected)
        f.store->WriteSetting(SoundSelectionKey, name, "T");
    return f.open();
}
} // namespace

class SoundSelectionTest : public QObject
{
    Q_OBJECT
private slots:
    void checkCommandsRebuildAndStoreTheSelection()
    {
        MainWindowFixture f;
        f.store->WriteSetting(StateKey, "ActSimToggle", "T");
        openWith(f, {"e.wav", "d.wav", "c.mp3", "b.wav", "a.wav"}, {"b.wav", "d.wav"});
        auto* arm = f.find<QAction>("ActActivateToggle");
        QCOMPARE(f.logic->SelectedSounds(), (QStringList{"b.wav", "d.wav"}));

        f.find<QAction>("ActChkLbAlarmSndCheckInverse")->trigger();
        QCOMPARE(f.logic->SelectedSounds(), (QStringList{"a.wav", "c.mp3", "e.wav"}));
        QCOMPARE(storedSelection(*f.store), (QStringList{"a.wav", "c.mp3", "e.wav"}));
        QCOMPARE(f.find<QListWidget>("chklbSounds")->item(2)->checkState(), Qt::Checked);

        f.find<QAction>("ActChkLbAlarmSndUnCheckAll")->trigger();
        QVERIFY(f.logic->SelectedSounds().isEmpty());
        QVERIFY(storedSelection(*f.store).isEmpty());
        QVERIFY(!arm->isEnabled());

        f.find<QAction>("ActChkLbAlarmSndChecktAll")->trigger();
        QCOMPARE(f.logic->SelectedSounds(),
                 (QStringList{"a.wav", "b.wav", "c.mp3", "d.wav", "e.wav"}));
        QCOMPARE(storedSelection(*f.store), f.logic->SelectedSounds());
        QVERIFY(arm->isEnabled());
    }

    void startUpDropsNamesWithoutFilesAndTakesTheFilesLetterCase()
    {
        MainWindowFixture f;
        openWith(f, {"Siren.wav", "bell.wav"}, {"SIREN.WAV", "gone.mp3"});
        QCOMPARE(f.logic->SelectedSounds(), QStringList{"Siren.wav"});
        QCOMPARE(storedSelection(*f.store), QStringList{"Siren.wav"});
        auto* list = f.find<QListWidget>("chklbSounds");
        QCOMPARE(list->item(1)->text(), QStringLiteral("Siren.wav"));
        QCOMPARE(list->item(1)->checkState(), Qt::Checked);
        QCOMPARE(list->item(0)->checkState(), Qt::Unchecked);
        QCOMPARE(list->currentRow(), 0);
    }

    void everyToggleClickAndTypedCharacterRewritesTheSelection()
    {
        MainWindowFixture f;
        TfrmMain& w = openWith(f, {"a.wav", "b.wav", "c.wav"});
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto* list = f.find<QListWidget>("chklbSounds");
        list->setFocus();

        list->item(1)->setCheckState(Qt::Checked); // what a click in the check box does
        QCOMPARE(f.logic->SelectedSounds(), QStringList{"b.wav"});
        QTest::keyClick(list, Qt::Key_Space); // turns the selected item, a.wav, over
        QCOMPARE(f.logic->SelectedSounds(), (QStringList{"a.wav", "b.wav"}));
        QCOMPARE(storedSelection(*f.store), (QStringList{"a.wav", "b.wav"}));

        f.store->WriteSetting(SoundSelectionKey, "stale.wav", "T");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(2)).center());
        QCOMPARE(list->currentRow(), 2);
        QCOMPARE(storedSelection(*f.store), (QStringList{"a.wav", "b.wav"}));

        f.store->WriteSetting(SoundSelectionKey, "stale.wav", "T");
        QTest::keyClick(list, 'x');
        QCOMPARE(storedSelection(*f.store), (QStringList{"a.wav", "b.wav"}));
        QCOMPARE(f.logic->SelectedSounds(), (QStringList{"a.wav", "b.wav"}));
    }

    void popUpMenuHoldsItsItemsInOrderWithAddAsDefault()
    {
        MainWindowFixture f;
        f.open();
        auto* menu = f.find<QMenu>("popAlarmSounds");
        QStringList items;
        for (QAction* action : menu->actions())
            items << (action->isSeparator() ? QStringLiteral("-") : action->text());
        QCOMPARE(items, (QStringList{"Add Sound", "Remove Sound", "-", "Check All", "Check Inverse",
                                     "Uncheck All"}));
        QCOMPARE(menu->defaultAction(), f.find<QAction>("ActAddSound"));
        QCOMPARE(f.find<QAction>("ActChkLbAlarmSndChecktAll")->toolTip(), QStringLiteral("Check all"));
        QCOMPARE(f.find<QAction>("ActChkLbAlarmSndUnCheckAll")->toolTip(), QStringLiteral("Uncheck all"));
        QCOMPARE(f.find<QAction>("ActChkLbAlarmSndCheckInverse")->toolTip(),
                 QStringLiteral("Check inverse"));
    }

    void deleteAndInsertRunTheirActionsOnlyWhileDisarmed()
    {
        for (const bool armed : {false, true}) {
            MainWindowFixture f;
            if (armed)
                f.store->WriteSetting(StateKey, "Alarm Active", "T");
            TfrmMain& w = openWith(f, {"a.wav"});
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            auto* list = f.find<QListWidget>("chklbSounds");
            list->setFocus();
            f.messages.answers = {false};
            QTest::keyClick(list, Qt::Key_Delete);
            QTest::keyClick(list, Qt::Key_Insert);
            QCOMPARE(f.messages.shown.size(), armed ? 0 : 1);
            QCOMPARE(f.soundFiles.opened, armed ? 0 : 1);
            QVERIFY(QFile::exists(SoundsFolder + "a.wav"));
        }
    }

    void hintNamesTheItemUnderTheReleasedButtonAndEmptyBelowTheLast()
    {
        MainWindowFixture f;
        TfrmMain& w = openWith(f, {"first.wav", "second.mp3"});
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto* list = f.find<QListWidget>("chklbSounds");
        QTest::mouseClick(list->viewport(), Qt::RightButton, {},
                          list->visualItemRect(list->item(1)).center());
        QCOMPARE(list->toolTip(), QStringLiteral("second.mp3"));
        const QRect last = list->visualItemRect(list->item(1));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(last.center().x(), last.bottom() + 20));
        QCOMPARE(list->toolTip(), QString());
    }

    void removalSelectsTheNeighbourAndForgetsTheSound()
    {
        MainWindowFixture f;
        openWith(f, {"a.wav", "b.wav", "c.wav", "d.wav"}, {"a.wav", "b.wav", "c.wav", "d.wav"});
        auto* list = f.find<QListWidget>("chklbSounds");
        auto* remove = f.find<QAction>("ActRemoveSound");
        f.playback->PlayHow(0, PanCentre, SoundsFolder + "a.wav");

        f.messages.answers = {false};
        remove->trigger();
        QCOMPARE(f.messages.shown, QStringList{"Are you sure you want to remove the a.wav Sound?"});
        QVERIFY(!f.playback->IsPlaying());
        QVERIFY(!f.audio.outputPaused);
        QCOMPARE(list->count(), 4);

        remove->trigger(); // the first: the new first comes up selected
        QVERIFY(!QFile::exists(SoundsFolder + "a.wav"));
        QCOMPARE(list->currentItem()->text(), QStringLiteral("b.wav"));
        QCOMPARE(storedSelection(*f.store), (QStringList{"b.wav", "c.wav", "d.wav"}));

        list->setCurrentRow(2); // d.wav: the one before it comes up selected
        remove->trigger();
        QCOMPARE(list->currentItem()->text(), QStringLiteral("c.wav"));
        QCOMPARE(f.logic->SelectedSounds(), (QStringList{"b.wav", "c.wav"}));
        QCOMPARE(f.playback->stops, 3);
        QVERIFY(!f.audio.outputPaused);
        QCOMPARE(f.audio.calls.count("pauseOutput"), 3);
        QCOMPARE(f.audio.calls.count("resumeOutput"), 3);
    }

    void speakerTestPlaysTheSelectedSoundInTheButtonsDirection()
    {
        MainWindowFixture f;
        openWith(f, {"a.wav", "b.wav"});
        f.find<QListWidget>("chklbSounds")->setCurrentRow(1);
        const QString b = SoundsFolder + "b.wav";
        for (const auto& [button, pan] : {std::pair{"btnFrontLeft", 2}, std::pair{"btnFrontCenter", 1},
                                          std::pair{"btnFrontRight", 0}})
            QTest::mouseClick(f.find<QPushButton>(button), Qt::LeftButton);
        QCOMPARE(f.playback->calls, (QStringList{"0 2 " + b, "0 1 " + b, "0 0 " + b}));
        QCOMPARE(f.playback->stops, 3);
        QVERIFY(f.playback->IsPlaying());
        QTest::mouseClick(f.find<QPushButton>("btnTestStop"), Qt::LeftButton);
        QVERIFY(!f.playback->IsPlaying());
        QVERIFY(f.logic->report().ReportLines().isEmpty());
        QCOMPARE(f.find<QPushButton>("btnFrontLeft")->toolTip(), QStringLiteral("Left Speaker"));
        QCOMPARE(f.find<QPushButton>("btnFrontCenter")->toolTip(), QStringLiteral("Center/Both Speakers"));
        QCOMPARE(f.find<QPushButton>("btnFrontRight")->toolTip(), QStringLiteral("Right Speaker"));
    }

    void emptyListDisablesTheSpeakerTestAndLeavesARunningSoundAlone()
    {
        MainWindowFixture f;
        openWith(f, {"elsewhere.txt"});
        QVERIFY(!f.find<QPushButton>("btnFrontLeft")->isEnabled());
        QVERIFY(!f.find<QAction>("ActRemoveSound")->isEnabled());
        QVERIFY(f.find<QAction>("ActAddSound")->isEnabled());
        f.playback->PlayHow(0, PanCentre, SoundsFolder + "elsewhere.txt");
        f.logic->soundLibrary().testPlay(PanLeft);
        QVERIFY(f.playback->IsPlaying());
        QCOMPARE(f.playback->calls.size(), 1);
    }
};

QTEST_MAIN(SoundSelectionTest)
#include "test_sound_selection.moc"

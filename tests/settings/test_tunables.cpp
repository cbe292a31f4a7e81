#include "MainWindowFixture.h"
#include "settings/TunableSettings.h"
#include "settings/TunableSpinBox.h"

#include <QSlider>
#include <QTest>

using namespace gRegistry;

namespace {
QString stored(SettingsStore& store, Tunable id)
{
    return store.ReadSetting(TuningKey, TunableSettings::valueName(id));
}
} // namespace

class TunablesTest : public QObject
{
    Q_OBJECT
private slots:
    void storedValuesAreClampedAppliedAndStoredBack()
    {
        MainWindowFixture f;
        f.store->WriteSetting(TuningKey, "frmMaintrkAlarmVolume", "150");
        f.store->WriteSetting(TuningKey, "frmMaintrkPersistence", "-5");
        f.store->WriteSetting(TuningKey, "frmMainspnActivationDelay", "999");
        f.store->WriteSetting(TuningKey, "frmMainspnTriggerDelay", "7");
        TfrmMain& w = f.open();
        QCOMPARE(w.value(Tunable::trkAlarmVolume), 100);
        QCOMPARE(w.value(Tunable::trkPersistence), 0);
        QCOMPARE(w.value(Tunable::spnActivationDelay), 180);
        QCOMPARE(w.value(Tunable::spnTriggerDelay), 7);
        QCOMPARE(stored(*f.store, Tunable::trkAlarmVolume), QStringLiteral("100"));
        QCOMPARE(stored(*f.store, Tunable::trkPersistence), QStringLiteral("0"));
        QCOMPARE(stored(*f.store, Tunable::spnActivationDelay), QStringLiteral("180"));
        // A value equal to the default is not written back, so nothing new appears.
        QCOMPARE(stored(*f.store, Tunable::trkMouseSensivity), QString());
    }

    void storedTextThatIsNoNumberIsIgnored()
    {
        MainWindowFixture f;
        f.store->WriteSetting(TuningKey, "frmMaintrkAlarmVolume", "loud");
        f.store->WriteSetting(TuningKey, "frmMainspnSimulateEvery", "12.5");
        TfrmMain& w = f.open();
        QCOMPARE(w.value(Tunable::trkAlarmVolume), 50);
        QCOMPARE(w.value(Tunable::spnSimulateEvery), 5);
        QCOMPARE(stored(*f.store, Tunable::trkAlarmVolume), QStringLiteral("loud"));
    }

    void negativeBaseAlterationIsStoredWithAMinusAndShownAsHint()
    {
        MainWindowFixture f;
        TfrmMain& w = f.open();
        auto* slider = f.find<QSlider>("trkGlobalAlteration");
        QCOMPARE(slider->toolTip(), QString());
        QTest::keyClick(slider, Qt::Key_PageDown);
        QCOMPARE(w.value(Tunable::trkGlobalAlteration), -2);
        QCOMPARE(stored(*f.store, Tunable::trkGlobalAlteration), QStringLiteral("-2"));
        QCOMPARE(slider->toolTip(), QStringLiteral("-2"));
        f.restart();
        QCOMPARE(f.open().value(Tunable::trkGlobalAlteration), -2);
    }

    void typingStoresEveryNumberAndLeavingTheBoxClamps()
    {
        MainWindowFixture f;
        TfrmMain& w = f.open();
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        auto* spin = f.find<TunableSpinBox>("spnActivationDelay");
        spin->setFocus();
        spin->selectAll();
        QTest::keyClicks(spin, "9x9");
        QCOMPARE(spin->text(), QStringLiteral("99"));
        QCOMPARE(stored(*f.store, Tunable::spnActivationDelay), QStringLiteral("99"));
        QTest::keyClicks(spin, "9");
        QCOMPARE(w.value(Tunable::spnActivationDelay), 999);
        QCOMPARE(stored(*f.store, Tunable::spnActivationDelay), QStringLiteral("999"));
        f.find<QSlider>("trkAlarmVolume")->setFocus();
        QCOMPARE(spin->text(), QStringLiteral("180"));
        QCOMPARE(stored(*f.store, Tunable::spnActivationDelay), QStringLiteral("180"));
    }

    void emptiedBoxStoresItsMinimum()
    {
        MainWindowFixture f;
        TfrmMain& w = f.open();
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        auto* spin = f.find<TunableSpinBox>("spnSimulateEvery");
        spin->setValue(30);
        spin->setFocus();
        spin->selectAll();
        QTest::keyClick(spin, Qt::Key_Delete);
        QCOMPARE(spin->text(), QString());
        QCOMPARE(stored(*f.store, Tunable::spnSimulateEvery), QStringLiteral("5"));
        QCOMPARE(w.value(Tunable::spnSimulateEvery), 5);
    }

    void resetWritesOnlyWhatChangesAndLeavesTheRestAlone()
    {
        MainWindowFixture f;
        f.store->WriteSetting(StateKey, "ActSimToggle", "T");
        f.store->WriteSetting(SoundSelectionKey, "a.wav", "T");
        f.addSoundFile("a.wav");
        TfrmMain& w = f.open();
        w.setValue(Tunable::trkAlarmVolume, 80);
        w.setValue(Tunable::spnSimulateRandom, 9);
        w.setValue(Tunable::trkMicSensivity, 40);
        w.findChild<QAction*>("mnuResetSettingToDefault")->trigger();
        QStringList names;
        f.store->ReadSettingNames(TuningKey, names);
        names.sort();
        QCOMPARE(names, (QStringList{"frmMainspnSimulateRandom", "frmMaintrkAlarmVolume"}));
        QCOMPARE(w.value(Tunable::trkAlarmVolume), 50);
        QCOMPARE(w.value(Tunable::spnSimulateRandom), 0);
        QCOMPARE(w.value(Tunable::trkMicSensivity), 40);
        QCOMPARE(f.store->ReadSetting(StateKey, "ActSimToggle"), QStringLiteral("T"));
        QCOMPARE(f.store->ReadSetting(SoundSelectionKey, "a.wav"), QStringLiteral("T"));

        // A second reset changes nothing, so nothing is stored at all.
        w.findChild<QAction*>("mnuResetSettingToDefault")->trigger();
        f.store->ReadSettingNames(TuningKey, names);
        QVERIFY(names.isEmpty());
        f.restart();
        TfrmMain& again = f.open();
        for (const TunableDefinition& d : TunableDefinitions())
            if (d.id != Tunable::trkMicSensivity)
                QCOMPARE(again.value(d.id), d.defaultValue);
    }

    void spinButtonsStepWithinTheRange()
    {
        MainWindowFixture f;
        f.open();
        auto* spin = f.find<TunableSpinBox>("spnTriggerDelay");
        spin->stepBy(-1);
        QCOMPARE(spin->value(), 0);
        spin->setValue(179);
        spin->stepBy(5);
        QCOMPARE(spin->value(), 180);
        QCOMPARE(stored(*f.store, Tunable::spnTriggerDelay), QStringLiteral("180"));
    }
};

QTEST_MAIN(TunablesTest)
#include "test_tunables.moc"

// The protection dialog and the PIN prompt as widgets, on Qt's offscreen platform.
#include "MainWindowFixture.h"
#include "alarm/AlarmController.h"
#include "app/fmPinPrompt.h"
#include "guard/Pin.h"

#include <QAction>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

using namespace gRegistry;

namespace {
const QString ThePin = QStringLiteral("2468");

/// Runs the step on the modal window that shows next, from inside its event loop.
void onNextModal(QObject* context, std::function<void(QWidget*)> step)
{
    QTimer::singleShot(0, context, [step = std::move(step)] {
        QWidget* modal = QApplication::activeModalWidget();
        QVERIFY(modal);
        step(modal);
    });
}

void fill(QWidget* dialog, const char* field, const QString& text)
{
    dialog->findChild<QLineEdit*>(field)->setText(text);
}

void press(QWidget* dialog, QDialogButtonBox::StandardButton which)
{
    dialog->findChild<QDialogButtonBox*>()->button(which)->click();
}

QString storedPinHash(MainWindowFixture& f)
{
    return f.store->ReadSetting(GuardKey, "PinHash");
}
} // namespace

class ProtectionWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void theDialogSetsAPinAndKeepsItWhenTheCurrentOneIsWrong()
    {
        MainWindowFixture f;
        f.open();
        QVERIFY(f.created);
        QAction* menu = f.find<QAction>("mnuProtection");
        QVERIFY(menu->isEnabled());
        QObject context;

        onNextModal(&context, [](QWidget* dialog) {
            QVERIFY(!dialog->findChild<QLineEdit*>("edtCurrentPin")->isEnabled());
            fill(dialog, "edtNewPin", ThePin);
            fill(dialog, "edtRepeatedPin", ThePin);
            press(dialog, QDialogButtonBox::Ok);
        });
        menu->trigger();
        QCOMPARE(Pin::verify(storedPinHash(f).toUtf8(), ThePin), Pin::Check::Right);
        const QString hash = storedPinHash(f);

        QString said;
        onNextModal(&context, [&said](QWidget* dialog) {
            fill(dialog, "edtCurrentPin", "1357");
            dialog->findChild<QCheckBox*>("chkRemovePin")->setChecked(true);
            press(dialog, QDialogButtonBox::Ok);
            // Refused: the dialog stays and says why.
            said = dialog->findChild<QLabel*>("lblStatus")->text();
            QVERIFY(dialog->isVisible());
            press(dialog, QDialogButtonBox::Cancel);
        });
        menu->trigger();
        QCOMPARE(said, QStringLiteral("The current PIN is wrong."));
        QCOMPARE(storedPinHash(f), hash);
    }

    void theSpeakerOptionIsStoredWithItsVolume()
    {
        MainWindowFixture f;
        f.open();
        QVERIFY(f.created);
        QObject context;
        onNextModal(&context, [](QWidget* dialog) {
            auto* keep = dialog->findChild<QCheckBox*>("chkKeepSpeakersOn");
            auto* volume = dialog->findChild<QSpinBox*>("spnSpeakerVolume");
            QVERIFY(!keep->isChecked());
            QVERIFY(!volume->isEnabled());
            QCOMPARE(volume->value(), 100);
            keep->setChecked(true);
            QVERIFY(volume->isEnabled());
            volume->setValue(999); // held to its range
            press(dialog, QDialogButtonBox::Ok);
        });
        f.find<QAction>("mnuProtection")->trigger();
        QCOMPARE(f.store->ReadSetting(GuardKey, "KeepSpeakersOn"), QStringLiteral("T"));
        QCOMPARE(f.store->ReadSetting(GuardKey, "SpeakerVolume"), QStringLiteral("150"));
        QVERIFY(storedPinHash(f).isEmpty());

        onNextModal(&context, [](QWidget* dialog) {
            QCOMPARE(dialog->findChild<QSpinBox*>("spnSpeakerVolume")->value(), 150);
            dialog->findChild<QCheckBox*>("chkKeepSpeakersOn")->setChecked(false);
            press(dialog, QDialogButtonBox::Ok);
        });
        f.find<QAction>("mnuProtection")->trigger();
        QVERIFY(f.store->ReadSetting(GuardKey, "KeepSpeakersOn").isEmpty());
    }

    void armedWithAPinTheWindowStaysUntilThePromptHasTheRightPin()
    {
        MainWindowFixture f;
        f.store->WriteSetting(GuardKey, "PinHash", QString::fromUtf8(Pin::hash(ThePin)));
        f.store->WriteSetting(StateKey, "Alarm Active", "T");
        f.store->WriteSetting(StateKey, "ActSimToggle", "T");
        f.store->WriteSetting(SoundSelectionKey, "siren.wav", "T");
        f.store->WriteSetting(TuningKey, "frmMainspnActivationDelay", "0");
        MainWindowFixture::addSoundFile("siren.wav");
        TfrmMain& w = f.open();
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QVERIFY(f.logic->controller().armed());
        QVERIFY(!f.find<QAction>("mnuProtection")->isEnabled());

        QVERIFY(!w.close());
        auto* prompt = w.findChild<TfrmPinPrompt*>();
        QVERIFY(prompt);
        QTRY_VERIFY(prompt->isVisible());
        prompt->findChild<QLineEdit*>("edtPin")->setText("1357");
        press(prompt, QDialogButtonBox::Ok);
        QVERIFY(w.isVisible());
        QCOMPARE(f.logic->controller().pinGate().wrongInARow(), 1);
        QVERIFY(prompt->findChild<QLineEdit*>("edtPin")->text().isEmpty());

        prompt->findChild<QLineEdit*>("edtPin")->setText(ThePin);
        press(prompt, QDialogButtonBox::Ok);
        QTRY_VERIFY(!w.isVisible());
        QCOMPARE(f.store->ReadSetting(StateKey, "Alarm Active"), QStringLiteral("T"));
    }
};

QTEST_MAIN(ProtectionWindowTest)
#include "test_protection_window.moc"

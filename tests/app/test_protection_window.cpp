// The protection dialog and the PIN prompt as widgets, on Qt's offscreen platform.
#include "MainWindowFixture.h"
#include "alarm/AlarmController.h"
#include "alert/RemoteAlerts.h"
#include "app/fmPinPrompt.h"
#include "guard/Pin.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
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

    void theAlertOptionsAreStoredOnlyWithAnAddressThatMayTakeThem()
    {
        MainWindowFixture f;
        f.open();
        QVERIFY(f.created);
        QVERIFY(f.alertTransports.empty()); // off until an address is set: nothing is built
        QObject context;
        QString refused;
        QString tested;
        onNextModal(&context, [&](QWidget* dialog) {
            fill(dialog, "edtAlertUrl", "http://alerts.example.org/t");
            press(dialog, QDialogButtonBox::Ok);
            refused = dialog->findChild<QLabel*>("lblStatus")->text();

            fill(dialog, "edtAlertUrl", "https://alerts.example.org/t");
            fill(dialog, "edtAlertToken", "s3cret");
            dialog->findChild<QComboBox*>("cmbAlertFormat")->setCurrentIndex(1);
            dialog->findChild<QCheckBox*>("chkAlertArming")->setChecked(false);
            dialog->findChild<QSpinBox*>("spnHeartbeat")->setValue(15);
            dialog->findChild<QCheckBox*>("chkAlertSendHost")->setChecked(true);
            // The test goes out at once and says how it went.
            dialog->findChild<QPushButton*>("btnSendTest")->click();
            QVERIFY(!f.alertTransports.empty());
            QVERIFY(f.alertTransports.back()->answer(AlertOutcome{false, 404, {}}));
            tested = dialog->findChild<QLabel*>("lblTestOutcome")->text();
            press(dialog, QDialogButtonBox::Ok);
        });
        f.find<QAction>("mnuProtection")->trigger();
        QCOMPARE(refused, ProtectionVerdictText(ProtectionVerdict::AlertAddress));
        QCOMPARE(tested, QStringLiteral("Test: HTTP status 404"));
        QCOMPARE(f.store->ReadSetting(GuardKey, "AlertUrl"), QStringLiteral("https://alerts.example.org/t"));
        QCOMPARE(f.store->ReadSetting(GuardKey, "AlertToken"), QStringLiteral("s3cret"));
        QCOMPARE(f.store->ReadSetting(GuardKey, "AlertFormat"), QStringLiteral("json"));
        QCOMPARE(f.store->ReadSetting(GuardKey, "AlertEvents"), QStringLiteral("trigger,pin,tamper"));
        QCOMPARE(f.store->ReadSetting(GuardKey, "HeartbeatMinutes"), QStringLiteral("15"));
        QCOMPARE(f.store->ReadSetting(GuardKey, "AlertSendHost"), QStringLiteral("T"));
        // Saved, the alerts start at once: the test's transport and the sender's.
        QCOMPARE(f.alertTransports.size(), std::size_t(2));
        // A save that leaves them as they are keeps the sender and what it is sending.
        onNextModal(&context, [](QWidget* dialog) { press(dialog, QDialogButtonBox::Ok); });
        f.find<QAction>("mnuProtection")->trigger();
        QCOMPARE(f.alertTransports.size(), std::size_t(2));

        // Turned off, the undelivered events go with them.
        QVERIFY(QDir().mkpath(DataFolder));
        QFile outbox(DataFolder + AlertOutboxFileName);
        QVERIFY(outbox.open(QIODevice::Append));
        outbox.close();
        onNextModal(&context, [](QWidget* dialog) {
            QCOMPARE(dialog->findChild<QLineEdit*>("edtAlertUrl")->text(), QStringLiteral("https://alerts.example.org/t"));
            QVERIFY(!dialog->findChild<QCheckBox*>("chkAlertArming")->isChecked());
            fill(dialog, "edtAlertUrl", "");
            press(dialog, QDialogButtonBox::Ok);
        });
        f.find<QAction>("mnuProtection")->trigger();
        QVERIFY(f.store->ReadSetting(GuardKey, "AlertUrl").isEmpty());
        QVERIFY(!outbox.exists());
        // Alerts are off; the token stays for when an address is set again.
        QCOMPARE(f.store->ReadSetting(GuardKey, "AlertToken"), QStringLiteral("s3cret"));
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

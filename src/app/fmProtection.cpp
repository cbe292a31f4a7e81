#include "fmProtection.h"

#include "AlertOptionsBox.h"
#include "MainLogic.h"
#include "core/Product.h"
#include "guard/Pin.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

int TfrmProtection::ShowProtection(MainLogic& logic, QWidget* parent)
{
    TfrmProtection dialog(logic, parent);
    return dialog.exec();
}

TfrmProtection::TfrmProtection(MainLogic& logic, QWidget* parent)
    : QDialog(parent), m_logic(logic), m_settings(logic.protection()),
      m_currentPin(pinField("edtCurrentPin")), m_newPin(pinField("edtNewPin")),
      m_repeatedPin(pinField("edtRepeatedPin")),
      m_removePin(new QCheckBox(QStringLiteral("Remove the PIN"), this)),
      m_keepSpeakersOn(new QCheckBox(QStringLiteral("Keep the speakers on while the alarm sounds"), this)),
      m_speakerVolume(new QSpinBox(this)),
      m_alerts(new AlertOptionsBox(m_settings.alerts, logic, this)), m_status(new QLabel(this))
{
    setWindowTitle(Product::Name + QStringLiteral(" - Protection"));
    const bool pinSet = !m_settings.pinHash.isEmpty();
    m_currentPin->setEnabled(pinSet);
    m_removePin->setEnabled(pinSet);
    m_removePin->setObjectName(QStringLiteral("chkRemovePin"));
    m_status->setObjectName(QStringLiteral("lblStatus"));
    m_keepSpeakersOn->setObjectName(QStringLiteral("chkKeepSpeakersOn"));
    m_keepSpeakersOn->setChecked(m_settings.keepSpeakersOn);
    m_speakerVolume->setObjectName(QStringLiteral("spnSpeakerVolume"));
    m_speakerVolume->setRange(GuardSettings::MinSpeakerVolume, GuardSettings::MaxSpeakerVolume);
    m_speakerVolume->setSuffix(QStringLiteral(" %"));
    m_speakerVolume->setValue(m_settings.speakerVolume);
    m_speakerVolume->setEnabled(m_settings.keepSpeakersOn);
    connect(m_keepSpeakersOn, &QCheckBox::toggled, m_speakerVolume, &QWidget::setEnabled);

    auto* form = new QFormLayout(this);
    form->addRow(new QLabel(pinSet ? QStringLiteral("A PIN is needed to disarm and to close while armed.")
                                   : QStringLiteral("No PIN: Esc disarms."),
                            this));
    form->addRow(QStringLiteral("Current PIN:"), m_currentPin);
    form->addRow(QStringLiteral("New PIN (%1 to %2 characters):").arg(Pin::MinLength).arg(Pin::MaxLength),
                 m_newPin);
    form->addRow(QStringLiteral("Repeat the new PIN:"), m_repeatedPin);
    form->addRow(m_removePin);
    form->addRow(m_keepSpeakersOn);
    form->addRow(QStringLiteral("Speaker volume while it sounds:"), m_speakerVolume);
    form->addRow(m_alerts);
    form->addRow(m_status);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &TfrmProtection::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

QLineEdit* TfrmProtection::pinField(const char* name)
{
    auto* field = new QLineEdit(this);
    field->setObjectName(QString::fromLatin1(name));
    field->setEchoMode(QLineEdit::Password);
    field->setMaxLength(Pin::MaxLength);
    return field;
}

void TfrmProtection::accept()
{
    const ProtectionVerdict verdict = m_logic.changeProtection(ProtectionChange{
        .currentPin = m_currentPin->text(),
        .newPin = m_newPin->text(),
        .repeatedPin = m_repeatedPin->text(),
        .removePin = m_removePin->isChecked(),
        .keepSpeakersOn = m_keepSpeakersOn->isChecked(),
        .speakerVolume = m_speakerVolume->value(),
        .alerts = m_alerts->settings(),
    });
    if (verdict != ProtectionVerdict::Saved) {
        m_status->setText(ProtectionVerdictText(verdict));
        return;
    }
    QDialog::accept();
}

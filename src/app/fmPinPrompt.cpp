#include "fmPinPrompt.h"

#include "core/Product.h"
#include "guard/Pin.h"
#include "report/WindowBars.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TfrmPinPrompt::TfrmPinPrompt(QWidget* parent)
    : QDialog(parent), m_pin(new QLineEdit(this)), m_status(new QLabel(this)),
      m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::WindowModal);
    setWindowTitle(Product::Name + QStringLiteral(" - PIN"));
    m_pin->setObjectName(QStringLiteral("edtPin"));
    m_pin->setEchoMode(QLineEdit::Password);
    m_pin->setMaxLength(Pin::MaxLength);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Enter the PIN to disarm:"), this));
    layout->addWidget(m_pin);
    layout->addWidget(m_status);
    layout->addWidget(m_buttons);
    connect(m_buttons, &QDialogButtonBox::accepted, this, [this] { emit pinEntered(m_pin->text()); });
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    qApp->installEventFilter(this);
}

void TfrmPinPrompt::showWrongPin()
{
    m_pin->clear();
    m_status->setText(QStringLiteral("Wrong PIN."));
}

void TfrmPinPrompt::showWait(int seconds)
{
    const bool accepting = seconds == 0;
    m_pin->setEnabled(accepting);
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(accepting);
    m_status->setText(accepting ? QString() : QStringLiteral("Wrong PIN. Wait %1 s.").arg(seconds));
    if (accepting)
        m_pin->setFocus();
}

bool TfrmPinPrompt::eventFilter(QObject* watched, QEvent* event)
{
    // Esc cancels when it is released, like every Esc of the program.
    switch (EscapeKeyIn(this, watched, event)) {
    case EscapeKey::Pressed: return true;
    case EscapeKey::Released: reject(); return true;
    case EscapeKey::Other: break;
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmPinPrompt::done(int result)
{
    // Only the gate closes the prompt after a right PIN; every other way out is a Cancel.
    if (result == QDialog::Rejected)
        emit cancelled();
    QDialog::done(result);
}

#include "TunableSpinBox.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpression>

namespace {
bool isNumberText(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^[+-]?[0-9]*$"));
    return pattern.match(text).hasMatch();
}
} // namespace

TunableSpinBox::TunableSpinBox(int minimum, int maximum, int value, QWidget* parent)
    : QAbstractSpinBox(parent), m_minimum(minimum), m_maximum(maximum), m_lastValue(value)
{
    lineEdit()->setAlignment(Qt::AlignCenter);
    // Ten digits and a sign still fit an int; longer text could not be a value at all.
    lineEdit()->setMaxLength(10);
    lineEdit()->setText(QString::number(value));
    connect(lineEdit(), &QLineEdit::textChanged, this, &TunableSpinBox::onTextChanged);
}

int TunableSpinBox::value() const
{
    bool ok = false;
    const int number = text().toInt(&ok);
    return ok ? number : m_minimum;
}

void TunableSpinBox::setValue(int value)
{
    const int bounded = std::clamp(value, m_minimum, m_maximum);
    if (bounded != this->value() || text() != QString::number(bounded))
        lineEdit()->setText(QString::number(bounded));
}

QValidator::State TunableSpinBox::validate(QString& input, int&) const
{
    return isNumberText(input) ? QValidator::Acceptable : QValidator::Invalid;
}

void TunableSpinBox::stepBy(int steps)
{
    setValue(std::clamp(value(), m_minimum, m_maximum) + steps);
}

QAbstractSpinBox::StepEnabled TunableSpinBox::stepEnabled() const
{
    StepEnabled enabled = StepNone;
    if (value() < m_maximum)
        enabled |= StepUpEnabled;
    if (value() > m_minimum)
        enabled |= StepDownEnabled;
    return enabled;
}

void TunableSpinBox::focusOutEvent(QFocusEvent* event)
{
    setValue(value());
    QAbstractSpinBox::focusOutEvent(event);
}

void TunableSpinBox::keyPressEvent(QKeyEvent* event)
{
    const QString typed = event->text();
    const bool printable = !typed.isEmpty() && typed.at(0).isPrint();
    if (printable && !isNumberText(typed)) {
        QApplication::beep();
        event->accept();
        return;
    }
    QAbstractSpinBox::keyPressEvent(event);
}

void TunableSpinBox::onTextChanged()
{
    const int current = value();
    if (current == m_lastValue)
        return;
    m_lastValue = current;
    emit valueChanged(current);
}

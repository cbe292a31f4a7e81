#pragma once

#include <QAbstractSpinBox>

/// A whole-number box that takes digits and a sign only. While it has the focus its value is
/// whatever number it shows, in range or not; text that is no number counts as the minimum.
/// Leaving the box brings the number into range. valueChanged fires once per real change.
class TunableSpinBox : public QAbstractSpinBox
{
    Q_OBJECT
public:
    TunableSpinBox(int minimum, int maximum, int value, QWidget* parent = nullptr);

    int value() const;
    void setValue(int value);
    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }

    QValidator::State validate(QString& input, int& pos) const override;
    void stepBy(int steps) override;

signals:
    void valueChanged(int value);

protected:
    StepEnabled stepEnabled() const override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void onTextChanged();

    int m_minimum;
    int m_maximum;
    int m_lastValue;
};

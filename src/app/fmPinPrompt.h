#pragma once

#include <QDialog>

class QDialogButtonBox;
class QLabel;
class QLineEdit;

/// Asks for the disarm PIN while the alarm goes on: modal to the main window but not blocking
/// it, so every timer and sound keeps running. It exists only while shown.
class TfrmPinPrompt : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmPinPrompt(QWidget* parent);

    /// The PIN was wrong: the field empties and the prompt says so.
    void showWrongPin();
    /// Input refused for that many seconds; 0 accepts it again.
    void showWait(int seconds);

signals:
    void pinEntered(const QString& pin);
    /// Closed without a PIN: Cancel, Esc or the close box.
    void cancelled();

protected:
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* m_pin;
    QLabel* m_status;
    QDialogButtonBox* m_buttons;
};

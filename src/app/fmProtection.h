#pragma once

#include <QDialog>

class MainLogic;
#include "guard/GuardSettings.h"

class AlertOptionsBox;
class QCheckBox;
class QLabel;
class QLineEdit;
class QSpinBox;

/// The protection options: the disarm PIN, set, changed with the old one, or removed, the
/// speakers kept on while the alarm sounds, and the remote alerts. Modal; it exists only while shown, and stores nothing
/// until OK, which keeps it open to say what was wrong.
class TfrmProtection : public QDialog
{
    Q_OBJECT
public:
    static int ShowProtection(MainLogic& logic, QWidget* parent);

    TfrmProtection(MainLogic& logic, QWidget* parent);

    void accept() override;

private:
    QLineEdit* pinField(const char* name);

    MainLogic& m_logic;
    const GuardSettings m_settings;
    QLineEdit* m_currentPin;
    QLineEdit* m_newPin;
    QLineEdit* m_repeatedPin;
    QCheckBox* m_removePin;
    QCheckBox* m_keepSpeakersOn;
    QSpinBox* m_speakerVolume;
    AlertOptionsBox* m_alerts;
    QLabel* m_status;
};

#pragma once

#include "guard/AlertSettings.h"

#include <QGroupBox>
#include <map>

class MainLogic;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;

/// The protection dialog's section for remote alerts: the address, its token and format, the
/// kinds of event to send, the heartbeat, the host name, and a test that says how it went.
class AlertOptionsBox : public QGroupBox
{
    Q_OBJECT
public:
    AlertOptionsBox(const AlertSettings& settings, MainLogic& logic, QWidget* parent);

    /// What the fields say now.
    AlertSettings settings() const;

private:
    void sendTest();

    MainLogic& m_logic;
    QLineEdit* m_url;
    QLineEdit* m_token;
    QComboBox* m_format;
    std::map<QString, QCheckBox*> m_events; // by kind
    QSpinBox* m_heartbeat;
    QCheckBox* m_sendHost;
    QLabel* m_testOutcome;
};

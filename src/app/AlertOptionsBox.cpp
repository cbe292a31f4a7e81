#include "AlertOptionsBox.h"

#include "MainLogic.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>

namespace {
QString labelOf(const QString& kind)
{
    static const QHash<QString, QString> labels{
        {AlertKind::Trigger, QStringLiteral("Accepted triggers")},
        {AlertKind::Arming, QStringLiteral("Arming and disarming")},
        {AlertKind::Pin, QStringLiteral("Wrong PINs")},
        {AlertKind::Tamper, QStringLiteral("Tampering")},
    };
    return labels.value(kind);
}

QString capitalised(const QString& word)
{
    return word.left(1).toUpper() + word.mid(1);
}
} // namespace

AlertOptionsBox::AlertOptionsBox(const AlertSettings& settings, MainLogic& logic, QWidget* parent)
    : QGroupBox(QStringLiteral("Remote alerts"), parent), m_logic(logic), m_url(new QLineEdit(this)),
      m_token(new QLineEdit(this)), m_format(new QComboBox(this)), m_heartbeat(new QSpinBox(this)),
      m_sendHost(new QCheckBox(QStringLiteral("Send this computer's name"), this)),
      m_testOutcome(new QLabel(this))
{
    setObjectName(QStringLiteral("grpAlerts"));
    m_url->setObjectName(QStringLiteral("edtAlertUrl"));
    m_url->setPlaceholderText(QStringLiteral("https://ntfy.example.org/my-topic (empty: off)"));
    m_url->setText(settings.url.toString());
    m_token->setObjectName(QStringLiteral("edtAlertToken"));
    m_token->setEchoMode(QLineEdit::Password);
    m_token->setText(settings.token);
    m_format->setObjectName(QStringLiteral("cmbAlertFormat"));
    m_format->addItem(QStringLiteral("ntfy (plain text)"));
    m_format->addItem(QStringLiteral("JSON"));
    m_format->setCurrentIndex(settings.format == AlertSettings::Format::Json ? 1 : 0);
    m_heartbeat->setObjectName(QStringLiteral("spnHeartbeat"));
    m_heartbeat->setRange(0, AlertSettings::MaxHeartbeatMinutes);
    m_heartbeat->setSpecialValueText(QStringLiteral("Off"));
    m_heartbeat->setSuffix(QStringLiteral(" min"));
    m_heartbeat->setValue(settings.heartbeatMinutes);
    m_sendHost->setObjectName(QStringLiteral("chkAlertSendHost"));
    m_sendHost->setChecked(settings.sendHost);
    m_testOutcome->setObjectName(QStringLiteral("lblTestOutcome"));
    auto* test = new QPushButton(QStringLiteral("Send test"), this);
    test->setObjectName(QStringLiteral("btnSendTest"));
    connect(test, &QPushButton::clicked, this, &AlertOptionsBox::sendTest);

    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("Address:"), m_url);
    form->addRow(QStringLiteral("Access token:"), m_token);
    form->addRow(QStringLiteral("Format:"), m_format);
    for (const QString& kind : AlertKind::Chosen) {
        auto* box = new QCheckBox(labelOf(kind), this);
        box->setObjectName(QStringLiteral("chkAlert") + capitalised(kind));
        box->setChecked(settings.events.contains(kind));
        m_events[kind] = box;
        form->addRow(box);
    }
    form->addRow(QStringLiteral("Heartbeat while armed:"), m_heartbeat);
    form->addRow(m_sendHost);
    form->addRow(test, m_testOutcome);
}

AlertSettings AlertOptionsBox::settings() const
{
    AlertSettings settings;
    settings.url = QUrl(m_url->text().trimmed(), QUrl::StrictMode);
    settings.token = m_token->text();
    settings.format = m_format->currentIndex() == 1 ? AlertSettings::Format::Json : AlertSettings::Format::Ntfy;
    settings.events.clear();
    for (const QString& kind : AlertKind::Chosen)
        if (m_events.at(kind)->isChecked())
            settings.events << kind;
    settings.heartbeatMinutes = m_heartbeat->value();
    settings.sendHost = m_sendHost->isChecked();
    return settings;
}

void AlertOptionsBox::sendTest()
{
    const AlertSettings alerts = settings();
    if (!AcceptsAlerts(alerts.url)) {
        m_testOutcome->setText(ProtectionVerdictText(ProtectionVerdict::AlertAddress));
        return;
    }
    m_testOutcome->setText(QStringLiteral("Sending..."));
    m_logic.sendTestAlert(alerts, [label = QPointer<QLabel>(m_testOutcome)](const QString& outcome) {
        if (label)
            label->setText(QStringLiteral("Test: ") + outcome);
    });
}

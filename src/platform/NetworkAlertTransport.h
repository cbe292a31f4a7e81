#pragma once

#include "alert/AlertTransport.h"

#include <QNetworkAccessManager>
#include <QPointer>

class QNetworkReply;

/// Alerts posted with Qt's network access: TLS errors are never ignored, and a redirect is
/// followed only when it keeps the POST (307, 308) and leads to an address that may take alerts
/// itself.
class NetworkAlertTransport : public AlertTransport
{
public:
    NetworkAlertTransport();
    ~NetworkAlertTransport() override;

    void post(const AlertRequest& request, std::function<void(const AlertOutcome&)> done) override;
    void cancel() override;

private:
    void send(const AlertRequest& request, std::function<void(const AlertOutcome&)> done,
              int redirectsLeft);

    QNetworkAccessManager m_network;
    QList<QPointer<QNetworkReply>> m_replies;
};

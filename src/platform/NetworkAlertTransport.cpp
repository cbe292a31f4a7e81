#include "NetworkAlertTransport.h"

#include "guard/AlertSettings.h"

#include <QNetworkReply>
#include <QNetworkRequest>

namespace {
/// Redirects followed for one alert at most.
constexpr int MostRedirects = 5;

bool keepsTheBody(int status)
{
    return status == 307 || status == 308;
}

bool sameOrigin(const QUrl& a, const QUrl& b)
{
    return a.scheme() == b.scheme() && a.host() == b.host() && a.port() == b.port();
}
} // namespace

NetworkAlertTransport::NetworkAlertTransport() = default;

NetworkAlertTransport::~NetworkAlertTransport()
{
    cancel();
}

void NetworkAlertTransport::post(const AlertRequest& request,
                                 std::function<void(const AlertOutcome&)> done)
{
    send(request, std::move(done), MostRedirects);
}

void NetworkAlertTransport::send(const AlertRequest& request,
                                 std::function<void(const AlertOutcome&)> done, int redirectsLeft)
{
    QNetworkRequest http(request.url);
    for (const auto& [name, value] : request.headers)
        http.setRawHeader(name, value);
    http.setTransferTimeout(TransferTimeoutMs);
    // Redirects are ours to judge: only one that keeps the alert a POST, to an address that
    // may take alerts itself.
    http.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    QNetworkReply* reply = m_network.post(http, request.body);
    m_replies.append(reply);
    QObject::connect(reply, &QNetworkReply::finished, reply,
                     [this, reply, request, redirectsLeft, done = std::move(done)]() mutable {
        m_replies.removeAll(reply);
        reply->deleteLater();
        AlertOutcome outcome;
        outcome.httpStatus = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        const QUrl target = reply->attribute(QNetworkRequest::RedirectionTargetAttribute).toUrl();
        if (keepsTheBody(outcome.httpStatus) && target.isValid() && redirectsLeft > 0) {
            AlertRequest redirected = request;
            redirected.url = reply->url().resolved(target);
            // The token is for the address the user gave: another host or port never sees it.
            if (!sameOrigin(redirected.url, request.url))
                redirected.headers.removeIf([](const auto& header) { return header.first == "Authorization"; });
            if (AcceptsAlerts(redirected.url)) {
                send(redirected, std::move(done), redirectsLeft - 1);
                return;
            }
            outcome.httpStatus = 0;
            outcome.error = QStringLiteral("redirected to an address that may not take alerts");
            done(outcome);
            return;
        }
        outcome.delivered = reply->error() == QNetworkReply::NoError && outcome.httpStatus >= 200 &&
                            outcome.httpStatus < 300;
        if (!outcome.delivered && outcome.httpStatus == 0)
            outcome.error = reply->errorString();
        done(outcome);
    });
}

void NetworkAlertTransport::cancel()
{
    for (const QPointer<QNetworkReply>& reply : std::exchange(m_replies, {})) {
        if (!reply)
            continue;
        reply->disconnect();
        reply->abort();
        reply->deleteLater();
    }
}

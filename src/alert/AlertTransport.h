#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QUrl>
#include <functional>

/// One POST to the alert address.
struct AlertRequest
{
    QUrl url;
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;
};

/// How a POST ended.
struct AlertOutcome
{
    bool delivered = false; ///< the server answered with a 2xx status
    int httpStatus = 0;     ///< 0 when no answer came
    QString error;          ///< why it failed, in words; never holds the token

    /// What the user is told of it.
    QString text() const;
};

/// Posts alerts over the network. Main thread.
class AlertTransport
{
public:
    /// The longest a POST may take before it counts as failed.
    static constexpr int TransferTimeoutMs = 10000;

    virtual ~AlertTransport() = default;
    /// Posts the request; `done` is called once, later, on the main thread, unless cancel()
    /// comes first.
    virtual void post(const AlertRequest& request, std::function<void(const AlertOutcome&)> done) = 0;
    /// Abandons every POST under way: their `done` is never called.
    virtual void cancel() = 0;
};

#include "SingleInstance.h"

#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

namespace {
const QByteArray RestoreRequest = "restore\n";
}

SingleInstance::SingleInstance(const QString& folder, QObject* parent)
    : QObject(parent), m_lock(folder + QStringLiteral("/ostrel.lock")),
      m_socketPath(folder + QStringLiteral("/ostrel.socket"))
{
    // Age alone never makes the lock stale: only a holder that no longer runs does.
    m_lock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::claim()
{
    return m_lock.tryLock(0);
}

bool SingleInstance::listen()
{
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // We hold the lock, so a socket file left here belongs to a dead instance.
    QLocalServer::removeServer(m_socketPath);
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::onNewConnection);
    return m_server->listen(m_socketPath);
}

void SingleInstance::onNewConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (socket->readAll().contains(RestoreRequest))
                emit restoreRequested();
        });
    }
}

bool SingleInstance::wakeRunning(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.connectToServer(m_socketPath);
        if (socket.waitForConnected(500)) {
            socket.write(RestoreRequest);
            const bool sent = socket.waitForBytesWritten(1000);
            socket.disconnectFromServer();
            return sent;
        }
        QThread::msleep(100);
    }
    return false;
}

QString SingleInstanceFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}

#include "SingleInstance.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QLocalSocket>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>
#include <cerrno>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {
const QByteArray RestoreRequest = "restore\n";
// A request is one short line; a caller gets this long to send it.
constexpr int CallerMs = 1000;
// Callers heard at a time; any more are turned away at once.
constexpr int MostCallers = 8;
}

SingleInstance::SingleInstance(const QString& folder, QObject* parent)
    : QObject(parent), m_lock(folder + QStringLiteral("/ostrel.lock")),
      m_socketPath(folder + QStringLiteral("/ostrel.socket"))
{
    // Age alone never makes the lock stale: only a holder that no longer runs does.
    m_lock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance()
{
    if (m_listening < 0)
        return;
    ::close(m_listening);
    ::close(m_spare);
    QFile::remove(m_socketPath);
}

bool SingleInstance::claim()
{
    return m_lock.tryLock(0);
}

bool SingleInstance::listen()
{
    const QByteArray path = QFile::encodeName(m_socketPath);
    sockaddr_un address{};
    if (m_listening >= 0 || std::size_t(path.size()) >= sizeof(address.sun_path))
        return false;
    address.sun_family = AF_UNIX;
    std::copy(path.begin(), path.end(), address.sun_path);
    // We hold the lock, so a socket file left here belongs to a dead instance.
    ::unlink(path.constData());
    const int listening = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (listening < 0)
        return false;
    // Only this user may ask.
    const mode_t mask = ::umask(0077);
    const bool bound = ::bind(listening, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
    ::umask(mask);
    if (!bound || ::listen(listening, MostCallers) != 0) {
        ::close(listening);
        return false;
    }
    m_listening = listening;
    m_spare = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    m_notifier = new QSocketNotifier(m_listening, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &SingleInstance::acceptWaiting);
    return true;
}

void SingleInstance::acceptWaiting()
{
    for (;;) {
        const int caller = ::accept4(m_listening, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (caller >= 0) {
            if (m_callers < MostCallers)
                hear(caller);
            else
                ::close(caller);
            continue;
        }
        if (errno == EINTR || errno == ECONNABORTED)
            continue;
        if ((errno == EMFILE || errno == ENFILE) && m_spare >= 0) {
            // Out of descriptors: the spare one makes room to take the caller and turn it away,
            // so it does not wait in the queue and wake us again and again.
            ::close(m_spare);
            const int turnedAway = ::accept4(m_listening, nullptr, nullptr, SOCK_CLOEXEC);
            if (turnedAway >= 0)
                ::close(turnedAway);
            m_spare = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
            if (turnedAway >= 0)
                continue;
        }
        return; // nothing more waits (EAGAIN), or nothing can be done about it now
    }
}

void SingleInstance::hear(int descriptor)
{
    auto* socket = new QLocalSocket(this);
    if (!socket->setSocketDescriptor(descriptor)) {
        ::close(descriptor);
        delete socket;
        return;
    }
    // Never more than the request's own length is read, whatever the caller sends.
    socket->setReadBufferSize(RestoreRequest.size());
    ++m_callers;
    connect(socket, &QObject::destroyed, this, [this] { --m_callers; });
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    QTimer::singleShot(CallerMs, socket, [socket] { socket->abort(); socket->deleteLater(); });
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
        if (socket->bytesAvailable() < RestoreRequest.size())
            return;
        if (socket->read(RestoreRequest.size()) == RestoreRequest)
            emit restoreRequested();
        socket->abort();
        socket->deleteLater();
    });
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

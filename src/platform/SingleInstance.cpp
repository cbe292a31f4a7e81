#include "SingleInstance.h"

#include <QFile>
#include <QLocalSocket>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QThread>

#include <algorithm>
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
// Callers heard at a time; a new one takes the seat of the one that has waited longest, so that
// silent callers cannot keep a real request out.
constexpr std::size_t MostCallers = 8;
// How long accepting rests when the system has no descriptor or memory to give.
constexpr int AcceptPauseMs = 100;

int openSpare()
{
    return ::open("/dev/null", O_RDONLY | O_CLOEXEC);
}
} // namespace

SingleInstance::SingleInstance(const QString& folder, QObject* parent)
    : QObject(parent), m_lock(folder + QStringLiteral("/ostrel.lock")),
      m_socketPath(folder + QStringLiteral("/ostrel.socket"))
{
    // Age alone never makes the lock stale: only a holder that no longer runs does.
    m_lock.setStaleLockTime(0);
    m_resumeAccepting.setSingleShot(true);
    m_resumeAccepting.setInterval(AcceptPauseMs);
    connect(&m_resumeAccepting, &QTimer::timeout, this, [this] {
        if (m_spare < 0)
            m_spare = openSpare();
        m_acceptor->setEnabled(true);
    });
    m_lateCallers.setInterval(CallerMs / 4);
    connect(&m_lateCallers, &QTimer::timeout, this, &SingleInstance::letGoOfLateCallers);
}

SingleInstance::~SingleInstance()
{
    while (!m_callers.empty())
        letGo(m_callers.begin()->first);
    if (m_listening < 0)
        return;
    m_acceptor.reset();
    ::close(m_listening);
    if (m_spare >= 0)
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
    // Only this user may ask; the runtime folder is the user's own as well.
    if (::bind(listening, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
        ::chmod(path.constData(), S_IRUSR | S_IWUSR) != 0 || ::listen(listening, int(MostCallers)) != 0) {
        ::close(listening);
        return false;
    }
    m_listening = listening;
    m_spare = openSpare();
    m_acceptor = std::make_unique<QSocketNotifier>(m_listening, QSocketNotifier::Read);
    connect(m_acceptor.get(), &QSocketNotifier::activated, this, &SingleInstance::acceptWaiting);
    return true;
}

void SingleInstance::acceptWaiting()
{
    for (;;) {
        const int caller = ::accept4(m_listening, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (caller >= 0) {
            if (m_callers.size() >= MostCallers)
                letGo(longestWaiting());
            auto* notifier = new QSocketNotifier(caller, QSocketNotifier::Read, this);
            connect(notifier, &QSocketNotifier::activated, this, [this, caller] { hear(caller); });
            m_callers.emplace(caller, Caller{{}, QDeadlineTimer(CallerMs), notifier});
            m_lateCallers.start();
            continue;
        }
        if (errno == EINTR || errno == ECONNABORTED)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            return;
        if ((errno == EMFILE || errno == ENFILE) && m_spare >= 0) {
            // Out of descriptors: the spare one makes room to take the caller and turn it away,
            // so it does not wait in the queue and wake us again and again.
            ::close(m_spare);
            const int turnedAway = ::accept4(m_listening, nullptr, nullptr, SOCK_CLOEXEC);
            if (turnedAway >= 0)
                ::close(turnedAway);
            m_spare = openSpare();
            if (turnedAway >= 0)
                continue;
        }
        pauseAccepting();
        return;
    }
}

void SingleInstance::pauseAccepting()
{
    m_acceptor->setEnabled(false);
    m_resumeAccepting.start();
}

void SingleInstance::hear(int descriptor)
{
    Caller& caller = m_callers.at(descriptor);
    // Never more than the request's own length is read, whatever the caller sends.
    QByteArray buffer(RestoreRequest.size() - caller.heard.size(), '\0');
    const ssize_t got = ::read(descriptor, buffer.data(), std::size_t(buffer.size()));
    if (got < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK))
        return;
    if (got <= 0) { // gone, or broken
        letGo(descriptor);
        return;
    }
    caller.heard.append(buffer.left(got));
    if (caller.heard.size() < RestoreRequest.size())
        return;
    const bool restore = caller.heard == RestoreRequest;
    letGo(descriptor);
    if (restore)
        emit restoreRequested();
}

void SingleInstance::letGo(int descriptor)
{
    const auto found = m_callers.find(descriptor);
    QSocketNotifier* notifier = found->second.notifier;
    m_callers.erase(found);
    // This may run inside the notifier's own signal: it goes once that has returned.
    notifier->setEnabled(false);
    notifier->deleteLater();
    ::close(descriptor);
    if (m_callers.empty())
        m_lateCallers.stop();
}

int SingleInstance::longestWaiting() const
{
    const auto earliest = std::min_element(m_callers.begin(), m_callers.end(), [](const auto& a, const auto& b) {
        return a.second.deadline < b.second.deadline;
    });
    return earliest->first;
}

void SingleInstance::letGoOfLateCallers()
{
    for (auto it = m_callers.begin(); it != m_callers.end();) {
        const int descriptor = it->first;
        const bool late = it->second.deadline.hasExpired();
        ++it;
        if (late)
            letGo(descriptor);
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

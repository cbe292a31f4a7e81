#pragma once

#include <QDeadlineTimer>
#include <QLockFile>
#include <QObject>
#include <QTimer>

#include <map>
#include <memory>

class QSocketNotifier;

/// One running Ostrel per user. The first start holds a lock file and listens on a local socket
/// beside it; a later start finds the lock taken and asks the first, through the socket, to
/// come back into view. A lock left by a killed instance is stale and taken over. The listener
/// keeps its socket whatever its callers do: a flood of connections, or running out of file
/// descriptors, only costs the connections it cannot take.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    /// folder: the per-user runtime folder that holds the lock and the socket.
    explicit SingleInstance(const QString& folder, QObject* parent = nullptr);
    ~SingleInstance() override;

    /// True when this process is now the running instance. Needs no application object.
    bool claim();
    /// Starts answering later starts; call once the application object exists.
    bool listen();
    /// From a later start: asks the running instance to restore its window. Retries for a few
    /// seconds, since the running instance may still be starting.
    bool wakeRunning(int timeoutMs = 5000);

    QString lockPath() const { return m_lock.fileName(); }
    QString socketPath() const { return m_socketPath; }
    /// How many callers are being listened to now.
    int callers() const { return int(m_callers.size()); }

signals:
    void restoreRequested();

private:
    struct Caller
    {
        QByteArray heard;
        QDeadlineTimer deadline;
        QSocketNotifier* notifier;
    };

    /// Takes every waiting connection.
    void acceptWaiting();
    /// Reads what the caller has sent, up to the request's length.
    void hear(int descriptor);
    /// The one place a caller's connection ends.
    void letGo(int descriptor);
    void letGoOfLateCallers();
    int longestWaiting() const;
    /// Stops taking connections for a moment when the system cannot give us any.
    void pauseAccepting();

    QLockFile m_lock;
    QString m_socketPath;
    int m_listening = -1;
    int m_spare = -1; // held back, so that a connection can still be taken and closed at the limit
    std::unique_ptr<QSocketNotifier> m_acceptor;
    QTimer m_resumeAccepting;
    QTimer m_lateCallers;
    std::map<int, Caller> m_callers; // by descriptor
};

/// The folder that holds the lock and socket: $XDG_RUNTIME_DIR, or Qt's fallback for it.
QString SingleInstanceFolder();

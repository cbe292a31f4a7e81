#pragma once

#include <QLockFile>
#include <QObject>

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
    int callers() const { return m_callers; }

signals:
    void restoreRequested();

private:
    /// Main thread: takes every waiting connection.
    void acceptWaiting();
    /// Main thread: listens to one caller for its request, briefly.
    void hear(int descriptor);

    QLockFile m_lock;
    QString m_socketPath;
    int m_listening = -1;
    int m_spare = -1; // held back, so that a connection can still be taken and closed at the limit
    QSocketNotifier* m_notifier = nullptr;
    int m_callers = 0;
};

/// The folder that holds the lock and socket: $XDG_RUNTIME_DIR, or Qt's fallback for it.
QString SingleInstanceFolder();

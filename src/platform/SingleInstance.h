#pragma once

#include <QLockFile>
#include <QObject>

class QLocalServer;

/// One running Ostrel per user. The first start holds a lock file and listens on a local socket
/// beside it; a later start finds the lock taken and asks the first, through the socket, to
/// come back into view. A lock left by a killed instance is stale and taken over.
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

signals:
    void restoreRequested();

private:
    void onNewConnection();

    QLockFile m_lock;
    QString m_socketPath;
    QLocalServer* m_server = nullptr;
};

/// The folder that holds the lock and socket: $XDG_RUNTIME_DIR, or Qt's fallback for it.
QString SingleInstanceFolder();

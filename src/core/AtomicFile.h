#pragma once

#include <QByteArray>
#include <QString>

/// Replaces a file whole or not at all. The new content goes to a temporary file beside the
/// target; every write and the close are checked and the data is synced to the disk before the
/// temporary file is renamed over the target. On any failure (a full disk, a size limit, a
/// missing folder) the target keeps its old content byte for byte and the temporary file is gone.
class AtomicFile
{
public:
    /// allowedMode is the most the file may permit: a new file gets the umask's permissions
    /// within it, an existing one keeps its own within it.
    explicit AtomicFile(const QString& path, unsigned allowedMode = 07777);
    ~AtomicFile(); ///< Discards an uncommitted temporary file.
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    bool open();
    bool write(const QByteArray& bytes);
    /// Syncs, closes and renames; false leaves the target as it was.
    bool commit();
    /// Why the last step failed.
    QString errorString() const { return m_error; }

private:
    bool fail(const char* step);
    bool notOpen();
    void discard();

    QByteArray m_target;
    QByteArray m_temporary;
    unsigned m_allowedMode;
    int m_fd = -1;
    QString m_error;
};

/// Writes bytes to path through an AtomicFile; error, when given, says why it failed.
bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString* error = nullptr,
                         unsigned allowedMode = 07777);

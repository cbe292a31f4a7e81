#include "AtomicFile.h"

#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
/// Repeats a call that a signal interrupted.
template <typename Call>
auto retryInterrupted(Call call)
{
    decltype(call()) result;
    do
        result = call();
    while (result < 0 && errno == EINTR);
    return result;
}

/// Syncs the folder so that the rename itself survives a power cut.
void syncFolder(const QByteArray& file)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(QFile::decodeName(file)).absolutePath());
    const int fd = retryInterrupted([&] { return ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}
} // namespace

AtomicFile::AtomicFile(const QString& path, unsigned allowedMode) : m_allowedMode(allowedMode)
{
    // A link is replaced at what it points to, so that the link itself stays.
    const QString resolved = QFileInfo(path).isSymLink() ? QFileInfo(path).symLinkTarget() : path;
    m_target = QFile::encodeName(resolved);
}

AtomicFile::~AtomicFile()
{
    discard();
}

bool AtomicFile::open()
{
    discard();
    static std::atomic<unsigned> serial{0};
    m_temporary = m_target + '.' + QByteArray::number(::getpid()) + '.' +
                  QByteArray::number(serial++) + ".tmp";
    // Created with the umask's permissions, like any new file; an existing target keeps its own.
    m_fd = retryInterrupted([&] {
        return ::open(m_temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                      0666 & m_allowedMode);
    });
    if (m_fd < 0) {
        m_temporary.clear();
        return fail("create");
    }
    struct stat old;
    if (::stat(m_target.constData(), &old) == 0)
        ::fchmod(m_fd, old.st_mode & 07777 & m_allowedMode);
    return true;
}

bool AtomicFile::write(const QByteArray& bytes)
{
    if (m_fd < 0)
        return notOpen();
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t written = retryInterrupted(
            [&] { return ::write(m_fd, bytes.constData() + done, size_t(bytes.size() - done)); });
        if (written <= 0) {
            if (written == 0)
                errno = ENOSPC;
            return fail("write");
        }
        done += written;
    }
    return true;
}

bool AtomicFile::commit()
{
    if (m_fd < 0)
        return notOpen();
    if (::fsync(m_fd) != 0)
        return fail("sync");
    const int fd = m_fd;
    m_fd = -1;
    // A close may report a write the file system deferred; the file is closed either way.
    if (::close(fd) != 0)
        return fail("close");
    if (::rename(m_temporary.constData(), m_target.constData()) != 0)
        return fail("rename");
    m_temporary.clear();
    syncFolder(m_target);
    return true;
}

bool AtomicFile::fail(const char* step)
{
    const int error = errno;
    m_error = QStringLiteral("Cannot %1 %2: %3")
                  .arg(QString::fromLatin1(step), QFile::decodeName(m_target),
                       QString::fromLocal8Bit(std::strerror(error)));
    discard();
    return false;
}

bool AtomicFile::notOpen()
{
    errno = EBADF;
    return fail("write");
}

void AtomicFile::discard()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    if (!m_temporary.isEmpty())
        ::unlink(m_temporary.constData());
    m_temporary.clear();
}

bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString* error,
                         unsigned allowedMode)
{
    AtomicFile file(path, allowedMode);
    const bool written = file.open() && file.write(bytes) && file.commit();
    if (error)
        *error = file.errorString();
    return written;
}

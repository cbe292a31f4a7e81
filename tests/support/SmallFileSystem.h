#pragma once

#include <QDir>
#include <QFile>
#include <QString>

#include <cerrno>
#include <cstring>
#include <sched.h>
#include <sys/mount.h>

/// A small tmpfs over a folder, mounted in a mount namespace of this process's own: nothing
/// outside the test (and its child processes) sees it, and it goes with the process. Mounting
/// needs root; mount() says why it could not.
class SmallFileSystem
{
public:
    ~SmallFileSystem()
    {
        if (!m_folder.isEmpty())
            umount2(QFile::encodeName(m_folder).constData(), MNT_DETACH);
    }

    bool mount(const QString& folder, QString* why)
    {
        static const int privateNamespace = [] {
            if (unshare(CLONE_NEWNS) != 0)
                return errno;
            return ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 ? 0 : errno;
        }();
        int error = privateNamespace;
        if (error == 0 && QDir().mkpath(folder) &&
            ::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, "size=256k") != 0)
            error = errno;
        if (error != 0) {
            *why = QStringLiteral("cannot mount a small file system: ") + QString::fromLocal8Bit(std::strerror(error));
            return false;
        }
        m_folder = folder;
        return true;
    }

    /// Takes every free block, so that no new file gets a byte written.
    void fill()
    {
        QFile filler(m_folder + QStringLiteral("/.filler"));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
            return;
        const QByteArray block(4096, 'f');
        while (filler.write(block) == block.size()) {
        }
        while (filler.write("f", 1) == 1) {
        }
    }

private:
    QString m_folder;
};

#include "document/RecoveryLock.h"

#include <QFile>

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

std::unique_ptr<RecoveryLock> RecoveryLock::Take(const QString& path, int* error)
{
    if (error)
        *error = 0;
    const QByteArray native = QFile::encodeName(path);
    bool removedUnreadable = false;
    for (int attempt = 0; attempt < 8; ++attempt) {
        const int fd = ::open(native.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0) {
            const int err = errno;
            // A lock this program cannot open is no live program's (they are all made 0600 by
            // this user): it goes, and is made anew.
            if ((err == EACCES || err == ELOOP) && !removedUnreadable && ::unlink(native.constData()) == 0) {
                removedUnreadable = true;
                continue;
            }
            if (error)
                *error = err;
            return nullptr;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int err = errno;
            ::close(fd);
            if (err == EWOULDBLOCK || err == EINTR)
                return nullptr; // its program runs
            if (error)
                *error = err;
            return nullptr;
        }
        // The owner may have removed the file between our open and our lock, and another
        // program made it anew: the lock must be on the file that is there now.
        struct stat held {}, there {};
        if (::fstat(fd, &held) != 0 || ::stat(native.constData(), &there) != 0 || held.st_dev != there.st_dev ||
            held.st_ino != there.st_ino) {
            ::close(fd);
            continue;
        }
        ::fchmod(fd, 0600);
        char host[HOST_NAME_MAX + 1] = {};
        ::gethostname(host, sizeof host - 1);
        const std::string text = std::to_string(::getpid()) + '\n' + host + '\n';
        if (::ftruncate(fd, 0) == 0 && ::pwrite(fd, text.data(), text.size(), 0) < 0) {
            // Only for people to read: the lock holds without it.
        }
        return std::unique_ptr<RecoveryLock>(new RecoveryLock(path, fd));
    }
    if (error)
        *error = EAGAIN;
    return nullptr;
}

RecoveryLock::~RecoveryLock()
{
    ::unlink(QFile::encodeName(m_path).constData());
    ::close(m_fd);
}

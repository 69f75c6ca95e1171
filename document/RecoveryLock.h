#pragma once

#include <QString>

#include <memory>

// The lock beside a recovery copy. It is a kernel lock (flock) on the lock file, which the
// system lets go of when its process ends however it ends: a lock is held exactly while its
// program runs on this machine. The file's text (pid and host) is only for people to read, so
// an empty or unreadable file, one that names another host (container host names change at
// every start) or a pid that a later process got, is no sign of a live owner.
class RecoveryLock {
public:
    // Takes the lock at `path`, making the file (mode 0600) when it is missing. Null when a
    // running program holds it, or when the file cannot be made: then `error` (if given) gets
    // the errno, and stays 0 when the lock is merely held.
    static std::unique_ptr<RecoveryLock> Take(const QString& path, int* error = nullptr);
    // Removes the file, then lets go of the lock.
    ~RecoveryLock();
    RecoveryLock(const RecoveryLock&) = delete;
    RecoveryLock& operator=(const RecoveryLock&) = delete;

private:
    RecoveryLock(QString path, int fd) : m_path(std::move(path)), m_fd(fd) {}
    QString m_path;
    int m_fd;
};

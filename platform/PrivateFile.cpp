#include "platform/PrivateFile.h"

#include "platform/Error.h"

#include <QCoreApplication>
#include <QFile>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

// The file a link points at, so the link itself stays a link.
QByteArray Target(const QString& path)
{
    QByteArray native = QFile::encodeName(path);
    struct stat st {};
    if (::lstat(native.constData(), &st) != 0 || !S_ISLNK(st.st_mode))
        return native;
    char resolved[PATH_MAX];
    if (::realpath(native.constData(), resolved))
        return QByteArray(resolved);
    // A link to a file not made yet: the file is made where it points.
    const ssize_t size = ::readlink(native.constData(), resolved, sizeof resolved);
    if (size <= 0 || static_cast<std::size_t>(size) >= sizeof resolved)
        return native;
    const QByteArray link(resolved, size);
    if (link.startsWith('/'))
        return link;
    const qsizetype slash = native.lastIndexOf('/');
    return slash < 0 ? link : native.left(slash + 1) + link;
}

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t done = ::write(fd, bytes.data(), bytes.size());
        if (done < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(done));
    }
    return true;
}

} // namespace

int WritePrivateFile(const QString& path, const std::function<std::string_view()>& next, bool sync)
{
    const QByteArray target = Target(path);
    QByteArray temporary = target + QByteArrayLiteral(".XXXXXX");
    // mkostemp makes the file 0600 from the start: no moment in which others may read it.
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return errno;
    const auto fail = [&](int err, bool open) {
        if (open)
            ::close(fd);
        ::unlink(temporary.constData());
        return err;
    };
    for (std::string_view piece = next(); !piece.empty(); piece = next())
        if (!WriteAll(fd, piece))
            return fail(errno, true);
    if (sync && ::fsync(fd) != 0)
        return fail(errno, true);
    if (::close(fd) != 0 && errno != EINTR)
        return fail(errno, false);
    if (::rename(temporary.constData(), target.constData()) != 0)
        return fail(errno, false);
    return 0;
}

int WritePrivateFile(const QString& path, std::string_view bytes, bool sync)
{
    bool given = false;
    return WritePrivateFile(
        path, [&]() -> std::string_view { return std::exchange(given, true) ? std::string_view() : bytes; }, sync);
}

void WritePrivateFileOrThrow(const QString& path, std::string_view bytes)
{
    if (const int err = WritePrivateFile(path, bytes))
        throw QuorlexError(FileErrorText(QT_TRANSLATE_NOOP("FileError", "Cannot create file"), path.toStdString(), err));
}

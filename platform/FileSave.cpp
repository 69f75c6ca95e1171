#include "platform/FileSave.h"

#include "platform/Error.h"
#include "platform/NativePath.h"

#include <QCoreApplication>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

[[noreturn]] void Fail(const QString& path, const std::string& why)
{
    throw QuorlexError(Translated("FileError", QT_TRANSLATE_NOOP("FileError", "Cannot create file")) + " \"" +
                       ShownPath(path).toStdString() + "\". " + why);
}

[[noreturn]] void FailErrno(const QString& path, int err) { Fail(path, std::strerror(err)); }

struct Fd {
    int fd = -1;
    Fd() = default;
    explicit Fd(int f) : fd(f) {}
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The file the links end at; it need not exist yet (a dangling link makes its target).
std::string FinalTarget(std::string path)
{
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return path;
        std::string link(4096, '\0');
        const ssize_t got = ::readlink(path.c_str(), link.data(), link.size());
        if (got <= 0)
            return path;
        link.resize(static_cast<std::size_t>(got));
        path = link[0] == '/' ? link : FolderOf(path) + '/' + link;
    }
    return path; // the system reports the loop
}

int WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t put = ::write(fd, bytes.data(), bytes.size());
        if (put < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        bytes.remove_prefix(static_cast<std::size_t>(put));
    }
    return 0;
}

// Writes every piece; the error number of the first failure, or 0.
int WritePieces(int fd, const std::function<std::string_view()>& next, std::uint64_t& written)
{
    for (std::string_view piece = next(); !piece.empty(); piece = next()) {
        if (const int err = WriteAll(fd, piece))
            return err;
        written += piece.size();
    }
    return 0;
}

// Copies what `from` holds after `offset` to `to`.
int CopyBytes(int from, off_t offset, int to)
{
    std::vector<char> buffer(std::size_t{1} << 16);
    for (;;) {
        const ssize_t got = ::pread(from, buffer.data(), buffer.size(), offset);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return errno;
        if (got == 0)
            return 0;
        if (const int err = WriteAll(to, std::string_view(buffer.data(), static_cast<std::size_t>(got))))
            return err;
        offset += got;
    }
}

// A new file beside `folder`'s others, named so no one else's is taken. -1 and errno on failure.
int CreateUnique(const std::string& folder, const char* prefix, mode_t mode, std::string& created)
{
    static std::atomic<unsigned> serial{0};
    const auto seed = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
    for (int attempt = 0; attempt < 100; ++attempt) {
        created = folder + '/' + prefix + std::to_string(::getpid()) + '-' + std::to_string(serial++) + '-' +
                  std::to_string((seed >> 8) % 100000);
        const int fd = ::open(created.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

std::vector<std::string> AttributeNames(ssize_t (*list)(int, const char*, char*, std::size_t), int fd,
                                        const char* path, bool& ok)
{
    std::vector<std::string> names;
    std::vector<char> buffer;
    for (int attempt = 0; attempt < 5; ++attempt) {
        const ssize_t size = list(fd, path, nullptr, 0);
        if (size < 0) {
            ok = errno == ENOTSUP; // a file system without attributes has none to lose
            return names;
        }
        buffer.resize(static_cast<std::size_t>(size));
        const ssize_t got = list(fd, path, buffer.data(), buffer.size());
        if (got < 0 && errno == ERANGE)
            continue; // grew in between
        if (got < 0) {
            ok = false;
            return names;
        }
        for (std::size_t at = 0; at < static_cast<std::size_t>(got);) {
            names.emplace_back(buffer.data() + at);
            at += names.back().size() + 1;
        }
        ok = true;
        return names;
    }
    ok = false;
    return names;
}

std::optional<std::string> Attribute(ssize_t (*get)(int, const char*, const char*, void*, std::size_t), int fd,
                                     const char* path, const std::string& name)
{
    for (int attempt = 0; attempt < 5; ++attempt) {
        const ssize_t size = get(fd, path, name.c_str(), nullptr, 0);
        if (size < 0)
            return std::nullopt;
        std::string value(static_cast<std::size_t>(size), '\0');
        const ssize_t got = get(fd, path, name.c_str(), value.data(), value.size());
        if (got >= 0) {
            value.resize(static_cast<std::size_t>(got));
            return value;
        }
        if (errno != ERANGE)
            return std::nullopt;
    }
    return std::nullopt;
}

ssize_t ListOfPath(int, const char* path, char* list, std::size_t size) { return ::listxattr(path, list, size); }
ssize_t ListOfFd(int fd, const char*, char* list, std::size_t size) { return ::flistxattr(fd, list, size); }
ssize_t GetOfPath(int, const char* path, const char* name, void* value, std::size_t size)
{
    return ::getxattr(path, name, value, size);
}
ssize_t GetOfFd(int fd, const char*, const char* name, void* value, std::size_t size)
{
    return ::fgetxattr(fd, name, value, size);
}

// Gives the new file at `fd` the extended attributes of `target` and no others; false when
// one of them cannot be read or given.
bool CopyAttributes(const std::string& target, int fd)
{
    bool ok = false;
    const std::vector<std::string> wanted = AttributeNames(ListOfPath, -1, target.c_str(), ok);
    if (!ok)
        return false;
    for (const std::string& name : wanted) {
        const auto value = Attribute(GetOfPath, -1, target.c_str(), name);
        if (!value)
            return false;
        if (Attribute(GetOfFd, fd, nullptr, name) == value)
            continue; // given already, perhaps by the folder's default ACL
        if (::fsetxattr(fd, name.c_str(), value->data(), value->size(), 0) != 0)
            return false;
    }
    const std::vector<std::string> present = AttributeNames(ListOfFd, fd, nullptr, ok);
    if (!ok)
        return false;
    for (const std::string& name : present)
        if (std::find(wanted.begin(), wanted.end(), name) == wanted.end() && ::fremovexattr(fd, name.c_str()) != 0)
            return false;
    return true;
}

// Owner and group first: a change of them clears the set-user-ID bit that the mode restores.
bool GiveIdentity(int fd, const std::string& target, const struct stat& old)
{
    const mode_t mode = old.st_mode & 07777;
    if (::fchown(fd, old.st_uid, old.st_gid) != 0 || ::fchmod(fd, mode) != 0)
        return false;
    if (!CopyAttributes(target, fd))
        return false;
    struct stat now {};
    return ::fstat(fd, &now) == 0 && now.st_uid == old.st_uid && now.st_gid == old.st_gid &&
           ((now.st_mode & 07777) == mode || ::fchmod(fd, mode) == 0);
}

void SyncFolder(const std::string& folder)
{
    const Fd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.fd >= 0)
        ::fsync(dir.fd);
}

enum class Renaming { Done, NotHere };

// The temporary-file way. NotHere when it would not keep the file what it is (the caller
// writes in place instead); a failed write throws and leaves the old file as it was.
Renaming SaveByRename(const QString& path, const std::string& target, const struct stat* old,
                      const std::function<std::string_view()>& next)
{
    const std::string folder = FolderOf(target);
    std::string temp;
    // A file that is there gets its mode once it is its owner's; a new one the usual one.
    Fd out(CreateUnique(folder, ".quorlex-save-", old ? 0600 : 0666, temp));
    if (out.fd < 0) {
        if (old)
            return Renaming::NotHere;
        FailErrno(path, errno);
    }
    struct Remover {
        const std::string& path;
        bool keep = false;
        ~Remover()
        {
            if (!keep)
                ::unlink(path.c_str());
        }
    } remover{temp};
    if (old && !GiveIdentity(out.fd, target, *old))
        return Renaming::NotHere;
    std::uint64_t written = 0;
    if (const int err = WritePieces(out.fd, next, written))
        FailErrno(path, err);
    if (::fsync(out.fd) != 0)
        FailErrno(path, errno);
    if (::rename(temp.c_str(), target.c_str()) != 0)
        FailErrno(path, errno);
    remover.keep = true;
    SyncFolder(folder);
    return Renaming::Done;
}

struct Backup {
    std::string path;
    off_t bytesFrom = 0; // where the old bytes begin, after the header
};

// The old bytes of the file, put aside in `folder`. Throws when they cannot be.
Backup MakeBackup(const QString& path, const std::string& target, const QString& folder)
{
    auto fail = [&](int err) -> Backup {
        Fail(path, Translated("FileSave", QT_TRANSLATE_NOOP("FileSave", "The old text could not be kept aside first:")) + " " +
                        std::strerror(err));
    };
    if (folder.isEmpty())
        return fail(ENOENT);
    const Fd in(::open(target.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (in.fd < 0)
        return fail(errno);
    Backup backup;
    const std::string native = NativePath(folder).toStdString();
    ::mkdir(native.c_str(), 0700); // a portable folder named but not made yet
    Fd out(CreateUnique(native, "backup-", 0600, backup.path));
    if (out.fd < 0)
        return fail(errno);
    const std::string header = BackupHeader(target);
    backup.bytesFrom = static_cast<off_t>(header.size());
    int err = WriteAll(out.fd, header);
    if (!err)
        err = CopyBytes(in.fd, 0, out.fd);
    if (!err && ::fsync(out.fd) != 0)
        err = errno;
    if (err) {
        ::unlink(backup.path.c_str());
        return fail(err);
    }
    return backup;
}

// Puts the backup's bytes back into the file; true when the file is as it was.
bool PutBack(const Backup& backup, int fd)
{
    const Fd in(::open(backup.path.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat st {};
    if (in.fd < 0 || ::fstat(in.fd, &st) != 0 || ::lseek(fd, 0, SEEK_SET) != 0)
        return false;
    return CopyBytes(in.fd, backup.bytesFrom, fd) == 0 && ::ftruncate(fd, st.st_size - backup.bytesFrom) == 0 &&
           ::fsync(fd) == 0;
}

void SaveInPlace(const QString& path, const std::string& target, const std::function<std::string_view()>& next,
                 const SaveOptions& options)
{
    const Fd out(::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
    if (out.fd < 0)
        FailErrno(path, errno);
    struct stat st {};
    if (::fstat(out.fd, &st) != 0)
        FailErrno(path, errno);
    if (!S_ISREG(st.st_mode))
        Fail(path, Translated("FileError", QT_TRANSLATE_NOOP("FileError", "Not a regular file")));
    const Backup backup = MakeBackup(path, target, options.backupFolder);
    if (options.backupWritten)
        options.backupWritten(PathFromNative(backup.path));
    std::uint64_t written = 0;
    int err = WritePieces(out.fd, next, written);
    if (!err && ::ftruncate(out.fd, static_cast<off_t>(written)) != 0)
        err = errno;
    if (!err && ::fsync(out.fd) != 0)
        err = errno;
    if (err && !PutBack(backup, out.fd))
        Fail(path, std::string(std::strerror(err)) + ". " +
                       QCoreApplication::translate("FileSave", "The old text is kept in \"%1\"")
                           .arg(ShownPath(PathFromNative(backup.path)))
                           .toStdString());
    ::unlink(backup.path.c_str());
    if (err)
        FailErrno(path, err);
}

} // namespace

std::string BackupHeader(std::string_view nativePath)
{
    return "QUORLEX-BACKUP 1\n" + std::to_string(nativePath.size()) + '\n' + std::string(nativePath) + '\n';
}

SaveWay SaveFileKeepingIdentity(const QString& path, const std::function<std::string_view()>& next,
                                const SaveOptions& options)
{
    const std::string target = FinalTarget(NativePath(path).toStdString());
    struct stat st {};
    if (::stat(target.c_str(), &st) != 0) {
        if (errno != ENOENT)
            FailErrno(path, errno);
        SaveByRename(path, target, nullptr, next);
        return SaveWay::Renamed;
    }
    if (!S_ISREG(st.st_mode))
        Fail(path, S_ISDIR(st.st_mode) ? std::strerror(EISDIR)
                                       : Translated("FileError", QT_TRANSLATE_NOOP("FileError", "Not a regular file")));
    // Another name for the same file would keep the old text if a new file took this one.
    if (st.st_nlink == 1 && SaveByRename(path, target, &st, next) == Renaming::Done)
        return SaveWay::Renamed;
    SaveInPlace(path, target, next, options);
    return SaveWay::InPlace;
}

#include "platform/FileStamp.h"

#include "platform/NativePath.h"

#include <cerrno>
#include <sys/stat.h>

FileStamp FileStampOf(const QString& path)
{
    struct stat st {};
    if (path.isEmpty())
        return {};
    if (::stat(NativePath(path).constData(), &st) != 0) {
        FileStamp none;
        none.unknown = errno != ENOENT && errno != ENOTDIR;
        return none;
    }
    FileStamp stamp;
    stamp.exists = true;
    if (!S_ISREG(st.st_mode)) {
        stamp.unknown = true;
        return stamp;
    }
    stamp.size = static_cast<std::int64_t>(st.st_size);
    stamp.modifiedNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    stamp.device = static_cast<std::uint64_t>(st.st_dev);
    stamp.inode = static_cast<std::uint64_t>(st.st_ino);
    return stamp;
}

DiskChange CompareStamps(const FileStamp& known, const FileStamp& now)
{
    if (known.unknown || now.unknown)
        return DiskChange::None;
    if (!now.exists)
        return known.exists ? DiskChange::Deleted : DiskChange::None;
    if (!known.exists || known.size != now.size || known.modifiedNs != now.modifiedNs)
        return DiskChange::Changed;
    if (known.inode != 0 && (known.device != now.device || known.inode != now.inode))
        return DiskChange::Changed;
    return DiskChange::None;
}

#pragma once

#include <QString>

#include <cstdint>

// What the editor remembers of its file on disk, to notice another program's change. Device
// and inode tell a file put in its place (a save through a temporary file, a copy, a checkout)
// from the one that was read, even when size and time were made to match.
struct FileStamp {
    bool exists = false;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0; // modification time, nanoseconds since the epoch
    std::uint64_t device = 0;
    std::uint64_t inode = 0; // 0: not known (a stamp kept by an older version)
    // Something is there that cannot be stamped (not a regular file, or its folder may not be
    // searched): no change of it is ever reported.
    bool unknown = false;

    bool operator==(const FileStamp&) const = default;
};

// The stamp of the file at `path` now; a missing entry reads as not existing.
FileStamp FileStampOf(const QString& path);

enum class DiskChange { None, Changed, Deleted };

// How the file went from `known` to `now`. A file that was missing and is missing still has
// not changed; one that appears where none was counts as changed. Either side unknown: None.
// A `known` stamp without an inode is compared by size and time alone.
DiskChange CompareStamps(const FileStamp& known, const FileStamp& now);

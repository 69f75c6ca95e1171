#pragma once

#include <QString>

#include <cstdint>

// What the editor remembers of its file on disk, to notice another program's change.
struct FileStamp {
    bool exists = false;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0; // modification time, nanoseconds since the epoch
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
DiskChange CompareStamps(const FileStamp& known, const FileStamp& now);

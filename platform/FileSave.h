#pragma once

#include <QString>

#include <functional>
#include <string_view>

// How a save reached the disk.
enum class SaveWay {
    Renamed, // a new file took the old one's name, with its owner, group, mode and attributes
    InPlace, // the old file itself was written over, after a backup of its bytes
};

struct SaveOptions {
    // Where an in-place write keeps the old bytes until it has succeeded (the state folder).
    QString backupFolder;
    // Called once the backup is on disk, before the file is touched (tests end the process
    // there, as a crash would).
    std::function<void(const QString& backupPath)> backupWritten;
};

// Writes the pieces `next` hands out, in order, until it gives an empty one, to the file at
// the end of `path`'s symbolic links, so that it stays the file it was. A temporary file is
// renamed over it only when that keeps what the file is: the folder takes the new file, the
// old one has a single link, and its owner, group, mode and extended attributes (the ACL
// among them) can all be given to the new one. Otherwise the old bytes are first copied into
// a backup in `backupFolder`, then the file itself is written; the backup goes once the write
// succeeded, and a failed write puts the old bytes back. A missing file is created through a
// temporary one, so it never appears half written.
// Throws QuorlexError "Cannot create file "%s". %s".
SaveWay SaveFileKeepingIdentity(const QString& path, const std::function<std::string_view()>& next,
                                const SaveOptions& options);

// The header of a backup: "QUORLEX-BACKUP 1\n<length of the name>\n<name bytes>\n", then the
// old bytes.
std::string BackupHeader(std::string_view nativePath);

#pragma once

#include "document/TextFile.h"
#include "platform/FileStamp.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// What a recovery file gives back: the document's bytes and enough about it to give it back
// its name and how it is written.
struct RecoveryRecord {
    std::string fileName;          // the name's bytes; empty for an untitled document
    std::int64_t changedMs = 0;    // last change, milliseconds since the epoch
    FileStamp fileStamp;           // the file as the document last knew it on disk
    std::string text;
    bool whole = true;             // read back: the text is all the file promised
    FileEncoding encoding;
};

// Recovery files are journals now (RecoveryJournal.h); copies that older versions wrote are
// still read. Such a copy is a short header of decimal fields, one per line, then the text, so the
// question at start-up can be asked from the header alone:
//   QUORLEX-RECOVERY 2
//   <changedMs> <exists 0|1> <size> <modifiedNs> <device> <inode> <name bytes> <text bytes>
//   <name bytes, raw>\n<text bytes, raw>
// Version 1, without device and inode, is still read.
std::string EncodeRecoveryHeader(const RecoveryRecord& record, std::size_t textBytes);

// The header of `bytes` (the start of the file is enough): the record without its text,
// and in `textOffset` where the text begins. nullopt when it is not a recovery file.
std::optional<RecoveryRecord> DecodeRecoveryHeader(std::string_view bytes, std::size_t* textOffset = nullptr,
                                                   std::uint64_t* textBytes = nullptr);

// The whole record; nullopt when the header is bad or the text is not all there.
std::optional<RecoveryRecord> DecodeRecovery(std::string_view bytes);
// What a damaged copy still holds: the header's record with every byte after it as the text,
// `whole` telling whether that is exactly what the header promised. nullopt when the header
// is bad.
std::optional<RecoveryRecord> DecodeRecoveryHeld(std::string_view bytes);

// Names inside the recovery folder: "recovery-<pid>-<serial>.dat" with its lock beside it.
// The serial tells apart windows of one process (the program has one; tests have more).
std::string RecoveryDataName(std::int64_t pid, int serial);
std::string RecoveryLockName(std::string_view dataName);
struct RecoveryOwner {
    std::int64_t pid = 0;
    int serial = 0;
};
std::optional<RecoveryOwner> ParseRecoveryDataName(std::string_view name);

#pragma once

#include "document/TextFile.h"
#include "platform/FileStamp.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// A recovery journal: what the document's text was built from, then every edit since, so a
// keystroke costs a few bytes on disk and nothing in memory. The file is
//   QUORLEX-RECOVERY 3\n
//   records: <kind: 1 byte> <payload length: 8 bytes> <payload> <CRC-32 of all before it: 4 bytes>
// numbers little-endian. The first record is the identity ('I'); then edits ('E') and changes
// of how the file is to be written ('F'). A record that is cut short or fails its checksum ends
// the journal: what comes before it is still whole.
//
// A journal starts either over the file (its edits apply to the file's text as the editor read
// it, which the identity says how to read and which must be unchanged on disk) or over an empty
// text (its first edits stream the whole document in: a snapshot, which needs no file at all).

inline constexpr std::string_view kJournalMagic = "QUORLEX-RECOVERY 3\n";

struct JournalIdentity {
    std::string fileName;        // the name's bytes; empty for an untitled document
    std::int64_t changedMs = 0;  // milliseconds since the epoch
    FileStamp fileStamp;         // the file as the document last knew it on disk
    FileEncoding encoding;       // how the file was read (over the file) and is to be written
    bool overFile = false;
    std::int64_t baseLength = 0; // the text the first edit applies to: the file's, or 0
};

struct JournalEdit {
    std::int64_t changedMs = 0;
    std::int64_t start = 0;
    std::int64_t removed = 0;
    std::int64_t lengthAfter = 0; // the text's length after the edit: replay checks it
};

// A snapshot streamed from the document while edits go on: the records streamed so far give
// the text's first Frontier() bytes. Bytes past the frontier are streamed later as they are
// then; an edit that reaches before it is followed.
class SnapshotFrontier {
public:
    std::int64_t Frontier() const { return m_frontier; }
    // The record that streams the next `bytes` bytes (the text's from the frontier on).
    JournalEdit Slice(std::int64_t changedMs, std::int64_t bytes);
    // The record the streamed part gets for an edit of the text; nullopt when it lies past the
    // frontier. `added`: how many bytes the edit put in (all of them go in).
    std::optional<JournalEdit> Follow(const JournalEdit& edit, std::int64_t added);

private:
    std::int64_t m_frontier = 0;
};

// The bytes of records, for the writer. An edit is three pieces so that big added bytes are
// written from where they are: EditHead, the bytes, EditTail.
std::string EncodeJournalStart(const JournalIdentity& identity);
std::string EditHead(const JournalEdit& edit, std::size_t addedBytes);
std::string EditTail(std::string_view head, std::string_view added);
std::string EncodeEdit(const JournalEdit& edit, std::string_view added);
std::string EncodeEncoding(std::int64_t changedMs, const FileEncoding& encoding);

std::uint32_t Crc32(std::uint32_t crc, std::string_view bytes);

// Reads exactly `n` bytes into `into`; false at the end of the bytes. `Remaining` bounds what a
// record may claim, so a damaged length never makes a huge allocation.
struct JournalSource {
    std::function<bool(char* into, std::size_t n)> read;
    std::function<std::uint64_t()> remaining;
};
JournalSource SourceOf(std::string_view bytes);

// Walks the records of a journal in order, each only once it has been checked whole.
struct JournalVisitor {
    std::function<void(const JournalIdentity&)> identity;
    std::function<void(const JournalEdit&, std::string_view added)> edit;
    std::function<void(std::int64_t changedMs, const FileEncoding&)> encoding;
};
struct JournalScan {
    bool journal = false;           // the magic and a whole identity record are there
    JournalIdentity identity;
    FileEncoding encoding;          // the last one said
    std::int64_t lastChangedMs = 0; // of the last whole record
    std::int64_t length = 0;        // the text's length after the last whole record
    std::int64_t addedBytes = 0;    // all the edits' added bytes together
    std::uint64_t wholeBytes = 0;   // the file up to the end of its last whole record
    bool cut = false;               // something after that which is not a whole record
    bool consistent = true;         // every edit lay inside the text it applied to
};
// `fileBytes` is the source's whole size, to tell a cut tail.
JournalScan ScanJournal(JournalSource source, std::uint64_t fileBytes, const JournalVisitor& visit = {});

// The text a journal gives back: replayed over `base` (the file's text as the identity says to
// read it, or empty), up to the last whole record. nullopt when an edit does not fit the text.
std::optional<std::string> ReplayJournal(JournalSource source, std::uint64_t fileBytes, std::string base,
                                         std::int64_t reserve = 0);
// Over a file that changed since: only the bytes the edits put in and that are still there,
// in order, in `known`, and the text's whole length in `length`.
bool ReplayWithoutBase(JournalSource source, std::uint64_t fileBytes, std::string& known, std::int64_t& length);

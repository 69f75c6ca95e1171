#pragma once

#include "document/LineScan.h"
#include "document/TextPieces.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// Every byte of the file, in binary. Throws QuorlexError "Cannot open file "%s". %s".
std::string ReadFileBytes(const QString& path);

// Hands the file's bytes to `block` in pieces of at most 64 KiB, in order, until the end or
// until `block` returns false. Throws as ReadFileBytes.
void ReadFileBlocks(const QString& path, const std::function<bool(std::string_view)>& block);

// Only regular files are read: a directory, FIFO, socket or device gives the reason "Not a
// regular file", and opening never waits for a writer.

// Writes exactly these bytes, keeping the file what it was (see SaveFileKeepingIdentity): a
// crash or a full disk in the middle never destroys the old text.
// Throws QuorlexError "Cannot create file "%s". %s".
void WriteFileBytes(const QString& path, std::string_view bytes);

// Removes the file if it is there; silent when it is missing or cannot be removed.
void DeleteFileQuietly(const QString& path);

// How the file breaks its lines; inside the document a line break is always CR LF.
enum class LineBreaks { CrLf, Lf };

// How a text file is written: as the document's bytes, or as UTF-8 of the code page's
// characters (with or without a byte-order mark); with the document's CR LF, or with LF.
// The document itself is always Windows-1254 with CR LF.
struct FileEncoding {
    bool utf8 = false;
    bool byteOrderMark = false;
    LineBreaks lineBreaks = LineBreaks::CrLf;
    bool operator==(const FileEncoding&) const = default;
};

// Lf for bytes that break lines with LF alone: at least one LF and no CR at all.
LineBreaks LineBreaksOf(std::string_view bytes);

// A text file as the document will hold it (line breaks not yet normalised), how it was
// written, and the scan of those bytes made on the way in (so that nothing walks them again).
struct TextFileContents {
    std::string bytes;
    FileEncoding encoding;
    LineScan scan;
};

// Reads a file the user opens. Without `asUtf8` a file that is UTF-8 of the code page's
// characters is decoded and any other file taken as its bytes; true forces UTF-8 (throws
// "Cannot open "%s" as UTF-8. <reason>" when it is not), false forces the bytes. The line
// breaks are told by LineBreaksOf.
TextFileContents ReadTextFile(const QString& path, std::optional<bool> asUtf8 = std::nullopt);
// The same decision over bytes already read (standard input, say); `name` is what the error
// calls them.
TextFileContents DecodeTextFile(std::string bytes, std::optional<bool> asUtf8, const QString& name);

// What a write needs from the program around it, found first on the window's thread, so that
// the write itself can run on a worker (which then touches nothing else of the program).
struct WriteSetup {
    // Where an in-place write keeps the old bytes until it has succeeded (the state folder).
    QString backupFolder;
    // The most bytes of the document that one write hands the system.
    std::size_t chunk = std::size_t{8} << 20;
    // Before each write: how many of the document's bytes have gone to the file so far.
    std::function<void(std::int64_t documentBytesDone)> progress;
};
// The setup of this run: its state folder.
WriteSetup DocumentWriteSetup();

// Writes the document's bytes as `encoding` says (each CR LF as LF for LineBreaks::Lf), as
// WriteFileBytes does, converting a slice at a time: never a second whole copy.
void WriteTextFile(const QString& path, const TextPieces& documentBytes, FileEncoding encoding);
void WriteTextFile(const QString& path, const TextPieces& documentBytes, FileEncoding encoding,
                   const WriteSetup& setup);
// The same for a text in one piece.
void WriteFileBytes(const QString& path, const TextPieces& bytes);

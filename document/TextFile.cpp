#include "document/TextFile.h"

#include "platform/Error.h"
#include "platform/FileSave.h"
#include "platform/MemoryPages.h"
#include "platform/NativePath.h"
#include "platform/ProgramFolder.h"
#include "platform/Utf8Text.h"

#include <QCoreApplication>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

[[noreturn]] void Fail(const char* what, const QString& path, const std::string& why)
{
    throw QuorlexError(Translated("FileError", what) + " \"" + ShownPath(path).toStdString() + "\". " + why);
}

[[noreturn]] void FailOpen(const QString& path, int err) { Fail(QT_TRANSLATE_NOOP("FileError", "Cannot open file"), path, std::strerror(err)); }

std::string NotRegular() { return Translated("FileError", QT_TRANSLATE_NOOP("FileError", "Not a regular file")); }

// Closes the file however the read ends.
struct OpenFile {
    int fd;
    struct stat st {};
    ~OpenFile() { ::close(fd); }
};

// A FIFO, socket or device is not even opened: opening some of them waits for a writer or
// acts on the device. O_NONBLOCK covers one put in the file's place in between.
int OpenRegular(const QString& path, struct stat& st)
{
    const QByteArray native = NativePath(path);
    if (::stat(native.constData(), &st) == 0 && !S_ISREG(st.st_mode))
        Fail(QT_TRANSLATE_NOOP("FileError", "Cannot open file"), path, NotRegular());
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        FailOpen(path, errno);
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int err = errno;
        const bool regular = S_ISREG(st.st_mode);
        ::close(fd);
        if (regular)
            FailOpen(path, err);
        Fail(QT_TRANSLATE_NOOP("FileError", "Cannot open file"), path, NotRegular());
    }
    return fd;
}

// Reads on until the end or until `block` returns false.
void ReadBlocks(const QString& path, int fd, char* buffer, std::size_t size,
                const std::function<bool(std::string_view)>& block)
{
    for (;;) {
        const ssize_t got = ::read(fd, buffer, size);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            FailOpen(path, errno);
        }
        if (got == 0 || !block(std::string_view(buffer, static_cast<std::size_t>(got))))
            break;
    }
}

// The bytes a document becomes in its file, a slice at a time, so that a big document never
// has a second whole copy. Unconverted text goes out as slices of the document's own pieces.
class FileBytes {
public:
    FileBytes(const TextPieces& text, FileEncoding encoding, std::size_t chunk)
        : m_pieces{text.first, text.second}, m_utf8(encoding.utf8), m_mark(encoding.utf8 && encoding.byteOrderMark),
          m_lf(encoding.lineBreaks == LineBreaks::Lf),
          m_slice(std::max<std::size_t>(1, m_utf8 || m_lf ? std::min(chunk, kConvertedSlice) : chunk))
    {
    }

    // How much of the document the slices handed out so far have taken.
    std::int64_t Consumed() const { return m_consumed; }

    std::string_view Next()
    {
        if (!m_utf8 && !m_lf)
            return Slice();
        // One pass over each slice into one buffer, used again for every slice.
        if (m_out.empty())
            m_out.resize(utf8text::EncodedRoom(m_slice + 1)); // a CR that waited comes first
        while (!m_finished) {
            const std::string_view slice = Slice();
            m_finished = slice.empty();
            m_length = 0;
            if (m_mark) { // an empty document with a mark: the mark alone
                m_length = utf8text::EncodeInto(m_out.data(), {}, true);
                m_mark = false;
            }
            if (m_lf)
                WithLf(slice);
            else
                Put(slice);
            if (m_length > 0)
                return std::string_view(m_out.data(), m_length);
        }
        return {};
    }

private:
    // Converted text is built a slice at a time in a buffer of its own: kept small.
    static constexpr std::size_t kConvertedSlice = std::size_t{1} << 20;

    std::string_view Slice()
    {
        for (; m_index < 2; ++m_index, m_at = 0) {
            const std::string_view piece = m_pieces[m_index];
            if (m_at < piece.size()) {
                const std::string_view slice = piece.substr(m_at, m_slice);
                m_at += slice.size();
                m_consumed += static_cast<std::int64_t>(slice.size());
                return slice;
            }
        }
        return {};
    }

    void Put(std::string_view bytes)
    {
        if (bytes.empty())
            return; // an empty piece may have no data at all, which memcpy may not be given
        char* at = m_out.data() + m_length;
        if (m_utf8) {
            m_length += utf8text::EncodeInto(at, bytes);
        } else {
            std::memcpy(at, bytes.data(), bytes.size());
            m_length += bytes.size();
        }
    }

    // Each CR LF as LF; a CR that ends a slice waits to see what follows it.
    void WithLf(std::string_view slice)
    {
        if (m_pendingCr && (slice.empty() || slice.front() != '\n'))
            Put("\r");
        m_pendingCr = false;
        for (std::size_t from = 0;;) {
            const std::size_t cr = slice.find('\r', from);
            if (cr == std::string_view::npos) {
                Put(slice.substr(from));
                break;
            }
            if (cr + 1 == slice.size()) {
                Put(slice.substr(from, cr - from));
                m_pendingCr = true;
                break;
            }
            const bool pair = slice[cr + 1] == '\n';
            Put(slice.substr(from, cr - from + (pair ? 0 : 1)));
            from = cr + 1;
        }
    }

    std::string_view m_pieces[2];
    int m_index = 0;
    std::size_t m_at = 0;
    bool m_utf8, m_mark, m_lf;
    std::size_t m_slice;
    std::int64_t m_consumed = 0;
    bool m_pendingCr = false;
    bool m_finished = false;
    std::string m_out; // room for one converted slice
    std::size_t m_length = 0;
};

void WriteConverted(const QString& path, const TextPieces& text, FileEncoding encoding, const WriteSetup& setup)
{
    FileBytes out(text, encoding, setup.chunk);
    // Each piece is on disk before the next is asked for, so what was consumed has been written.
    auto next = [&] {
        if (setup.progress)
            setup.progress(out.Consumed());
        return out.Next();
    };
    SaveFileKeepingIdentity(path, next, SaveOptions{setup.backupFolder, {}});
}

} // namespace

namespace {

using Offset = std::int64_t;

// A little room beyond the file: the document keeps its edit gap there, so the first key typed
// into a big file does not copy the whole text to make one.
std::size_t RoomFor(std::size_t size) { return size + std::min<std::size_t>(size / 32 + 4096, std::size_t{4} << 20); }

// A buffer for a big file, in huge pages where the system grants them (see memorypages).
void ReserveFor(std::string& bytes, Offset size)
{
    if (size <= 0)
        return;
    bytes.reserve(RoomFor(static_cast<std::size_t>(size)));
    memorypages::AdviseHuge(bytes.data(), bytes.capacity());
}

// One read: small enough that its bytes are still in the processor's cache when scanned.
constexpr std::size_t kPiece = std::size_t{256} << 10;

// Every byte of the file with its scan made on the way in, so that opening walks the bytes once.
// One thread: reading a big file in two halves at once was measured slower (the cost is the
// first touch of the new memory, which a second thread only contends for).
struct ScannedFile {
    std::string bytes;
    LineScan scan;
};

ScannedFile ReadScannedFile(const QString& path)
{
    struct stat st {};
    const OpenFile file{OpenRegular(path, st)};
    ScannedFile read;
    ReserveFor(read.bytes, st.st_size);
    std::vector<LineScanPart> parts;
    parts.emplace_back(0, LineStartRoom(st.st_size));
    std::string piece(kPiece, '\0');
    ReadBlocks(path, file.fd, piece.data(), piece.size(), [&](std::string_view block) {
        read.bytes.append(block);
        parts.front().Feed(read.bytes.data(), static_cast<Offset>(read.bytes.size()));
        return true;
    });
    read.scan = JoinLineScan(std::move(parts));
    return read;
}

// The encoding a file's bytes are read in, by their scan (see ReadTextFile).
TextFileContents Decide(std::string bytes, LineScan scan, std::optional<bool> asUtf8, const QString& name)
{
    TextFileContents file{std::move(bytes), {}, std::move(scan)};
    // As LineBreaksOf: at least one LF and no CR at all.
    file.encoding.lineBreaks = !file.scan.anyCr && file.scan.anyLf ? LineBreaks::Lf : LineBreaks::CrLf;
    if (asUtf8 == false)
        return file;
    // Without a byte beyond ASCII there is neither a multi-byte character nor a byte-order mark.
    if (file.scan.beyondAscii) {
        if (auto decoded = utf8text::DecodeIfQualifies(file.bytes)) {
            file.bytes = std::move(decoded->bytes);
            file.scan = ScanText(file.bytes);
            file.encoding.utf8 = true;
            file.encoding.byteOrderMark = decoded->byteOrderMark;
            return file;
        }
    }
    if (asUtf8 == true)
        throw QuorlexError(QCoreApplication::translate("TextFile", "Cannot open \"%1\" as UTF-8. %2")
                               .arg(ShownPath(name), QString::fromStdString(utf8text::WhyNotUtf8(file.bytes)))
                               .toStdString());
    return file;
}

} // namespace

std::string ReadFileBytes(const QString& path)
{
    struct stat st {};
    const OpenFile file{OpenRegular(path, st)};
    std::string bytes;
    ReserveFor(bytes, st.st_size);
    char buffer[1 << 16];
    ReadBlocks(path, file.fd, buffer, sizeof buffer, [&](std::string_view block) {
        bytes.append(block);
        return true;
    });
    return bytes;
}

void ReadFileBlocks(const QString& path, const std::function<bool(std::string_view)>& block)
{
    struct stat st {};
    const OpenFile file{OpenRegular(path, st)};
    std::string buffer(std::size_t{1} << 16, '\0');
    ReadBlocks(path, file.fd, buffer.data(), buffer.size(), block);
}

WriteSetup DocumentWriteSetup() { return WriteSetup{ProgramStateFolder(), WriteSetup{}.chunk, {}}; }

void WriteFileBytes(const QString& path, const TextPieces& bytes) { WriteConverted(path, bytes, {}, DocumentWriteSetup()); }

void WriteFileBytes(const QString& path, std::string_view bytes) { WriteFileBytes(path, TextPieces{bytes, {}}); }

LineBreaks LineBreaksOf(std::string_view bytes)
{
    return bytes.find('\r') == std::string_view::npos && bytes.find('\n') != std::string_view::npos ? LineBreaks::Lf
                                                                                                     : LineBreaks::CrLf;
}

TextFileContents ReadTextFile(const QString& path, std::optional<bool> asUtf8)
{
    ScannedFile read = ReadScannedFile(path);
    return Decide(std::move(read.bytes), std::move(read.scan), asUtf8, path);
}

TextFileContents DecodeTextFile(std::string bytes, std::optional<bool> asUtf8, const QString& name)
{
    LineScan scan = ScanText(bytes);
    return Decide(std::move(bytes), std::move(scan), asUtf8, name);
}

void WriteTextFile(const QString& path, const TextPieces& documentBytes, FileEncoding encoding)
{
    WriteConverted(path, documentBytes, encoding, DocumentWriteSetup());
}

void WriteTextFile(const QString& path, const TextPieces& documentBytes, FileEncoding encoding,
                   const WriteSetup& setup)
{
    WriteConverted(path, documentBytes, encoding, setup);
}

void DeleteFileQuietly(const QString& path) { ::unlink(NativePath(path).constData()); }

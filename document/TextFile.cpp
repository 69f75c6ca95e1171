#include "document/TextFile.h"

#include "platform/Error.h"
#include "platform/Utf8Text.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

[[noreturn]] void Fail(const char* what, const QString& path, int err)
{
    throw QuorlexError(std::string(what) + " \"" + path.toStdString() + "\". " + std::strerror(err));
}

} // namespace

namespace {

// A big text is read into huge pages where the system grants them on request: a page fault
// for every 2 MB instead of every 4 KB, which is most of the cost of reading a big file.
void AdviseHugePages(std::string& bytes)
{
    constexpr std::uintptr_t kPage = 4096;
    constexpr std::uintptr_t kHuge = std::uintptr_t{2} << 20;
    const auto start = reinterpret_cast<std::uintptr_t>(bytes.data());
    const std::uintptr_t begin = (start + kPage - 1) & ~(kPage - 1);
    const std::uintptr_t end = (start + bytes.capacity()) & ~(kPage - 1);
    if (end > begin + 2 * kHuge)
        ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
}

} // namespace

std::string ReadFileBytes(const QString& path)
{
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        Fail("Cannot open file", path, errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        const int err = S_ISDIR(st.st_mode) ? EISDIR : errno;
        ::close(fd);
        Fail("Cannot open file", path, err);
    }
    std::string bytes;
    // A little room beyond the file: the document keeps its edit gap there, so the first key
    // typed into a big file does not copy the whole text to make one.
    if (st.st_size > 0) {
        const auto size = static_cast<std::size_t>(st.st_size);
        bytes.reserve(size + std::min<std::size_t>(size / 32 + 4096, std::size_t{4} << 20));
        AdviseHugePages(bytes);
    }
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            const int err = errno;
            ::close(fd);
            Fail("Cannot open file", path, err);
        }
        if (got == 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return bytes;
}

void ReadFileBlocks(const QString& path, const std::function<bool(std::string_view)>& block)
{
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        Fail("Cannot open file", path, errno);
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode))
        Fail("Cannot open file", path, S_ISDIR(st.st_mode) ? EISDIR : errno);
    std::string buffer(std::size_t{1} << 16, '\0');
    for (;;) {
        const ssize_t got = ::read(fd, buffer.data(), buffer.size());
        if (got < 0) {
            if (errno == EINTR)
                continue;
            Fail("Cannot open file", path, errno);
        }
        if (got == 0 || !block(std::string_view(buffer.data(), static_cast<std::size_t>(got))))
            break;
    }
}

namespace {

// Writes the pieces `next` hands out, in order, until it gives an empty one; the old file is
// replaced only once every byte is on disk.
void WriteAtomically(const QString& path, const std::function<std::string_view()>& next)
{
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        Fail("Cannot create file", path, errno ? errno : EACCES);
    for (std::string_view piece = next(); !piece.empty(); piece = next()) {
        const qint64 size = static_cast<qint64>(piece.size());
        errno = 0;
        if (file.write(piece.data(), size) != size) {
            const int err = errno ? errno : EIO;
            file.cancelWriting();
            Fail("Cannot create file", path, err);
        }
    }
    errno = 0;
    if (!file.commit())
        Fail("Cannot create file", path, errno ? errno : EIO);
}

} // namespace

void WriteFileBytes(const QString& path, const TextPieces& bytes)
{
    int index = 0;
    WriteAtomically(path, [&]() -> std::string_view {
        while (index < 2) {
            const std::string_view piece = index++ == 0 ? bytes.first : bytes.second;
            if (!piece.empty())
                return piece;
        }
        return {};
    });
}

void WriteFileBytes(const QString& path, std::string_view bytes) { WriteFileBytes(path, TextPieces{bytes, {}}); }

TextFileContents ReadTextFile(const QString& path, std::optional<bool> asUtf8)
{
    return DecodeTextFile(ReadFileBytes(path), asUtf8, path);
}

TextFileContents DecodeTextFile(std::string bytes, std::optional<bool> asUtf8, const QString& name)
{
    TextFileContents file{std::move(bytes), {}};
    if (asUtf8 == false)
        return file;
    if (auto decoded = utf8text::DecodeIfQualifies(file.bytes)) {
        file.bytes = std::move(decoded->bytes);
        file.encoding = {true, decoded->byteOrderMark};
    } else if (asUtf8 == true) {
        throw QuorlexError("Cannot open \"" + name.toStdString() + "\" as UTF-8. " + utf8text::WhyNotUtf8(file.bytes));
    }
    return file;
}

void WriteTextFile(const QString& path, const TextPieces& documentBytes, FileEncoding encoding)
{
    if (!encoding.utf8) {
        WriteFileBytes(path, documentBytes);
        return;
    }
    // Encoded a slice at a time, so a big document never has a second whole copy.
    constexpr std::size_t kSlice = std::size_t{1} << 20;
    std::string encoded;
    bool mark = encoding.byteOrderMark;
    int index = 0;
    std::size_t at = 0;
    WriteAtomically(path, [&]() -> std::string_view {
        for (;;) {
            const std::string_view piece = index == 0 ? documentBytes.first : documentBytes.second;
            if (at < piece.size()) {
                const std::string_view slice = piece.substr(at, kSlice);
                at += slice.size();
                encoded = utf8text::Encode(slice, mark);
                mark = false;
                return encoded;
            }
            if (index == 1)
                break;
            index = 1;
            at = 0;
        }
        if (mark) { // an empty document with a mark: the mark alone
            mark = false;
            encoded = utf8text::Encode({}, true);
            return encoded;
        }
        return {};
    });
}

void DeleteFileQuietly(const QString& path) { QFile::remove(path); }

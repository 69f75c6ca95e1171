#include "cli/TextStreams.h"

#include "document/LineText.h"
#include "platform/Error.h"
#include "platform/Utf8Text.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace cli {
namespace {

const QString kStandardInput = QStringLiteral("standard input");

[[noreturn]] void FailStream(const char* what, int err)
{
    throw QuorlexError(std::string(what) + ". " + std::strerror(err));
}

std::string ReadStandardInput()
{
    std::string bytes;
    struct stat st {};
    if (::fstat(STDIN_FILENO, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0)
        bytes.reserve(static_cast<std::size_t>(st.st_size));
    constexpr std::size_t kBlock = std::size_t{1} << 16;
    for (;;) {
        const std::size_t at = bytes.size();
        bytes.resize(at + kBlock);
        const ssize_t got = ::read(STDIN_FILENO, bytes.data() + at, kBlock);
        if (got < 0 && errno == EINTR) {
            bytes.resize(at);
            continue;
        }
        if (got < 0)
            FailStream("Cannot read standard input", errno);
        bytes.resize(at + static_cast<std::size_t>(got));
        if (got == 0)
            break;
    }
    return bytes;
}

bool HasCrLf(std::string_view text)
{
    for (std::size_t at = text.find('\r'); at != std::string_view::npos; at = text.find('\r', at + 1))
        if (at + 1 < text.size() && text[at + 1] == '\n')
            return true;
    return false;
}

void WriteAll(std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t put = ::write(STDOUT_FILENO, bytes.data(), bytes.size());
        if (put < 0 && errno == EINTR)
            continue;
        if (put < 0)
            FailStream("Cannot write to standard output", errno);
        bytes.remove_prefix(static_cast<std::size_t>(put));
    }
}

void WriteStandardOutput(std::string_view document, FileEncoding encoding)
{
    if (!encoding.utf8) {
        WriteAll(document);
        return;
    }
    // A slice at a time, so a big text never has a second whole copy.
    constexpr std::size_t kSlice = std::size_t{1} << 20;
    bool mark = encoding.byteOrderMark;
    if (document.empty() && mark)
        WriteAll(utf8text::Encode({}, true));
    for (std::size_t at = 0; at < document.size(); at += kSlice) {
        WriteAll(utf8text::Encode(document.substr(at, kSlice), mark));
        mark = false;
    }
}

} // namespace

InputText ReadInput(const Request& request)
{
    TextFileContents file;
    if (request.FromStandardInput())
        file = DecodeTextFile(ReadStandardInput(), request.readUtf8, kStandardInput);
    else
        file = ReadTextFile(QFile::decodeName(QByteArray::fromStdString(request.input)), request.readUtf8);
    InputText input;
    input.encoding = file.encoding;
    input.hadCrLf = HasCrLf(file.bytes);
    if (HasLoneLineBreak(file.bytes))
        input.document = NormalizeLineBreaks(file.bytes);
    else
        input.document = std::move(file.bytes);
    return input;
}

void UseLfBreaks(std::string& text)
{
    char* const data = text.data();
    const std::size_t n = text.size();
    std::size_t out = 0;
    std::size_t in = 0;
    while (in < n) {
        const void* hit = std::memchr(data + in, '\r', n - in);
        const std::size_t cr = hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - data) : n;
        if (out != in)
            std::memmove(data + out, data + in, cr - in);
        out += cr - in;
        in = cr;
        if (in >= n)
            break;
        if (in + 1 < n && data[in + 1] == '\n')
            ++in; // the CR of a pair goes; its LF is copied with the next stretch
        else
            data[out++] = data[in++];
    }
    text.resize(out);
}

void WriteOutput(const Request& request, std::string document, const InputText& input)
{
    if (!request.crlf.value_or(input.hadCrLf))
        UseLfBreaks(document);
    FileEncoding encoding = input.encoding;
    if (request.writeUtf8 && *request.writeUtf8 != encoding.utf8)
        encoding = {*request.writeUtf8, false};
    // The breaks were chosen above: the file is written as the document now holds them.
    encoding.lineBreaks = LineBreaks::CrLf;
    const std::string& path = request.inPlace ? request.input : request.output;
    if (path.empty())
        WriteStandardOutput(document, encoding);
    else
        WriteTextFile(QFile::decodeName(QByteArray::fromStdString(path)), TextPieces{document, {}}, encoding);
}

} // namespace cli

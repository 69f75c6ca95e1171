#include "extract/ExtractionScript.h"

#include "document/TextFile.h"
#include "extract/ExtractionResult.h"
#include "platform/PrivateFile.h"
#include "platform/IntegerConversion.h"
#include "platform/Utf8Text.h"
#include "platform/Cp1254.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>

namespace {

constexpr std::string_view kUnknownLine = "UNKNOWN-LINE";

// 1-based position of the first occurrence of x in s; 0 when absent or x is empty.
std::int64_t Pos(std::string_view x, std::string_view s)
{
    if (x.empty())
        return 0;
    const std::size_t at = s.find(x);
    return at == std::string_view::npos ? 0 : static_cast<std::int64_t>(at) + 1;
}

// The substring rule: a start below 1 counts as 1 with the count unchanged; a start past the
// end or a negative count gives nothing; the count is cut at the end of s. 64-bit, so the
// differences of two 32-bit positions cannot wrap round.
std::string_view Sub(std::string_view s, std::int64_t i, std::int64_t c)
{
    const auto len = static_cast<std::int64_t>(s.size());
    if (s.empty())
        return {};
    if (i < 1)
        i = 1;
    if (i > len || c < 0)
        return {};
    return s.substr(static_cast<std::size_t>(i - 1), static_cast<std::size_t>(std::min(c, len - i + 1)));
}

bool LineOf(const SourceLines& source, std::int32_t n, std::string_view& line)
{
    if (n < 0 || n >= source.Count())
        return false;
    line = source.Get(n);
    return true;
}

// Notices are bytes of the code page, as the document is.
std::string Notice(const char* source) { return cp1254::Encode(QCoreApplication::translate("ExtractionScript", source)); }

void NotFound(std::string_view marker, const NoticeOperation& notice)
{
    notice(cp1254::Encode(QCoreApplication::translate("ExtractionScript", "%1 does not exist.").arg(cp1254::Decode(marker))));
}

enum class Kind { Plain, Url, Line, Part1, Part2, Part3, Part4 };

// The first keyword that occurs anywhere in the line decides, in this fixed order.
Kind KindOf(std::string_view line)
{
    struct Keyword {
        std::string_view text;
        Kind kind;
    };
    static constexpr Keyword kKeywords[] = {
        {"$GETURL[", Kind::Url},           {"$GETLINE[", Kind::Line},         {"$GETPARTOFLINE1[", Kind::Part1},
        {"$GETPARTOFLINE2[", Kind::Part2}, {"$GETPARTOFLINE3[", Kind::Part3}, {"$GETPARTOFLINE4[", Kind::Part4},
    };
    // Every keyword starts with "$GET": lines without it, the usual plain ones, skip the rest.
    if (line.find("$GET") == std::string_view::npos)
        return Kind::Plain;
    for (const Keyword& k : kKeywords)
        if (line.find(k.text) != std::string_view::npos)
            return k.kind;
    return Kind::Plain;
}

constexpr qint64 kLargestConvertedPage = qint64{64} << 20;

// Appends the page in "temp.txt" line by line, each line followed by CR LF, as a StringList
// would read it, but block by block: a big page is held once, in the output, not twice more as
// the file's bytes and as a list of lines.
void AppendFetched(std::string& out, const std::string& url, const QString& path, const FetchOperation& fetch)
{
    fetch(url, path);
    // Room for the page and a CR before each LF of it (lines of 16 bytes on average): growing
    // by doubling would, for a moment, hold the page twice over.
    const qint64 size = QFileInfo(path).size();
    out.reserve(out.size() + static_cast<std::size_t>(size + size / 16));
    bool lineOpen = false;  // bytes of a line without its break yet
    bool afterCr = false;   // the last byte was a CR: an LF now completes that break
    const auto feed = [&](std::string_view block) {
        for (std::size_t i = 0; i < block.size();) {
            const std::size_t stop = block.find_first_of(std::string_view("\r\n\0", 3), i);
            if (stop != i) {
                const std::size_t end = stop == std::string_view::npos ? block.size() : stop;
                out.append(block.substr(i, end - i));
                lineOpen = true;
                afterCr = false;
                i = end;
                continue;
            }
            const char c = block[i++];
            if (c == '\0')
                return false; // the text ends at the first NUL
            if (c == '\n' && afterCr) {
                afterCr = false;
                continue;
            }
            out += "\r\n";
            lineOpen = false;
            afterCr = c == '\r';
        }
        return true;
    };
    // A page of UTF-8 that the code page can hold whole enters as its Windows-1254 bytes
    // ("temp.txt" keeps what arrived). Deciding needs the whole body, so a page too big to be
    // held twice is taken as its bytes.
    if (size <= kLargestConvertedPage) {
        std::string body = ReadFileBytes(path);
        if (auto decoded = utf8text::DecodeIfQualifies(body)) {
            std::string().swap(body);
            feed(decoded->bytes);
        } else {
            feed(body);
        }
    } else {
        ReadFileBlocks(path, feed);
    }
    if (lineOpen)
        out += "\r\n";
}

// TrimBoth without a copy: the output may hold a whole page.
void TrimInPlace(std::string& text)
{
    const std::string_view kept = TrimBoth(text);
    const std::size_t from = static_cast<std::size_t>(kept.data() - text.data());
    const std::size_t size = kept.size();
    text.erase(0, from);
    text.resize(size);
}

} // namespace

std::string_view GetLine(const SourceLines& source, std::int32_t n)
{
    std::string_view s;
    return LineOf(source, n, s) ? s : kUnknownLine;
}

std::string_view GetPartOfLine1(const SourceLines& source, std::int32_t n, std::string_view startText,
                                std::string_view stopText, const NoticeOperation& notice)
{
    std::string_view s;
    if (!LineOf(source, n, s))
        return kUnknownLine;
    const std::int64_t p = Pos(startText, s);
    if (p == 0)
        NotFound(startText, notice);
    // The stop text is looked for behind the first character of the start text, and its
    // position there is the count.
    const std::int64_t q = Pos(stopText, s.substr(static_cast<std::size_t>(p)));
    if (q == 0)
        NotFound(stopText, notice);
    return Sub(s, p, q);
}

std::string_view GetPartOfLine2(const SourceLines& source, std::int32_t n, std::int32_t startPos, std::int32_t stopPos,
                                const NoticeOperation& notice)
{
    std::string_view s;
    if (!LineOf(source, n, s))
        return kUnknownLine;
    const auto len = static_cast<std::int64_t>(s.size());
    if (len < startPos)
        notice(Notice(QT_TRANSLATE_NOOP("ExtractionScript", "Start position is too big for that line.")));
    if (len < stopPos)
        notice(Notice(QT_TRANSLATE_NOOP("ExtractionScript", "Stop position is too big for that line.")));
    if (stopPos < startPos)
        notice(Notice(QT_TRANSLATE_NOOP("ExtractionScript", "Stop position must be bigger than start position")));
    return Sub(s, startPos, static_cast<std::int64_t>(stopPos) - startPos);
}

std::string_view GetPartOfLine3(const SourceLines& source, std::int32_t n, std::int32_t startPos,
                                std::string_view stopText, const NoticeOperation& notice)
{
    std::string_view s;
    if (!LineOf(source, n, s))
        return kUnknownLine;
    const std::int64_t q = Pos(stopText, s);
    if (q == 0)
        NotFound(stopText, notice);
    return Sub(s, startPos, q - startPos);
}

std::string_view GetPartOfLine4(const SourceLines& source, std::int32_t n, std::string_view startText,
                                std::int32_t stopPos, const NoticeOperation& notice)
{
    std::string_view s;
    if (!LineOf(source, n, s))
        return kUnknownLine;
    const std::int64_t p = Pos(startText, s);
    if (p == 0)
        NotFound(startText, notice);
    return Sub(s, p, stopPos - p);
}

std::string RunExtractionScript(const LineView& script, const SourceLines& source, const QString& fetchFile,
                                const FetchOperation& fetch, const NoticeOperation& notice)
{
    std::string out;
    for (int i = 0; i < script.Count(); ++i) {
        const std::string_view L = script.Get(i);
        const Kind kind = KindOf(L);
        // Arguments sit at fixed columns, as if the keyword began the line, and end at the
        // first separator anywhere in it.
        const std::int64_t close = Pos("]", L);
        switch (kind) {
        case Kind::Plain:
            out += L;
            break;
        case Kind::Url:
            AppendFetched(out, std::string(Sub(L, 9, close - 9)), fetchFile, fetch);
            break;
        case Kind::Line:
            out += GetLine(source, StrToInt(Sub(L, 10, close - 10)));
            break;
        default: {
            const std::int64_t semi = Pos(";", L);
            const std::int64_t comma = Pos(",", L);
            const std::int32_t n = StrToInt(Sub(L, 17, semi - 17));
            const std::string_view a = Sub(L, semi + 1, comma - semi - 1);
            const std::string_view b = Sub(L, comma + 1, close - comma - 1);
            if (kind == Kind::Part1) {
                out += GetPartOfLine1(source, n, a, b, notice);
            } else if (kind == Kind::Part2) {
                const std::int32_t start = StrToInt(a);
                const std::int32_t stop = StrToInt(b);
                out += GetPartOfLine2(source, n, start, stop, notice);
            } else if (kind == Kind::Part3) {
                out += GetPartOfLine3(source, n, StrToInt(a), b, notice);
            } else {
                out += GetPartOfLine4(source, n, a, StrToInt(b), notice);
            }
        }
        }
        out += "\r\n";
    }
    TrimInPlace(out);
    return out;
}

void LoadExtractionResult(std::string result, const QString& path,
                          const std::function<void(const QString& path)>& load)
{
    result = ExtractionDocumentText(std::move(result));
    WritePrivateFileOrThrow(path, result);
    std::string().swap(result); // the document is about to hold all of it again
    struct Remove {
        const QString& path;
        ~Remove() { DeleteFileQuietly(path); }
    } remove{path};
    load(path);
}

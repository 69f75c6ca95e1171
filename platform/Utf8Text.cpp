#include "platform/Utf8Text.h"

#include "platform/Cp1254.h"

#include <QCoreApplication>

#include <array>
#include <cstdint>
#include <cstring>

namespace utf8text {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

enum class Fault { None, Invalid, OutsideTable };

// Walks `text` as UTF-8; appends the Windows-1254 byte of each character to `out` when given.
// Stops at the first fault and reports its offset.
Fault Walk(std::string_view text, std::string* out, std::size_t& at, bool& multiByte)
{
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    at = 0;
    while (at < n) {
        const unsigned char b = p[at];
        if (b < 0x80) {
            // ASCII runs are the common case: find their end eight bytes at a time and copy them
            // in one step.
            std::size_t end = at + 1;
            for (std::uint64_t word = 0; end + 8 <= n; end += 8) {
                std::memcpy(&word, p + end, 8);
                if (word & 0x8080808080808080u)
                    break;
            }
            while (end < n && p[end] < 0x80)
                ++end;
            if (out)
                out->append(text.data() + at, end - at);
            at = end;
            continue;
        }
        std::uint32_t cp = 0;
        std::size_t len = 0;
        if (b >= 0xC2 && b <= 0xDF) {
            cp = b & 0x1Fu;
            len = 2;
        } else if (b >= 0xE0 && b <= 0xEF) {
            cp = b & 0x0Fu;
            len = 3;
        } else if (b >= 0xF0 && b <= 0xF4) {
            cp = b & 0x07u;
            len = 4;
        } else {
            return Fault::Invalid;
        }
        if (at + len > n)
            return Fault::Invalid;
        for (std::size_t k = 1; k < len; ++k) {
            const unsigned char c = p[at + k];
            if ((c & 0xC0) != 0x80)
                return Fault::Invalid;
            cp = (cp << 6) | (c & 0x3Fu);
        }
        // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
        if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
            (cp >= 0xD800 && cp <= 0xDFFF))
            return Fault::Invalid;
        multiByte = true;
        const int byte = cp > 0xFFFF ? -1 : cp1254::FromUnicode(static_cast<char16_t>(cp));
        if (byte < 0)
            return Fault::OutsideTable;
        if (out)
            out->push_back(static_cast<char>(byte));
        at += len;
    }
    return Fault::None;
}

} // namespace

std::optional<Decoded> DecodeIfQualifies(std::string_view file)
{
    Decoded decoded;
    decoded.byteOrderMark = file.substr(0, kByteOrderMark.size()) == kByteOrderMark;
    const std::string_view body = decoded.byteOrderMark ? file.substr(kByteOrderMark.size()) : file;
    std::size_t at = 0;
    bool multiByte = decoded.byteOrderMark;
    // A first pass without output: most files that are not UTF-8 show it early, and a file that
    // is plain ASCII is then not copied at all.
    if (Walk(body, nullptr, at, multiByte) != Fault::None || !multiByte)
        return std::nullopt;
    decoded.bytes.reserve(body.size());
    Walk(body, &decoded.bytes, at, multiByte);
    return decoded;
}

std::string WhyNotUtf8(std::string_view file)
{
    const bool mark = file.substr(0, kByteOrderMark.size()) == kByteOrderMark;
    const std::size_t skipped = mark ? kByteOrderMark.size() : 0;
    std::size_t at = 0;
    bool multiByte = mark;
    switch (Walk(file.substr(skipped), nullptr, at, multiByte)) {
    case Fault::Invalid:
        return QCoreApplication::translate("Utf8Text", "The file is not valid UTF-8 (at byte %1).").arg(at + skipped).toStdString();
    case Fault::OutsideTable:
        return QCoreApplication::translate("Utf8Text", "The file holds characters that Windows-1254 cannot hold (at byte %1).")
            .arg(at + skipped)
            .toStdString();
    case Fault::None:
        break;
    }
    return multiByte ? std::string() : QCoreApplication::translate("Utf8Text", "The file holds no characters beyond ASCII.").toStdString();
}

std::size_t EncodedRoom(std::size_t cp1254Bytes) { return 3 * cp1254Bytes + kByteOrderMark.size() + 1; }

std::string Encode(std::string_view cp1254Bytes, bool byteOrderMark)
{
    std::string out(EncodedRoom(cp1254Bytes.size()), '\0');
    out.resize(EncodeInto(out.data(), cp1254Bytes, byteOrderMark));
    return out;
}

std::size_t EncodeInto(char* out, std::string_view cp1254Bytes, bool byteOrderMark)
{
    // The UTF-8 form of each of the 256 bytes, built once.
    struct Table {
        std::array<std::array<char, 4>, 256> bytes{};
        std::array<unsigned char, 256> lengths{};
        Table()
        {
            for (int b = 0; b < 256; ++b) {
                const char16_t ch = cp1254::ToUnicode(static_cast<unsigned char>(b));
                auto& out = bytes[static_cast<std::size_t>(b)];
                auto& len = lengths[static_cast<std::size_t>(b)];
                if (ch < 0x80) {
                    out[0] = static_cast<char>(ch);
                    len = 1;
                } else if (ch < 0x800) {
                    out[0] = static_cast<char>(0xC0 | (ch >> 6));
                    out[1] = static_cast<char>(0x80 | (ch & 0x3F));
                    len = 2;
                } else {
                    out[0] = static_cast<char>(0xE0 | (ch >> 12));
                    out[1] = static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
                    out[2] = static_cast<char>(0x80 | (ch & 0x3F));
                    len = 3;
                }
            }
        }
    };
    static const Table table;
    char* d = out;
    if (byteOrderMark) {
        std::memcpy(d, kByteOrderMark.data(), kByteOrderMark.size());
        d += kByteOrderMark.size();
    }
    // Eight ASCII bytes at a time where they come so (most of any text), else one by one.
    const char* p = cp1254Bytes.data();
    const char* const end = p + cp1254Bytes.size();
    while (p < end) {
        std::uint64_t word;
        if (end - p >= 8 && (std::memcpy(&word, p, 8), (word & 0x8080808080808080u) == 0)) {
            std::memcpy(d, p, 8);
            p += 8;
            d += 8;
            continue;
        }
        const auto b = static_cast<unsigned char>(*p++);
        std::memcpy(d, table.bytes[b].data(), 4); // EncodedRoom leaves the fourth byte room

        d += table.lengths[b];
    }
    return static_cast<std::size_t>(d - out);
}

} // namespace utf8text

#include "platform/Cp1254.h"

#include <array>

namespace cp1254 {
namespace {

constexpr std::array<char16_t, 256> kToUnicode = {
#include "platform/Cp1254Table.inc"
};

struct ReverseTable {
    std::array<std::int16_t, 65536> bytes{};
    ReverseTable()
    {
        bytes.fill(-1);
        for (int b = 0; b < 256; ++b)
            bytes[kToUnicode[static_cast<std::size_t>(b)]] = static_cast<std::int16_t>(b);
    }
};

const ReverseTable& Reverse()
{
    static const ReverseTable table;
    return table;
}

} // namespace

char16_t ToUnicode(unsigned char byte) { return kToUnicode[byte]; }

int FromUnicode(char16_t ch) { return Reverse().bytes[ch]; }

QString Decode(std::string_view bytes)
{
    QString out(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* dst = out.data();
    for (char c : bytes)
        *dst++ = QChar(kToUnicode[static_cast<unsigned char>(c)]);
    return out;
}

std::string Encode(QStringView text)
{
    const ReverseTable& rev = Reverse();
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t ch = text[i].unicode();
        if (QChar::isHighSurrogate(ch) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode()))
            ++i; // one character outside the BMP is one '?'
        const int b = rev.bytes[ch];
        out.push_back(b < 0 ? '?' : static_cast<char>(b));
    }
    return out;
}

std::string ToUtf8(std::string_view bytes)
{
    // Messages travel as C strings through std::exception: a byte 0 would cut them short, so it
    // is shown as the control picture the editor uses.
    QString text = Decode(bytes);
    text.replace(QChar(u'\0'), QChar(0x2400));
    return text.toStdString();
}

} // namespace cp1254

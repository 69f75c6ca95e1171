#include "commands/RegexTables.h"

#include "commands/CaselessFold.h"
#include "platform/Cp1254.h"

#include <QChar>

#include <array>
#include <cstddef>

namespace {

// The layout the regular expression library reads: lower-case table, flip-case table, ten
// class bitmaps of 32 bytes, one type byte per character.
constexpr std::size_t kLowerCase = 0;
constexpr std::size_t kFlipCase = 256;
constexpr std::size_t kClassBits = 512;
constexpr std::size_t kTypes = kClassBits + 320;
constexpr std::size_t kLength = kTypes + 256;

enum ClassMap : std::size_t {
    kSpaceMap = 0, kXdigitMap = 32, kDigitMap = 64, kUpperMap = 96, kLowerMap = 128,
    kWordMap = 160, kGraphMap = 192, kPrintMap = 224, kPunctMap = 256, kCntrlMap = 288,
};
enum TypeBit : unsigned char { kSpaceType = 0x01, kLetterType = 0x02, kLowerType = 0x04, kDigitType = 0x08, kWordType = 0x10 };

struct Traits {
    bool space, xdigit, digit, upper, lower, letter, word, graph, print, punct, cntrl;
};

Traits TraitsOf(unsigned char b)
{
    const QChar ch(cp1254::ToUnicode(b));
    Traits t{};
    // Only the ASCII white space, as the library's own tables have it: a no-break space is
    // kept apart on purpose by whoever typed it.
    t.space = b == ' ' || (b >= 9 && b <= 13);
    t.digit = b >= '0' && b <= '9';
    t.xdigit = t.digit || (b >= 'A' && b <= 'F') || (b >= 'a' && b <= 'f');
    t.letter = ch.isLetter();
    t.upper = ch.isUpper();
    t.lower = ch.isLower();
    // "alpha" and "alnum" are derived from this map by the library: letters, digits and '_' only.
    t.word = t.letter || t.digit || b == '_';
    t.print = ch.isPrint();
    t.graph = t.print && !ch.isSpace();
    t.punct = t.graph && !t.letter && !t.digit;
    t.cntrl = ch.category() == QChar::Other_Control;
    return t;
}

std::array<unsigned char, kLength> Build()
{
    std::array<unsigned char, kLength> tables{};
    const caseless::Table& fold = caseless::Fold();
    const caseless::Table& partner = caseless::Partner();
    for (int i = 0; i < 256; ++i) {
        const auto b = static_cast<unsigned char>(i);
        tables[kLowerCase + b] = fold[b];
        tables[kFlipCase + b] = partner[b];
        const Traits t = TraitsOf(b);
        auto mark = [&](bool in, ClassMap map) {
            if (in)
                tables[kClassBits + map + b / 8] |= static_cast<unsigned char>(1u << (b % 8));
        };
        mark(t.space, kSpaceMap);
        mark(t.xdigit, kXdigitMap);
        mark(t.digit, kDigitMap);
        mark(t.upper, kUpperMap);
        mark(t.lower, kLowerMap);
        mark(t.word, kWordMap);
        mark(t.graph, kGraphMap);
        mark(t.print, kPrintMap);
        mark(t.punct, kPunctMap);
        mark(t.cntrl, kCntrlMap);
        unsigned char type = 0;
        type |= t.space ? kSpaceType : 0;
        type |= t.letter ? kLetterType : 0;
        type |= t.lower ? kLowerType : 0;
        type |= t.digit ? kDigitType : 0;
        type |= t.word ? kWordType : 0;
        tables[kTypes + b] = type;
    }
    return tables;
}

} // namespace

const unsigned char* Cp1254RegexTables()
{
    static const std::array<unsigned char, kLength> tables = Build();
    return tables.data();
}

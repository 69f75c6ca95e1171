#include "commands/CaseConversion.h"
#include "document/LineText.h"

#include <gtest/gtest.h>

namespace {

struct CaseCase {
    const char* name;
    std::string text;
    std::string lower;
    std::string upper;
};

class TurkishCase : public testing::TestWithParam<CaseCase> {};

TEST_P(TurkishCase, MapsTheAsciiAndTheSixTurkishPairsOnly)
{
    EXPECT_EQ(ToLowerTurkish(GetParam().text), GetParam().lower);
    EXPECT_EQ(ToUpperTurkish(GetParam().text), GetParam().upper);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TurkishCase,
    testing::Values(
        // İSTANBUL IĞDIR: both I and İ become i.
        CaseCase{"IstanbulIgdir", "\xDDSTANBUL I\xD0" "DIR", "istanbul i\xF0" "dir", "\xDDSTANBUL I\xD0" "DIR"},
        // ılık iğne: both ı and i become I.
        CaseCase{"IlikIgne", "\xFDl\xFDk i\xF0ne", "\xFDl\xFDk i\xF0ne", "ILIK I\xD0NE"},
        CaseCase{"OtherAccentedLettersStay", "\xC9\xE9\xE2\xC2", "\xC9\xE9\xE2\xC2", "\xC9\xE9\xE2\xC2"},
        CaseCase{"AllPairs", "\xC7\xD0\xD6\xDC\xDE\xE7\xF0\xF6\xFC\xFE", "\xE7\xF0\xF6\xFC\xFE\xE7\xF0\xF6\xFC\xFE",
                 "\xC7\xD0\xD6\xDC\xDE\xC7\xD0\xD6\xDC\xDE"},
        CaseCase{"BreaksAndDigitsStay", "A1\r\nb\n", "a1\r\nb\n", "A1\r\nB\n"},
        CaseCase{"Empty", "", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

// The one-pass table against the documented procedure: the ASCII pass, then each Turkish
// letter replaced in turn.
TEST(TurkishCase, EveryByteAsTheStepwiseProcedureGives)
{
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    std::string lower = AsciiLower(all);
    for (auto [from, to] : {std::pair{"\xC7", "\xE7"}, {"\xD0", "\xF0"}, {"\xDD", "i"}, {"\xD6", "\xF6"},
                            {"\xDC", "\xFC"}, {"\xDE", "\xFE"}})
        lower = ReplaceAllOccurrences(lower, from, to);
    std::string upper = AsciiUpper(all);
    for (auto [from, to] : {std::pair{"\xE7", "\xC7"}, {"\xF0", "\xD0"}, {"\xFD", "I"}, {"\xF6", "\xD6"},
                            {"\xFC", "\xDC"}, {"\xFE", "\xDE"}})
        upper = ReplaceAllOccurrences(upper, from, to);
    EXPECT_EQ(ToLowerTurkish(all), lower);
    EXPECT_EQ(ToUpperTurkish(all), upper);
}

struct ReplaceCase {
    const char* name;
    std::string source, pattern, replacement, expected;
};

class ReplaceAll : public testing::TestWithParam<ReplaceCase> {};

TEST_P(ReplaceAll, ReplacesLeftToRightWithoutOverlap)
{
    const ReplaceCase& c = GetParam();
    EXPECT_EQ(ReplaceAllOccurrences(c.source, c.pattern, c.replacement), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ReplaceAll,
                         testing::Values(ReplaceCase{"Grows", "aXbXc", "X", "YY", "aYYbYYc"},
                                         ReplaceCase{"PatternEqualsReplacement", "aXb", "X", "X", "aXb"},
                                         ReplaceCase{"Absent", "abc", "X", "Y", "abc"},
                                         ReplaceCase{"EmptyPatternNeverOccurs", "abc", "", "Y", "abc"},
                                         ReplaceCase{"EmptySource", "", "X", "Y", ""},
                                         ReplaceCase{"NoOverlap", "aaa", "aa", "b", "ba"},
                                         ReplaceCase{"ReplacementNotSearchedAgain", "XX", "X", "XX", "XXXX"},
                                         ReplaceCase{"ToNothing", "XaXX", "X", "", "a"},
                                         ReplaceCase{"AtBothEnds", "XabX", "X", "-", "-ab-"}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace

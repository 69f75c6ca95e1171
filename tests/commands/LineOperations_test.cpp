#include "commands/LineOperations.h"
#include "commands/RandomGenerator.h"
#include "document/StringList.h"
#include "platform/Collation.h"
#include "tests/support/ReferenceQuickSort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

const TextCollator& Turkish()
{
    static const TextCollator collator(QLocale(QLocale::Turkish, QLocale::Turkey));
    return collator;
}

struct SortCase {
    const char* name;
    std::string text;
    std::string expected;
};

class SortLines : public testing::TestWithParam<SortCase> {};

TEST_P(SortLines, GivesTheTrimmedSortedLinesWithOneFinalBreak)
{
    const LineResult r = SortLineList(LineView(GetParam().text), Turkish());
    EXPECT_EQ(r.text, GetParam().expected);
    EXPECT_EQ(r.caret, static_cast<std::int64_t>(r.text.size()));
    EXPECT_TRUE(r.notifies);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SortLines,
    testing::Values(
        // The equal pair b / B is exchanged by the second partition: a stable sort would not.
        SortCase{"EqualLinesInQuicksortOrder", "b\r\nA\r\na\r\nB\r\n", "a\r\nA\r\nB\r\nb\r\n"},
        SortCase{"EmptyLineSortsFirstAndIsTrimmedAway", "c\r\n\r\na\r\n", "a\r\nc\r\n"},
        SortCase{"OnlyTheOuterBlanksOfTheJoinedTextGo", "z  \r\n m \r\n  a \r\n", "a \r\n m \r\nz\r\n"},
        SortCase{"EmptyDocumentGetsOneBreak", "", "\r\n"},
        SortCase{"MissingFinalBreakIsAdded", "b\r\na", "a\r\nb\r\n"},
        SortCase{"AlreadySortedIsRewrittenAsItWas", "a\r\nb\r\n", "a\r\nb\r\n"},
        // Blanks collate: two leading blanks sort before one.
        SortCase{"LeadingBlanksCount", " m\r\n  z\r\n", "z\r\n m\r\n"},
        // Dotless i before i, c before ç, s before ş: the locale decides, not the byte codes.
        SortCase{"TurkishAlphabet", "i\r\n\xFD\r\nh\r\n\xE7\r\nd\r\n\xFE\r\nt\r\n", "\xE7\r\nd\r\nh\r\n\xFD\r\ni\r\n\xFE\r\nt\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// `stem` followed by the numbers 0 .. count - 1 in seven digits, one a line.
std::vector<std::string> Numbered(const char* stem, int count)
{
    std::vector<std::string> lines;
    char digits[16];
    for (int i = 0; i < count; ++i) {
        std::snprintf(digits, sizeof digits, "%07d", i);
        lines.push_back(stem + std::string(digits));
    }
    return lines;
}

std::string Joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& l : lines)
        text += l + "\r\n";
    return text;
}

// Large texts compared line by line: on a mismatch GoogleTest then prints the first lines
// rather than computing a diff of the two whole texts, which takes longer than the sort.
std::vector<std::string> LinesOf(const std::string& text)
{
    const LineView view(text);
    std::vector<std::string> lines;
    for (int i = 0; i < view.Pieces(); ++i)
        lines.emplace_back(view.Get(i));
    return lines;
}

// A file pasted after itself: the quicksort's pivot splits off a line or two at a time.
TEST(SortLines, TwoSortedHalvesOf200000LinesSortWithoutOverflow)
{
    const std::vector<std::string> half = Numbered("word", 100000);
    std::vector<std::string> both = half;
    both.insert(both.end(), half.begin(), half.end());
    std::vector<std::string> expected;
    for (const std::string& l : half) {
        expected.push_back(l);
        expected.push_back(l);
    }
    EXPECT_EQ(LinesOf(SortLineList(LineView(Joined(both)), Turkish()).text), LinesOf(Joined(expected)));
}

struct HalvesCase {
    const char* name;
    const char* firstStem;
    const char* secondStem;
    int perHalf;
    bool withinBudget; // whether the exact procedure stays within the sort's budget
};

class SortHalves : public testing::TestWithParam<HalvesCase> {};

// Two sorted halves are where the procedure is quadratic: up to its budget it decides the
// order of equal lines, beyond it they keep their document order.
TEST_P(SortHalves, GiveTheProcedureOrderWithinTheBudgetAndDocumentOrderBeyond)
{
    const HalvesCase& c = GetParam();
    std::vector<std::string> lines = Numbered(c.firstStem, c.perHalf);
    const std::vector<std::string> second = Numbered(c.secondStem, c.perHalf);
    lines.insert(lines.end(), second.begin(), second.end());
    std::int64_t needed = 0;
    std::vector<std::string> sorted = ReferenceSorted(lines, [&](const std::string& a, const std::string& b) {
        ++needed;
        return Turkish().Compare(a, b);
    });
    ASSERT_EQ(needed <= StringList::SortBudget(lines.size()), c.withinBudget) << needed << " comparisons";
    if (!c.withinBudget) {
        sorted = lines;
        std::stable_sort(sorted.begin(), sorted.end(),
                         [](const std::string& a, const std::string& b) { return Turkish().Compare(a, b) < 0; });
    }
    const std::string joined = Joined(sorted);
    EXPECT_EQ(LinesOf(SortLineList(LineView(Joined(lines)), Turkish()).text),
              LinesOf(std::string(TrimBoth(joined)) + "\r\n"));
}

INSTANTIATE_TEST_SUITE_P(Cases, SortHalves,
                         testing::Values(HalvesCase{"SameLinesTwice", "word", "word", 1000, false},
                                         HalvesCase{"CaseVariantsInTheSecondHalf", "word", "WORD", 400, true},
                                         HalvesCase{"CaseVariantsBeyondTheBudget", "word", "WORD", 1000, false},
                                         HalvesCase{"DottedCapitalAgainstSmallI", "line", "L\xDDNE", 400, true},
                                         HalvesCase{"DottedCapitalBeyondTheBudget", "line", "L\xDDNE", 1000, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// A word list with its upper-case copy appended, at a size where the procedure would need
// some 10^9 comparisons: each word is followed by its capitals, as in the document.
TEST(SortLines, MixedCaseHalvesOf100000LinesKeepDocumentOrderAmongEqualLines)
{
    std::vector<std::string> lines = Numbered("word", 50000);
    const std::vector<std::string> upper = Numbered("WORD", 50000);
    lines.insert(lines.end(), upper.begin(), upper.end());
    std::string expected;
    for (std::size_t i = 0; i < upper.size(); ++i)
        expected += lines[i] + "\r\n" + upper[i] + "\r\n";
    EXPECT_EQ(LinesOf(SortLineList(LineView(Joined(lines)), Turkish()).text), LinesOf(expected));
}

// Where the locale names no language, case is still ignored: the lines of one letter, in
// either case, stay together.
TEST(SortLines, IgnoreCaseInLocalesWithoutALanguage)
{
    const auto fold = [](std::string s) {
        for (char& c : s)
            c = c == 'A' ? 'a' : c == 'B' ? 'b' : c == '\xC9' ? '\xE9' : c;
        return s;
    };
    for (const char* locale : {"C", "C.UTF-8", "POSIX", "xx_YY.UTF-8"}) {
        const LineResult r = SortLineList(LineView("b\r\n\xE9" "clair\r\nA\r\n\xC9" "clair\r\na\r\nB\r\n"),
                                          TextCollator::ForLocaleName(locale));
        EXPECT_EQ(fold(r.text), "a\r\na\r\nb\r\nb\r\n\xE9" "clair\r\n\xE9" "clair\r\n") << locale;
    }
}

TEST(Random, IsTheUpperHalfOfSeedTimesRange)
{
    RandomGenerator r(0);
    EXPECT_EQ(r.Random(10), 0u); // seed 1
    EXPECT_EQ(r.Seed(), 1u);
    EXPECT_EQ(r.Random(1000), 31u); // seed 134775814
    EXPECT_EQ(r.Random(0), 0u);
    RandomGenerator top(0xFFFFFFFFu);
    EXPECT_EQ(top.Random(7), 6u); // seed 4160191484
    EXPECT_EQ(top.Seed(), 0xFFFFFFFFu * 134775813u + 1u);
}

struct ShuffleCase {
    const char* name;
    std::string text;
    std::uint32_t seed;
    std::string expected;
    std::int64_t caret;
    std::vector<int> progress;
};

class Shuffle : public testing::TestWithParam<ShuffleCase> {};

TEST_P(Shuffle, SwapsDrawnPairsAndReportsEachNewPercentage)
{
    const ShuffleCase& c = GetParam();
    RandomGenerator random(c.seed);
    std::vector<int> progress;
    const LineResult r = ShuffleLineList(LineView(c.text), random, [&](int p) { progress.push_back(p); });
    EXPECT_EQ(r.text, c.expected);
    EXPECT_EQ(r.caret, c.caret);
    EXPECT_EQ(progress, c.progress);
    // Two draws per line of the text it started with.
    RandomGenerator reference(c.seed);
    for (int i = 0; i < 2 * LineView(c.text).Count(); ++i)
        reference.Random(1);
    EXPECT_EQ(random.Seed(), reference.Seed());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Shuffle,
    testing::Values(
        ShuffleCase{"OneLineStaysAndShows100", "only\r\n", 99, "only\r\n", 4, {100}},
        ShuffleCase{"ThreeLines", "a\r\nb\r\nc\r\n", 1, "a\r\nb\r\nc\r\n", 1, {33, 66, 100}},
        ShuffleCase{"FiveLinesNoFinalBreak", "a\r\nb\r\nc\r\nd\r\ne", 7, "a\r\ne\r\nc\r\nd\r\nb", 1,
                    {20, 40, 60, 80, 100}},
        // Step 1 swaps the empty line into the last place: Count drops to 2, so the later
        // draws are (1, 0) and (0, 0) from two lines, and the percentage restarts at 0.
        ShuffleCase{"EmptyLineSwappedLastShrinksCount", "a\r\n\r\nc", 12, "c\r\na\r\n", 1, {0, 50, 100}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Shuffle, EmptyDocumentDrawsNothing)
{
    RandomGenerator random(5);
    const LineResult r = ShuffleLineList(LineView(""), random);
    EXPECT_EQ(r.text, "");
    EXPECT_FALSE(r.notifies);
    EXPECT_EQ(random.Seed(), 5u);
}

TEST(Shuffle, KeepsEveryLine)
{
    std::string text;
    for (int i = 0; i < 500; ++i)
        text += "line " + std::to_string(i % 97) + "\r\n";
    RandomGenerator random(2024);
    const LineResult r = ShuffleLineList(LineView(text), random);
    ASSERT_NE(r.text, text);
    auto lines = [](const std::string& t) {
        const LineView v(t);
        std::vector<std::string_view> out;
        for (int i = 0; i < v.Pieces(); ++i)
            out.push_back(v.Get(i));
        std::sort(out.begin(), out.end());
        return out;
    };
    EXPECT_EQ(lines(r.text), lines(text));
}

struct TrimCase {
    const char* name;
    TrimSide side;
    std::string text;
    std::string expected;
    std::int64_t caret;
    bool notifies;
};

class Trim : public testing::TestWithParam<TrimCase> {};

TEST_P(Trim, TrimsEveryLineAndLeavesTheCaretBehindTheLastWritten)
{
    const TrimCase& c = GetParam();
    const LineResult r = TrimEachLine(LineView(c.text), c.side);
    EXPECT_EQ(r.text, c.expected);
    EXPECT_EQ(r.caret, c.caret);
    EXPECT_EQ(r.notifies, c.notifies);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Trim,
    testing::Values(
        // The blank last line empties, stops being counted, and the text ends with its break.
        TrimCase{"RightEmptiesTheLastLine", TrimSide::Right, "a  \r\n  ", "a\r\n", 3, true},
        TrimCase{"LeftTabAndBlank", TrimSide::Left, "\t x ", "x ", 2, true},
        TrimCase{"LeftKeepsCode160", TrimSide::Left, "\xA0x", "\xA0x", 2, true},
        TrimCase{"BothEachLine", TrimSide::Both, " a \r\n\tb\x01\r\n", "a\r\nb\r\n", 4, true},
        TrimCase{"RightKeepsLeadingBlanks", TrimSide::Right, "  a  \r\n", "  a\r\n", 3, true},
        // A lone LF inside a line is one of the trimmed codes.
        TrimCase{"LoneLineFeedAtALineEnd", TrimSide::Both, "a\n \r\nb", "a\r\nb", 4, true},
        TrimCase{"AlreadyTrimmedStillRewrites", TrimSide::Both, "a\r\nb\r\n", "a\r\nb\r\n", 4, true},
        TrimCase{"OnlyEmptyLinesWriteNothing", TrimSide::Both, "\r\n\r\n", "\r\n\r\n", 2, false},
        TrimCase{"EmptyDocument", TrimSide::Both, "", "", 0, false}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace

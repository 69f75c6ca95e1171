#include "analysis/TextStatistics.h"
#include "document/LineText.h"
#include "platform/Collation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace {

using Counts = std::vector<std::pair<std::string, std::int64_t>>;

Counts Entries(const TFrequencyList& list)
{
    Counts out;
    for (const auto& e : list.Entries())
        out.emplace_back(e.Key, e.Count);
    return out;
}

Counts WordsOf(const std::string& text)
{
    const LineView lines(text);
    return Entries(CountWords(lines));
}

struct WordCase {
    const char* name;
    std::string text;
    Counts words; // in order of first appearance
};

class WordRules : public ::testing::TestWithParam<WordCase> {};

TEST_P(WordRules, SplitsAndFolds)
{
    EXPECT_EQ(WordsOf(GetParam().text), GetParam().words);
}

INSTANTIATE_TEST_SUITE_P(
    CountWords, WordRules,
    ::testing::Values(
        WordCase{"apostrophe", "don't", {{"don", 1}, {"t", 1}}},
        WordCase{"hyphen", "e-mail", {{"e", 1}, {"mail", 1}}},
        WordCase{"underscore", "snake_case", {{"snake", 1}, {"case", 1}}},
        WordCase{"dot_between_digits", "3.14", {{"3", 1}, {"14", 1}}},
        WordCase{"digits_are_a_word", "in 2024", {{"in", 1}, {"2024", 1}}},
        WordCase{"digits_inside_letters", "R2D2", {{"r2d2", 1}}},
        WordCase{"ascii_case_folds", "Hello HELLO hello", {{"hello", 3}}},
        WordCase{"multiplication_sign_is_a_letter", "2\xD7" "3", {{"2\xD7" "3", 1}}},
        WordCase{"code_192_and_255_are_letters", "\xC0" "a\xFF", {{"\xC0" "a\xFF", 1}}},
        WordCase{"code_191_separates", "a\xBF" "b", {{"a", 1}, {"b", 1}}},
        WordCase{"code_128_separates", "a\x80" "b", {{"a", 1}, {"b", 1}}},
        WordCase{"no_break_space_separates", "a\xA0" "b", {{"a", 1}, {"b", 1}}},
        WordCase{"no_folding_above_127", "\xC9" "clair \xE9" "clair", {{"\xC9" "clair", 1}, {"\xE9" "clair", 1}}},
        WordCase{"brackets_and_backquote", "[a]`b{c}", {{"a", 1}, {"b", 1}, {"c", 1}}},
        WordCase{"at_sign_and_colon", "x@y:z", {{"x", 1}, {"y", 1}, {"z", 1}}},
        WordCase{"line_break_ends_a_word", "ab\r\ncd", {{"ab", 1}, {"cd", 1}}},
        WordCase{"lone_cr_inside_a_line", "ab\rcd", {{"ab", 1}, {"cd", 1}}},
        WordCase{"byte_0_separates", std::string("ab\0cd", 5), {{"ab", 1}, {"cd", 1}}},
        WordCase{"word_at_line_end_counted", "x y\r\nz", {{"x", 1}, {"y", 1}, {"z", 1}}},
        WordCase{"only_separators", " ,.;\t-\r\n!!", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CountChars, SkipsBlanksFoldsAsciiOnlyAndKeepsFirstAppearance)
{
    const std::string text = std::string("e E\t\xE9\xC9\x01\xA0z", 9) + "\r\nZ\x7F";
    const LineView lines(text);
    const Counts expected = {{"E", 2}, {"\xE9", 1}, {"\xC9", 1}, {"\xA0", 1}, {"Z", 2}, {"\x7F", 1}};
    EXPECT_EQ(Entries(CountChars(lines)), expected);
}

struct TenthsCase {
    std::int64_t v;
    const char* text;
};

class Tenths : public ::testing::TestWithParam<TenthsCase> {};

TEST_P(Tenths, Formats) { EXPECT_EQ(FormatTenths(GetParam().v), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(FormatTenths, Tenths,
                         ::testing::Values(TenthsCase{0, "0.0"}, TenthsCase{5, "0.5"}, TenthsCase{83, "8.3"},
                                           TenthsCase{666, "66.6"}, TenthsCase{1000, "100.0"},
                                           TenthsCase{5000000000001, "500000000000.1"}));

TEST(BuildFrequencyRows, SharesTruncateAndNeedNotAddUp)
{
    const std::string text = "b a b";
    const TFrequencyRows rows = BuildFrequencyRows(CountWords(LineView(text)));
    EXPECT_EQ(rows.Total, 3);
    const std::vector<TFrequencyRow> expected = {{"a", "1", "33.3 %"}, {"b", "2", "66.6 %"}};
    EXPECT_EQ(rows.Rows, expected);
}

TEST(BuildFrequencyRows, OneAmong2001IsZeroPointZero)
{
    TFrequencyList list;
    list.Increment(list.Add("common"), 1999);
    list.Add("rare");
    const TFrequencyRows rows = BuildFrequencyRows(list);
    ASSERT_EQ(rows.Rows.size(), 2u);
    EXPECT_EQ(rows.Rows[0], (TFrequencyRow{"common", "2000", "99.9 %"}));
    EXPECT_EQ(rows.Rows[1], (TFrequencyRow{"rare", "1", "0.0 %"}));
}

TEST(BuildFrequencyRows, TotalBeyond32Bits)
{
    TFrequencyList list;
    list.Increment(list.Add("a"), 3'000'000'000 - 1);
    list.Increment(list.Add("b"), 1'000'000'000 - 1);
    const TFrequencyRows rows = BuildFrequencyRows(list);
    EXPECT_EQ(rows.Total, 4'000'000'000);
    EXPECT_EQ(rows.Rows[0], (TFrequencyRow{"a", "3000000000", "75.0 %"}));
    EXPECT_EQ(rows.Rows[1].Percent, "25.0 %");
}

TEST(BuildFrequencyRows, AlphabeticalNotByFrequency)
{
    const std::string text = "zebra zebra zebra Apple mango apple";
    const TFrequencyRows rows = BuildFrequencyRows(CountWords(LineView(text)));
    ASSERT_EQ(rows.Rows.size(), 3u);
    EXPECT_EQ(rows.Rows[0].Item, "apple");
    EXPECT_EQ(rows.Rows[1].Item, "mango");
    EXPECT_EQ(rows.Rows[2].Item, "zebra");
    EXPECT_EQ(rows.Rows[2].Usage, "3");
}

TEST(BuildFrequencyRows, EmptyListHasNoRowsAndNoDivision)
{
    const TFrequencyRows rows = BuildFrequencyRows(TFrequencyList());
    EXPECT_TRUE(rows.Rows.empty());
    EXPECT_EQ(rows.Total, 0);
}

std::vector<std::string> GeneralValues(const TTextStatistics& s)
{
    std::vector<std::string> out;
    for (const TGeneralRow& r : s.General())
        out.push_back(r.Value);
    return out;
}

TEST(AnalyzeText, WorkedExampleFigureForFigure)
{
    const std::string text = "Hello, hello\r\nHELLO world!";
    const TTextStatistics s = AnalyzeText(LineView(text));

    std::vector<std::string> labels;
    for (const TGeneralRow& r : s.General())
        labels.push_back(r.Label);
    EXPECT_EQ(labels, (std::vector<std::string>{"Size", "Lines", "Words", "Unique Words", "Unique Chars"}));
    EXPECT_EQ(GeneralValues(s), (std::vector<std::string>{"28 bytes", "2", "4", "2", "9"}));

    const std::vector<TFrequencyRow> words = {{"hello", "3", "75.0 %"}, {"world", "1", "25.0 %"}};
    EXPECT_EQ(s.WordRows, words);

    // Punctuation sorts before letters in the collation; letters alphabetically.
    const std::vector<TFrequencyRow> chars = {
        {",", "1", "4.5 %"},  {"!", "1", "4.5 %"},  {"D", "1", "4.5 %"},  {"E", "3", "13.6 %"}, {"H", "3", "13.6 %"},
        {"L", "7", "31.8 %"}, {"O", "4", "18.1 %"}, {"R", "1", "4.5 %"}, {"W", "1", "4.5 %"},
    };
    EXPECT_EQ(s.CharRows, chars);
}

struct GeneralCase {
    const char* name;
    std::string text;
    std::vector<std::string> values;
};

class GeneralFigures : public ::testing::TestWithParam<GeneralCase> {};

TEST_P(GeneralFigures, Match)
{
    EXPECT_EQ(GeneralValues(AnalyzeText(LineView(GetParam().text))), GetParam().values);
}

INSTANTIATE_TEST_SUITE_P(
    AnalyzeText, GeneralFigures,
    ::testing::Values(
        GeneralCase{"empty_document", "", {"0 bytes", "0", "0", "0", "0"}},
        GeneralCase{"one_crlf_is_one_empty_line", "\r\n", {"2 bytes", "1", "0", "0", "0"}},
        GeneralCase{"last_line_counts_a_break", "abc", {"5 bytes", "1", "1", "1", "3"}},
        GeneralCase{"final_break_opens_no_line", "abc\r\n", {"5 bytes", "1", "1", "1", "3"}},
        GeneralCase{"line_of_blanks", "   \t ", {"7 bytes", "1", "0", "0", "0"}},
        GeneralCase{"empty_lines_between", "a\r\n\r\n\r\nb", {"10 bytes", "4", "2", "2", "2"}}),
    [](const auto& info) { return std::string(info.param.name); });

std::vector<std::string> ItemsOf(const std::vector<TFrequencyRow>& rows)
{
    std::vector<std::string> items;
    for (const TFrequencyRow& r : rows)
        items.push_back(r.Item);
    return items;
}

// Keys that differ only in a case the plain folding leaves alone stay next to each other.
TEST(AnalyzeText, TablesIgnoreCaseInTheCLocale)
{
    const TTextStatistics s = AnalyzeText(LineView("zz \xC9" "clair B a \xE9" "clair"), TextCollator::ForLocaleName("C"));
    const std::vector<std::string> words = ItemsOf(s.WordRows);
    ASSERT_EQ(words.size(), 5u);
    EXPECT_EQ(words[0], "a");
    EXPECT_EQ(words[1], "b");
    EXPECT_EQ(std::min(words[2], words[3]) + std::max(words[2], words[3]), "\xC9" "clair\xE9" "clair");
    EXPECT_EQ(words[4], "zz");
    const std::vector<std::string> chars = ItemsOf(s.CharRows);
    ASSERT_EQ(chars.size(), 9u);
    EXPECT_EQ(std::vector<std::string>(chars.begin(), chars.begin() + 3), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(std::min(chars[3], chars[4]) + std::max(chars[3], chars[4]), "\xC9\xE9");
    EXPECT_EQ(std::vector<std::string>(chars.begin() + 5, chars.end()), (std::vector<std::string>{"I", "L", "R", "Z"}));
}

TEST(AnalyzeText, EmptyDocumentHasEmptyTables)
{
    const TTextStatistics s = AnalyzeText(LineView(""));
    EXPECT_TRUE(s.CharRows.empty());
    EXPECT_TRUE(s.WordRows.empty());
}

TEST(TFrequencyList, ManyKeysKeepOrderAndCounts)
{
    TFrequencyList list;
    for (int round = 0; round < 3; ++round)
        for (int i = 0; i < 20000; ++i)
            list.Add("w" + std::to_string(i));
    ASSERT_EQ(list.Size(), 20000);
    for (int i = 0; i < 20000; i += 997) {
        EXPECT_EQ(list[i].Key, "w" + std::to_string(i));
        EXPECT_EQ(list[i].Count, 3);
        EXPECT_EQ(list.Find("w" + std::to_string(i)), i);
    }
    EXPECT_EQ(list.Find("w20000"), -1);
}

TEST(TFrequencyList, KeysCompareByteForByte)
{
    TFrequencyList list;
    list.Add("ab");
    list.Add(std::string_view("ab\0", 3));
    list.Add("AB");
    list.Add("ab");
    ASSERT_EQ(list.Size(), 3);
    EXPECT_EQ(list[0].Count, 2);
    EXPECT_EQ(list.Find(std::string_view("ab\0", 3)), 1);
    EXPECT_EQ(list.Find("a"), -1);
}

} // namespace

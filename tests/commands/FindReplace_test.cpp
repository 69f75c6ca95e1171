#include "commands/FindReplace.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

void PrintTo(const TextSelection& s, std::ostream* os) { *os << "(" << s.start << ", " << s.length << ")"; }

namespace {

struct FindCase {
    const char* name;
    std::string text;
    std::int64_t selStart, selLength;
    std::string pattern;
    std::optional<TextSelection> expected;
};

std::vector<FindCase> FindCases()
{
    return {
        {"first_of_two", "abcabc", 0, 0, "abc", TextSelection{0, 3}},
        {"behind_a_selection_of_the_pattern", "abcabc", 0, 3, "abc", TextSelection{3, 3}},
        {"none_left_behind_the_second", "abcabc", 3, 3, "abc", std::nullopt},
        {"case_matters", "abc", 0, 0, "ABC", std::nullopt},
        {"inside_a_word", "concatenate", 0, 0, "cat", TextSelection{3, 3}},
        {"line_break_counts_two", "a\r\nb", 0, 0, "b", TextSelection{3, 1}},
        {"pattern_across_a_line_break", "a\r\nb", 0, 0, "a\r\nb", TextSelection{0, 4}},
        {"no_wrap_to_the_start", "xab", 2, 1, "a", std::nullopt},
        {"empty_pattern", "abc", 0, 0, "", std::nullopt},
        {"pattern_longer_than_the_rest", "abcd", 2, 0, "cde", std::nullopt},
        {"caret_at_the_end", "abc", 3, 0, "c", std::nullopt},
        {"match_right_at_the_selection_end", "aXb", 0, 1, "X", TextSelection{1, 1}},
        {"high_bytes_compared_exactly", "\xFD\xDD i I", 0, 0, "\xDD", TextSelection{1, 1}},
        {"byte_zero_is_a_character", std::string("a\0b", 3), 0, 0, std::string("\0b", 2), TextSelection{1, 2}},
        {"selection_past_the_end_is_clamped", "abc", 10, 5, "c", std::nullopt},
        {"negative_start_is_clamped", "abc", -4, 0, "a", TextSelection{0, 1}},
    };
}

class FindAfterSelectionTest : public testing::TestWithParam<FindCase> {};

TEST_P(FindAfterSelectionTest, FindsTheNextOccurrence)
{
    const FindCase& c = GetParam();
    EXPECT_EQ(FindAfterSelection(c.text, c.selStart, c.selLength, c.pattern), c.expected);
}

// Every split of the text into two pieces must find what the whole text finds: the seam is
// where a buffer with a gap would fail.
TEST_P(FindAfterSelectionTest, SameResultForEverySeam)
{
    const FindCase& c = GetParam();
    const std::string_view text(c.text);
    for (std::size_t seam = 0; seam <= text.size(); ++seam) {
        const TextPieces pieces{text.substr(0, seam), text.substr(seam)};
        EXPECT_EQ(FindAfterSelection(pieces, c.selStart, c.selLength, c.pattern), c.expected) << "seam " << seam;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, FindAfterSelectionTest, testing::ValuesIn(FindCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FindAfterSelection, RepeatedPressesWalkWithoutOverlap)
{
    const std::string text = "aaaa";
    std::vector<std::int64_t> starts;
    TextSelection sel{0, 0};
    while (const auto found = FindAfterSelection(text, sel.start, sel.length, "aa")) {
        starts.push_back(found->start);
        sel = *found;
    }
    EXPECT_EQ(starts, (std::vector<std::int64_t>{0, 2}));
}

TEST(FindAfterSelection, SeamSearchPrefersTheEarliestOccurrence)
{
    // "xab|ab": the occurrence across the seam (1) comes before the one in the second piece.
    EXPECT_EQ(FindAfterSelection(TextPieces{"xa", "bab"}, 0, 0, "ab"), (TextSelection{1, 2}));
    // Starting inside the lead of the seam skips what lies before the start.
    EXPECT_EQ(FindAfterSelection(TextPieces{"aab", "b"}, 1, 0, "abb"), (TextSelection{1, 3}));
    EXPECT_EQ(FindAfterSelection(TextPieces{"aab", "b"}, 2, 0, "abb"), std::nullopt);
}

TEST(ReplaceAfterSelection, ResumesBehindTheInsertedText)
{
    const auto first = ReplaceAfterSelection("aa", 0, 0, "a", "aa");
    ASSERT_TRUE(first);
    EXPECT_EQ(first->text, "aaa");
    EXPECT_EQ(first->caret, 2);
    const auto second = ReplaceAfterSelection(first->text, first->caret, 0, "a", "aa");
    ASSERT_TRUE(second);
    EXPECT_EQ(second->text, "aaaa");
    EXPECT_EQ(second->caret, 4);
}

TEST(ReplaceAfterSelection, ReplacesOnlyTheNextOccurrence)
{
    const auto result = ReplaceAfterSelection("x cat cat cat", 1, 0, "cat", "dog");
    ASSERT_TRUE(result);
    EXPECT_EQ(result->text, "x dog cat cat");
    EXPECT_EQ(result->caret, 5);
    EXPECT_EQ(result->replaced, (TextSelection{2, 3}));
}

TEST(ReplaceAfterSelection, NeverReplacesTheSelectionItself)
{
    const auto result = ReplaceAfterSelection("abab", 0, 2, "ab", "Z");
    ASSERT_TRUE(result);
    EXPECT_EQ(result->text, "abZ");
    EXPECT_EQ(ReplaceAfterSelection("ab", 0, 2, "ab", "Z"), std::nullopt);
}

TEST(ReplaceAfterSelection, EmptyReplacementDeletes)
{
    const auto result = ReplaceAfterSelection("a\r\nb", 0, 0, "\r\n", "");
    ASSERT_TRUE(result);
    EXPECT_EQ(result->text, "ab");
    EXPECT_EQ(result->caret, 1);
}

} // namespace

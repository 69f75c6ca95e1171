// Replace and Replace All with the dialogs' options, regular expression replacements among them.
#include "commands/CaselessFold.h"
#include "commands/FindReplace.h"
#include "platform/Error.h"
#include "platform/WordChar.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

FindOptions Options(bool regex, bool matchCase = true, bool wholeWord = false)
{
    FindOptions o;
    o.regex = regex;
    o.matchCase = matchCase;
    o.wholeWord = wholeWord;
    return o;
}

struct ReplaceAllCase {
    const char* name;
    std::string text, pattern, replacement;
    FindOptions options;
    std::string expected;
    std::int64_t count, caret;
};

std::vector<ReplaceAllCase> ReplaceAllCases()
{
    const FindOptions plain = Options(false);
    const FindOptions regex = Options(true);
    return {
        {"plain_every_occurrence", "a cat, a Cat, cat", "cat", "dog", plain, "a dog, a Cat, dog", 2, 17},
        {"plain_ignoring_case", "a cat, a Cat", "cat", "dog", Options(false, false), "a dog, a dog", 2, 12},
        {"plain_whole_word", "cat cats cat", "cat", "dog", Options(false, true, true), "dog cats dog", 2, 12},
        {"plain_no_overlap", "aaaaa", "aa", "b", plain, "bba", 2, 2},
        {"plain_replacement_not_searched_again", "aa", "a", "aa", plain, "aaaa", 2, 4},
        {"plain_dollar_is_just_text", "a", "a", "$0$$", plain, "$0$$", 1, 4},
        {"regex_groups_swapped", "1-2 3-4", "(\\d+)-(\\d+)", "$2-$1", regex, "2-1 4-3", 2, 7},
        {"regex_named_group", "in 2024", "(?<year>\\d{4})", "[${year}]", regex, "in [2024]", 1, 9},
        {"regex_group_by_number_in_braces", "ab", "(a)(b)", "${2}${1}", regex, "ba", 1, 2},
        {"regex_dollar_dollar", "a", "a", "$$1", regex, "$1", 1, 2},
        {"regex_lone_dollar_is_text", "a", "a", "$x $", regex, "$x $", 1, 4},
        {"regex_group_that_took_no_part", "ab", "(a)|b", "[$1]", regex, "[a][]", 2, 5},
        {"regex_whole_match", "ab", "b", "<$0>", regex, "a<b>", 1, 4},
        {"regex_empty_matches_move_on", "axc", "x*", "-", regex, "-a--c-", 4, 6},
        {"regex_empty_matches_never_split_crlf", "a\r\nb", "x*", "-", regex, "-a-\r\n-b-", 4, 8},
        {"regex_line_starts", "a\r\nb\r\n", "^", "> ", regex, "> a\r\n> b\r\n", 2, 7},
        {"regex_line_ends", "a\r\nb", "$", "!", regex, "a!\r\nb!", 2, 6},
        {"regex_caseless_turkish", "\xDDstanbul ISTANBUL istanbul", "istanbul", "x", Options(true, false),
         "x ISTANBUL x", 2, 12},
        {"regex_whole_word", "cat cats cat", "c.t", "dog", Options(true, true, true), "dog cats dog", 2, 12},
    };
}

class ReplaceAllTest : public testing::TestWithParam<ReplaceAllCase> {};

TEST_P(ReplaceAllTest, ReplacesEveryOccurrence)
{
    const ReplaceAllCase& c = GetParam();
    const std::string_view text(c.text);
    for (std::size_t seam = 0; seam <= text.size(); ++seam) {
        const auto result =
            ReplaceAll(TextPieces{text.substr(0, seam), text.substr(seam)}, c.pattern, c.replacement, c.options);
        ASSERT_TRUE(result) << "seam " << seam;
        EXPECT_EQ(result->text, c.expected) << "seam " << seam;
        EXPECT_EQ(result->count, c.count);
        EXPECT_EQ(result->caret, c.caret);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ReplaceAllTest, testing::ValuesIn(ReplaceAllCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ReplaceAll, NothingFoundGivesNothing)
{
    EXPECT_FALSE(ReplaceAll(TextPieces{"abc", {}}, "x", "y", Options(false)));
    EXPECT_FALSE(ReplaceAll(TextPieces{"abc", {}}, "x+", "y", Options(true)));
    EXPECT_FALSE(ReplaceAll(TextPieces{"abc", {}}, "", "y", Options(false)));
}

// A replacement that names a group the expression lacks is refused before anything is
// searched, found or not.
TEST(ReplaceAll, BadReplacementsAreRefused)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"$2", "The replacement names group 2, which the regular expression does not have"},
        {"${nope}", "The replacement names group nope, which the regular expression does not have"},
        {"${1", "The replacement has a ${ without its }"},
    };
    for (const auto& [replacement, message] : cases)
        for (const char* text : {"ab", "zz"}) {
            try {
                ReplaceAll(TextPieces{text, {}}, "(a)", replacement, Options(true));
                ADD_FAILURE() << replacement << " accepted";
            } catch (const QuorlexError& e) {
                EXPECT_EQ(std::string(e.what()), message);
            }
        }
    EXPECT_THROW(ReplaceAll(TextPieces{"ab", {}}, "(a", "x", Options(true)), QuorlexError);
}

TEST(ReplaceNext, FillsInGroupsAndLeavesTheCaretClearOfTheReplacement)
{
    const auto step = ReplaceNext(TextPieces{"John Smith", {}}, {0, 0}, "(\\w+) (\\w+)", "$2, $1", Options(true));
    ASSERT_TRUE(step);
    EXPECT_EQ(step->replaced, (TextSelection{0, 10}));
    EXPECT_EQ(step->replacement, "Smith, John");
    EXPECT_EQ(step->caret, 11);
    // Going up the caret stays before the inserted text, so the next press looks further up.
    FindOptions up = Options(false);
    up.up = true;
    const auto back = ReplaceNext(TextPieces{"a a a", {}}, {5, 0}, "a", "aa", up);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->replaced, (TextSelection{4, 1}));
    EXPECT_EQ(back->caret, 4);
}

// Plain Replace All against a plain string replacement, over random texts split anywhere.
std::string Reference(const std::string& text, const std::string& pattern, const std::string& replacement,
                      bool matchCase, bool wholeWord)
{
    auto fold = [&](std::string s) {
        if (!matchCase)
            for (char& c : s)
                c = static_cast<char>(caseless::Fold()[static_cast<unsigned char>(c)]);
        return s;
    };
    const std::string hay = fold(text);
    const std::string needle = fold(pattern);
    auto isWord = [&](std::size_t i) { return IsWordChar(static_cast<unsigned char>(text[i])); };
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t end = i + needle.size();
        if (hay.compare(i, needle.size(), needle) == 0 && end <= text.size() &&
            !(wholeWord && ((i > 0 && isWord(i - 1)) || (end < text.size() && isWord(end))))) {
            out += replacement;
            i = end;
        } else {
            out += text[i++];
        }
    }
    return out;
}

TEST(ReplaceAll, PlainEqualsAStringReplacement)
{
    std::mt19937 rng(2024);
    const char alphabet[] = {'a', 'A', 'b', ' ', '\r', '\n', '\xDD', 'i', 'I', '\xFD'};
    for (int trial = 0; trial < 3000; ++trial) {
        std::string text, pattern;
        for (std::uint32_t n = rng() % 40; n-- > 0;)
            text += alphabet[rng() % sizeof alphabet];
        for (std::uint32_t n = 1 + rng() % 3; n-- > 0;)
            pattern += alphabet[rng() % sizeof alphabet];
        const std::string replacement = std::string("xy").substr(0, rng() % 3) + (rng() % 2 ? pattern : "");
        const bool matchCase = rng() % 2;
        const bool wholeWord = rng() % 3 == 0;
        const std::size_t seam = text.empty() ? 0 : rng() % (text.size() + 1);
        const std::string_view view(text);
        const auto result = ReplaceAll(TextPieces{view.substr(0, seam), view.substr(seam)}, pattern, replacement,
                                       Options(false, matchCase, wholeWord));
        const std::string expected = Reference(text, pattern, replacement, matchCase, wholeWord);
        EXPECT_EQ(result ? result->text : text, expected)
            << "trial " << trial << " seam " << seam << " case " << matchCase << " word " << wholeWord;
    }
}

} // namespace

// Find Next with the dialogs' options: case, whole word, up, wrap and regular expressions.
#include "commands/FindReplace.h"
#include "platform/Error.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <ostream>
#include <random>
#include <string>
#include <vector>

void PrintTo(const TextSelection& s, std::ostream* os);

namespace {

// Letters: i = ignore case, w = whole word, u = up, o = wrap around, x = regular expression.
FindOptions Opt(std::string_view flags)
{
    FindOptions o;
    o.matchCase = flags.find('i') == std::string_view::npos;
    o.wholeWord = flags.find('w') != std::string_view::npos;
    o.up = flags.find('u') != std::string_view::npos;
    o.wrapAround = flags.find('o') != std::string_view::npos;
    o.regex = flags.find('x') != std::string_view::npos;
    return o;
}

// Windows-1254: ağaç, AĞAÇ, KİTAP, İ Ğ.
const std::string kAgac = "a\xF0" "a\xE7";
const std::string kAgacUpper = "A\xD0" "A\xC7";

struct OptionCase {
    const char* name;
    std::string text;
    TextSelection selection;
    std::string pattern;
    const char* flags;
    std::optional<TextSelection> expected;
};

std::vector<OptionCase> OptionCases()
{
    using S = TextSelection;
    return {
        {"match_case_is_exact", "abc ABC", {0, 0}, "ABC", "", S{4, 3}},
        {"ignore_case_ascii", "abc ABC", {1, 0}, "abc", "i", S{4, 3}},
        {"ignore_case_turkish_word", "x " + kAgacUpper, {0, 0}, kAgac, "i", S{2, 4}},
        {"whole_word_not_inside_a_word", kAgac, {0, 0}, "\xF0" "a", "w", std::nullopt},
        {"whole_word_at_both_ends_of_the_text", kAgac, {0, 0}, kAgac, "w", S{0, 4}},
        {"whole_word_beside_crlf", "x\r\n" + kAgac + "\r\ny", {0, 0}, kAgac, "w", S{3, 4}},
        {"whole_word_passes_over_a_longer_word", kAgac + "lar " + kAgac, {0, 0}, kAgac, "w", S{8, 4}},
        {"whole_word_digits_join_words", "a1 a", {0, 0}, "a", "w", S{3, 1}},
        {"whole_word_punctuation_separates", "(" + kAgac + "),", {0, 0}, kAgac, "w", S{1, 4}},
        {"whole_word_ignoring_case", kAgacUpper + "LAR " + kAgacUpper, {0, 0}, kAgac, "iw", S{8, 4}},
        {"up_finds_the_one_before", "abc abc abc", {8, 3}, "abc", "u", S{4, 3}},
        {"up_starts_at_the_selection_start", "abcabc", {3, 3}, "abc", "u", S{0, 3}},
        {"up_needs_the_whole_occurrence_before", "abcabc", {4, 0}, "abc", "u", S{0, 3}},
        {"up_none_before", "xabc", {1, 0}, "abc", "u", std::nullopt},
        {"up_ignoring_case_whole_word", kAgacUpper + " " + kAgac + "lar x", {13, 0}, kAgac, "iwu", S{0, 4}},
        {"no_wrap_by_default", "abc x", {3, 0}, "abc", "", std::nullopt},
        {"wrap_goes_on_from_the_start", "abc x", {3, 0}, "abc", "o", S{0, 3}},
        {"wrap_up_goes_on_from_the_end", "x abc", {1, 0}, "abc", "uo", S{2, 3}},
        {"regex_caret_per_line", "ab\r\ncd", {1, 0}, "^c", "x", S{4, 1}},
        {"regex_dollar_before_crlf", "ab\r\ncd", {0, 0}, "b$", "x", S{1, 1}},
        {"regex_dot_stops_at_crlf", "ab\r\ncd", {0, 0}, "b.", "x", std::nullopt},
        {"regex_dot_never_takes_half_a_break", "a\r\nb", {0, 0}, ".b", "x", std::nullopt},
        {"regex_explicit_lf_is_found", "a\r\nb", {0, 0}, "\\nb", "x", S{2, 2}},
        {"regex_word_class_knows_turkish", "  " + kAgac + "!", {0, 0}, "\\w+", "x", S{2, 4}},
        {"regex_upper_class_knows_turkish", "ab\xDD\xD0" "c", {0, 0}, "[[:upper:]]+", "x", S{2, 2}},
        {"regex_caseless_dotted_capital", "K\xDDTAP", {0, 0}, "kitap", "xi", S{0, 5}},
        {"regex_caseless_keeps_dotless_apart", "KITAP", {0, 0}, "kitap", "xi", std::nullopt},
        {"regex_whole_word_retries_further_on", kAgac + "lar " + kAgac, {0, 0}, "a\xF0" "a.", "xw", S{8, 4}},
        {"regex_empty_match_at_the_caret_passed_over", "ab\r\ncd", {0, 0}, "^", "x", S{4, 0}},
        {"regex_empty_match_behind_a_selection", "ab\r\ncd", {0, 4}, "^", "x", S{4, 0}},
        {"regex_up", "a1 b22 c333", {11, 0}, "\\d+", "xu", S{8, 3}},
        {"regex_up_takes_the_last_whole_match", "hello world", {11, 0}, "\\w+", "xu", S{6, 5}},
        {"regex_up_from_inside_a_word", "hello world", {8, 0}, "\\w+", "xu", S{0, 5}},
        {"regex_up_wraps", "ab x", {0, 0}, "b", "xuo", S{1, 1}},
    };
}

class FindNextTest : public testing::TestWithParam<OptionCase> {};

// Every split of the text into the document's two pieces gives the same answer.
TEST_P(FindNextTest, SameAnswerForEverySeam)
{
    const OptionCase& c = GetParam();
    const std::string_view text(c.text);
    for (std::size_t seam = 0; seam <= text.size(); ++seam) {
        const TextPieces pieces{text.substr(0, seam), text.substr(seam)};
        EXPECT_EQ(FindNext(pieces, c.selection, c.pattern, Opt(c.flags)), c.expected) << "seam " << seam;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, FindNextTest, testing::ValuesIn(OptionCases()),
                         [](const auto& info) { return std::string(info.param.name); });

// Each Turkish pair and each ASCII pair finds the other letter with case ignored, both ways,
// plain and as a regular expression; letters of different pairs never do.
TEST(FindNext, CaselessPairs)
{
    std::vector<std::pair<unsigned char, unsigned char>> pairs = {
        {0xDD, 'i'}, {'I', 0xFD}, {0xD0, 0xF0}, {0xDC, 0xFC}, {0xDE, 0xFE}, {0xD6, 0xF6}, {0xC7, 0xE7}};
    for (unsigned char c = 'A'; c <= 'Z'; ++c)
        if (c != 'I')
            pairs.push_back({c, static_cast<unsigned char>(c + 32)});
    const std::vector<std::pair<unsigned char, unsigned char>> strangers = {
        {'I', 'i'}, {0xDD, 'I'}, {0xFD, 'i'}, {0xDD, 0xFD}, {0xC9, 0xE9} /* É é: no pair */};
    for (const char* flags : {"i", "ix"}) {
        const FindOptions o = Opt(flags);
        auto found = [&](unsigned char in, unsigned char pattern) {
            return FindNext(TextPieces{std::string("x") + static_cast<char>(in), {}}, {0, 0},
                            std::string(1, static_cast<char>(pattern)), o)
                .has_value();
        };
        for (auto [upper, lower] : pairs) {
            EXPECT_TRUE(found(upper, lower)) << flags << " " << int(upper);
            EXPECT_TRUE(found(lower, upper)) << flags << " " << int(lower);
            const char* exact = o.regex ? "x" : "";
            EXPECT_FALSE(FindNext(TextPieces{std::string(1, static_cast<char>(upper)), {}}, {0, 0},
                                  std::string(1, static_cast<char>(lower)), Opt(exact)))
                << "case matters when asked " << int(upper);
        }
        for (auto [a, b] : strangers) {
            EXPECT_FALSE(found(a, b)) << flags << " " << int(a) << " " << int(b);
            EXPECT_FALSE(found(b, a)) << flags << " " << int(b) << " " << int(a);
        }
    }
}

std::vector<TextSelection> Walk(const std::string& text, const std::string& pattern, const char* flags,
                                TextSelection from)
{
    std::vector<TextSelection> found;
    while (const auto next = FindNext(TextPieces{text, {}}, from, pattern, Opt(flags))) {
        found.push_back(*next);
        from = *next;
        if (found.size() > text.size() + 2)
            break; // a loop: the assertion below shows it
    }
    return found;
}

TEST(FindNext, ZeroLengthMatchesNeverStall)
{
    const std::vector<TextSelection> expected = {{1, 1}, {2, 0}, {3, 0}};
    EXPECT_EQ(Walk("axb", "x*", "x", {0, 0}), expected);
    // Up: each press lands before the last.
    const std::vector<TextSelection> up = {{3, 0}, {2, 0}, {1, 1}, {0, 0}};
    EXPECT_EQ(Walk("axb", "x*", "xu", {3, 1}), up);
}

void ExpectUpMirrorsDown(const std::string& text, const char* pattern, const std::string& flags)
{
    std::vector<TextSelection> down = Walk(text, pattern, flags.c_str(), {0, 0});
    std::vector<TextSelection> up =
        Walk(text, pattern, (flags + "u").c_str(), {static_cast<std::int64_t>(text.size()), 0});
    std::reverse(up.begin(), up.end());
    // Down passes over an empty match at the caret it starts from, Up over one at the end.
    if (!down.empty() && down.back() == TextSelection{static_cast<std::int64_t>(text.size()), 0})
        down.pop_back();
    if (!up.empty() && up.front() == TextSelection{0, 0})
        up.erase(up.begin());
    EXPECT_EQ(up, down) << pattern << " " << flags;
}

std::string RandomText(std::size_t size, std::uint32_t seed)
{
    std::mt19937 rng(seed);
    const char alphabet[] = {'a', 'b', ' ', '1', '\r', '\n', '\xF0'};
    std::string text;
    for (std::size_t i = 0; i < size; ++i)
        text += alphabet[rng() % sizeof alphabet];
    return text;
}

// Up visits the matches Down visits, in the opposite order.
TEST(FindNext, UpWalksDownsMatchesBackwards)
{
    const std::string text = RandomText(600, 7);
    for (const char* pattern : {"a+", "\\w+", "b|a1", "^\\S*", "\\d?", "a\\b", "(?<=b)a*", "\\s+"})
        for (const char* flags : {"x", "xw", "xi"})
            ExpectUpMirrorsDown(text, pattern, flags);
}

// Also where the match before lies further back than the first stretch Up looks at.
TEST(FindNext, UpReachesFarBack)
{
    const std::string text = RandomText(300, 9) + std::string(70000, '-') + "ab1" + std::string(70000, '-');
    for (const char* pattern : {"\\w+", "b1|a"})
        ExpectUpMirrorsDown(text, pattern, "x");
}

TEST(FindNext, InvalidExpressionsSayWhereAndWhy)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"(ab", "Invalid regular expression at 3: missing closing parenthesis"},
        {"a[", "Invalid regular expression at 2: missing terminating ] for character class"},
        {"*a", "Invalid regular expression at 0: quantifier does not follow a repeatable item"},
        {"a\\", "Invalid regular expression at 2: \\ at end of pattern"},
        // The bytes are Windows-1254: reading them as UTF-8 is refused.
        {"(*UTF)a", "Invalid regular expression at 6: using UTF is disabled by the application"},
    };
    for (const auto& [pattern, message] : cases) {
        try {
            FindNext(TextPieces{"abc", {}}, {0, 0}, pattern, Opt("x"));
            ADD_FAILURE() << pattern << " compiled";
        } catch (const QuorlexError& e) {
            EXPECT_EQ(std::string(e.what()), message);
        }
    }
    // The same text as plain search is just text.
    EXPECT_EQ(FindNext(TextPieces{"x(ab", {}}, {0, 0}, "(ab", Opt("")), (TextSelection{1, 3}));
}

} // namespace

#include "document/LineText.h"

#include <gtest/gtest.h>

namespace {

struct BreakCase {
    const char* name;
    std::string in;
    std::string out;
};

class Normalize : public ::testing::TestWithParam<BreakCase> {};

TEST_P(Normalize, MakesEveryBreakCrLf)
{
    EXPECT_EQ(NormalizeLineBreaks(GetParam().in), GetParam().out);
    EXPECT_EQ(HasLoneLineBreak(GetParam().in), GetParam().in != GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Normalize,
    ::testing::Values(BreakCase{"empty", "", ""}, BreakCase{"crlf_stays", "a\r\nb\r\n", "a\r\nb\r\n"},
                      BreakCase{"lone_lf", "a\nb\n", "a\r\nb\r\n"}, BreakCase{"lone_cr", "a\rb", "a\r\nb"},
                      BreakCase{"lf_cr_is_two_breaks", "a\n\rb", "a\r\n\r\nb"},
                      BreakCase{"cr_at_end", "a\r", "a\r\n"}, BreakCase{"cr_cr_lf", "\r\r\n", "\r\n\r\n"},
                      BreakCase{"nul_kept", std::string("a\0b\n", 4), std::string("a\0b\r\n", 5)}),
    [](const auto& info) { return std::string(info.param.name); });

struct ViewCase {
    const char* name;
    std::string text;
    int count;
    std::vector<std::string> pieces;
};

class Lines : public ::testing::TestWithParam<ViewCase> {};

TEST_P(Lines, CountLeavesOutTheLastEmptyPieceButGetReachesIt)
{
    const LineView view(GetParam().text);
    EXPECT_EQ(view.Count(), GetParam().count);
    ASSERT_EQ(view.Pieces(), static_cast<int>(GetParam().pieces.size()));
    for (int i = 0; i < view.Pieces(); ++i)
        EXPECT_EQ(view.Get(i), GetParam().pieces[static_cast<std::size_t>(i)]) << "piece " << i;
    EXPECT_EQ(view.Get(view.Pieces()), "");
    EXPECT_EQ(view.Get(-1), "");
}

INSTANTIATE_TEST_SUITE_P(
    Table, Lines,
    ::testing::Values(ViewCase{"empty", "", 0, {""}}, ViewCase{"one", "a", 1, {"a"}},
                      ViewCase{"one_with_break", "a\r\n", 1, {"a", ""}},
                      ViewCase{"blank_inside", "a\r\n\r\nb", 3, {"a", "", "b"}},
                      ViewCase{"only_break", "\r\n", 1, {"", ""}},
                      ViewCase{"lone_cr_is_no_break", "a\rb\r\nc", 2, {"a\rb", "c"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Trim, RemovesCodes32AndBelowButNever128AndAbove)
{
    EXPECT_EQ(TrimBoth(" \t\r\nx y\x01 "), "x y");
    EXPECT_EQ(TrimLeft("\t x "), "x ");
    EXPECT_EQ(TrimRight(" x \x1f"), " x");
    EXPECT_EQ(TrimBoth("\xa0x\xa0"), "\xa0x\xa0");
    EXPECT_EQ(TrimBoth("   "), "");
}

TEST(AsciiCase, ChangesOnlyAsciiLetters)
{
    EXPECT_EQ(AsciiLower("FALSE \xDD\xC7"), "false \xDD\xC7");
    EXPECT_EQ(AsciiUpper("true \xFD\xE7"), "TRUE \xFD\xE7");
}

} // namespace

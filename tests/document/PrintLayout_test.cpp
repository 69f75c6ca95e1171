#include "document/PrintLayout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

// Fixed widths: 'n' 9, 'W' wider than any page, everything else 10. Runs are 12 high, 20
// when they hold a 'T'. Records what is drawn as "x,y:text" and every new page as "P".
class FakeSurface : public IPrintSurface {
public:
    std::string log;
    int measurements = 0;
    int maxBottom = 0; // lowest text bottom on any page

    int TextWidth(std::string_view run) override
    {
        ++measurements;
        int w = 0;
        for (char c : run)
            w += c == 'n' ? 9 : c == 'W' ? 1000 : 10;
        return w;
    }
    int TextHeight(std::string_view run) override
    {
        return run.find('T') == std::string_view::npos ? 12 : 20;
    }
    void DrawText(int x, int y, std::string_view run) override
    {
        Append(std::to_string(x) + "," + std::to_string(y) + ":" + std::string(run));
        maxBottom = std::max(maxBottom, y + TextHeight(run));
    }
    void NewPage() override { Append("P"); }

private:
    void Append(const std::string& s) { log += (log.empty() ? "" : " ") + s; }
};

// Page 100 x 200, empty line 16, tab stops every 40.
constexpr PrintMetrics kMetrics{100, 200, 16, 5};

std::string Layout(const std::string& text)
{
    FakeSurface surface;
    TPrintLayout layout(surface, kMetrics);
    layout.Send(text);
    return surface.log;
}

struct LayoutCase {
    const char* name;
    std::string text;
    std::string drawn;
};

class Layouts : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(Layouts, DrawWhereTheRuleSays) { EXPECT_EQ(Layout(GetParam().text), GetParam().drawn); }

INSTANTIATE_TEST_SUITE_P(
    Table, Layouts,
    ::testing::Values(
        LayoutCase{"empty_document_draws_nothing", "", ""},
        LayoutCase{"lines_follow_at_text_height_plus_2", "ab\r\ncd\r\n", "0,0:ab 0,14:cd"},
        LayoutCase{"cr_alone_does_not_move", "ab\rcd", "0,0:ab 20,0:cd"},
        LayoutCase{"tab_from_0_goes_to_T", "\tx", "40,0:x"},
        LayoutCase{"tab_from_T_minus_1_goes_to_2T", "aaan\tx", "0,0:aaan 80,0:x"},
        LayoutCase{"tab_on_a_stop_goes_to_the_next", "aaaa\tx", "0,0:aaaa 80,0:x"},
        LayoutCase{"tab_past_the_edge_starts_a_line", "aaaaaaaaa\tx", "0,0:aaaaaaaaa 0,14:x"},
        LayoutCase{"wide_line_breaks_at_the_last_character_that_fits", "aaaaaaaaaabbbbb",
                   "0,0:aaaaaaaaaa 0,14:bbbbb"},
        LayoutCase{"wrap_counts_from_the_current_position", "xx\taaaaaaaaa", "0,0:xx 40,0:aaaaaa 0,14:aaa"},
        LayoutCase{"wrap_ignores_word_boundaries", "abcd efghij kl", "0,0:abcd efghi 0,14:j kl"},
        LayoutCase{"form_feed_starts_a_page_at_that_point", "ab\fcd\r\nef", "0,0:ab P 0,0:cd 0,14:ef"},
        LayoutCase{"character_wider_than_the_page_gets_its_own_line", "aWa\r\nb",
                   "0,0:a 0,14:W 0,28:a 0,42:b"},
        LayoutCase{"character_wider_than_the_page_alone", "W\r\nb", "0,0:W 0,14:b"},
        LayoutCase{"empty_line_advances_by_the_full_character_height", "a\r\n\r\nb", "0,0:a 0,30:b"},
        LayoutCase{"taller_run_raises_the_line", "a\tT\r\nb", "0,0:a 40,0:T 0,22:b"},
        LayoutCase{"lower_run_keeps_the_line_height", "T\ta\r\nb", "0,0:T 40,0:a 0,22:b"},
        LayoutCase{"trailing_form_feed_gives_no_blank_page", "ab\f", "0,0:ab"},
        LayoutCase{"two_form_feeds_keep_the_blank_page_between", "ab\f\fcd", "0,0:ab P P 0,0:cd"},
        // 11 empty lines reach y 176: less than two empty lines are left, so a new page.
        LayoutCase{"empty_lines_near_the_bottom_break_the_page", "\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\na",
                   "P 0,16:a"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PrintLayout, NewPageWhenLessThanTwiceTheLastLineHeightIsLeft)
{
    // Lines of 14 on a page of 200: the line at 168 still fits, the next top (182) leaves
    // less than 28, so line 14 opens page 2; 13 more lines fill it without a blank page.
    std::string text;
    for (int i = 0; i < 26; ++i)
        text += "a\r\n";
    const std::string drawn = Layout(text);
    EXPECT_NE(drawn.find("0,168:a P 0,0:a"), std::string::npos) << drawn;
    EXPECT_EQ(std::count(drawn.begin(), drawn.end(), 'P'), 1) << drawn;
    EXPECT_EQ(drawn.substr(drawn.size() - 7), "0,168:a");
}

TEST(PrintLayout, SendCallsMayCutALineAnywhere)
{
    FakeSurface surface;
    TPrintLayout layout(surface, kMetrics);
    for (const char* piece : {"ab", "c\r", "\n", "\t", "d"})
        layout.Send(piece);
    EXPECT_EQ(surface.log, "0,0:ab 20,0:c 40,14:d");
}

TEST(PrintLayout, HugeLineIsCutIntoPageWidthPiecesWithFewMeasurements)
{
    FakeSurface surface;
    TPrintLayout layout(surface, kMetrics);
    layout.Send(std::string(100000, 'a'));
    const std::string& log = surface.log;
    // 10 000 printed lines, 13 a page: 769 page breaks, every piece 10 characters wide.
    EXPECT_EQ(std::count(log.begin(), log.end(), 'P'), 769);
    EXPECT_EQ(std::count(log.begin(), log.end(), ':'), 10000);
    EXPECT_EQ(log.find("aaaaaaaaaaa"), std::string::npos);
    EXPECT_LE(surface.maxBottom, kMetrics.pageHeight);
    EXPECT_LT(surface.measurements, 10000 * 12);
}

TEST(PrintLayout, NoTextRunsOffTheBottomOfAPage)
{
    FakeSurface surface;
    TPrintLayout layout(surface, kMetrics);
    for (int i = 0; i < 300; ++i)
        layout.Send(i % 3 == 0 ? "\r\n" : i % 7 == 0 ? "T\tTT\r\n" : "abc\r\n");
    EXPECT_LE(surface.maxBottom, kMetrics.pageHeight);
}

} // namespace

#include "editor/RowLayout.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

using Offset = RowLayout::Offset;

// Every byte one unit wide but 'W' (three) and the tab (stops every eight units), so that wrap
// points and x positions can be worked out by hand.
constexpr RowLayout::Fixed U = 8 * 64;

AdvanceTable Table()
{
    AdvanceTable t;
    t.advance.fill(static_cast<std::int32_t>(U));
    t.advance['W'] = static_cast<std::int32_t>(3 * U);
    t.tabStop = static_cast<std::int32_t>(8 * U);
    return t;
}

// Every row start of every line, as the layout sees it.
std::vector<std::vector<Offset>> RowsOf(RowLayout& layout, const ByteDocument& doc)
{
    std::vector<std::vector<Offset>> rows(static_cast<std::size_t>(doc.Pieces()));
    for (int line = 0; line < doc.Pieces(); ++line)
        rows[static_cast<std::size_t>(line)] = layout.AllRowStarts(line);
    return rows;
}

std::string RandomBytes(std::mt19937& rng, int n, bool breaks = true)
{
    static const char kAlphabet[] = "ab W\t\r\n";
    std::string s;
    for (int i = 0; i < n; ++i)
        s.push_back(kAlphabet[rng() % (breaks ? sizeof kAlphabet - 1 : sizeof kAlphabet - 3)]);
    return s;
}

} // namespace

// The layout repairs only what an edit touched, and wraps a huge line only where it is looked
// at; once the idle wrap has worked all of it out, it must hold what a layout made afresh from
// the edited text holds, with wrap on and off, the width changing, in lines without blanks.
class RowLayoutRepair : public ::testing::TestWithParam<RowLayout::Fixed> {};

TEST_P(RowLayoutRepair, EqualsAFreshLayoutAfterRandomEditsAndWidths)
{
    const RowLayout::Fixed widths[] = {0, 10 * U, 23 * U, 37 * U};
    for (std::uint32_t seed = 1; seed <= 4; ++seed) {
        std::mt19937 rng(seed);
        RowLayout::Fixed wrap = GetParam();
        ByteDocument doc;
        RowLayout kept(doc);
        kept.SetAdvances(Table());
        kept.SetWrapWidth(wrap);
        kept.SetLazyLength(2000);
        int piecesBefore = doc.Pieces();
        doc.AddListener([&](const DocumentEdit& edit) { kept.OnEdit(edit, piecesBefore); });
        doc.Assign(RandomBytes(rng, 400) + std::string(20000, 'a') + RandomBytes(rng, 6000, false) +
                   RandomBytes(rng, 200));
        auto somewhere = [&] { return static_cast<Offset>(rng() % static_cast<std::uint32_t>(doc.Length() + 1)); };
        for (int step = 0; step < 300; ++step) {
            const std::string where = "seed " + std::to_string(seed) + " step " + std::to_string(step);
            switch (rng() % 8) {
            case 0:
                wrap = widths[rng() % 4];
                kept.SetWrapWidth(wrap);
                break;
            case 1:
            case 2: {
                // Look somewhere, and a few rows around it: each row holds its place and ends
                // where the next begins, whatever is known of the rows yet.
                const Offset at = somewhere();
                ViewRow row = kept.RowOf(at);
                ASSERT_LE(row.start, at) << where;
                ASSERT_GE(kept.RowEnd(row), at) << where;
                for (int i = 0; i < 6; ++i) {
                    ViewRow next = row;
                    if (!kept.Next(next))
                        break;
                    if (next.line == row.line)
                        ASSERT_EQ(next.start, kept.RowEnd(row)) << where;
                    row = next;
                }
                kept.Move(row, -static_cast<std::int64_t>(rng() % 12));
                break;
            }
            case 3:
                kept.WrapSome(static_cast<Offset>(rng() % 3000));
                break;
            default:
                piecesBefore = doc.Pieces();
                doc.Replace(somewhere(), static_cast<Offset>(rng() % 8), RandomBytes(rng, static_cast<int>(rng() % 10)));
            }
            if (rng() % 4 != 0)
                continue;
            while (kept.WrapSome(997).more) {
            }
            RowLayout fresh(doc);
            fresh.SetAdvances(Table());
            fresh.SetWrapWidth(wrap);
            ASSERT_EQ(RowsOf(kept, doc), RowsOf(fresh, doc)) << where;
            const int line = static_cast<int>(rng() % static_cast<std::uint32_t>(doc.Pieces()));
            const Offset end = doc.LineEnd(line);
            const ViewRow row = kept.RowOf(end);
            ASSERT_EQ(kept.XOf(row, end), fresh.XOf(fresh.RowOf(end), end)) << where;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(WrapWidths, RowLayoutRepair, ::testing::Values(0, 10 * U, 37 * U));

TEST(RowLayout, WrapsAtBlanksAndBreaksWordsThatDoNotFit)
{
    struct Case {
        const char* name;
        std::string text;
        RowLayout::Fixed width;
        std::vector<Offset> rowStarts;
    };
    const Case cases[] = {
        {"fits", "abc def", 10 * U, {0}},
        {"breaks behind the blank", "abc def", 5 * U, {0, 4}},
        {"a word longer than the row", "abcdefghij", 4 * U, {0, 4, 8}},
        {"a wide letter goes to the next row", "aaWa", 4 * U, {0, 2}},
    };
    for (const Case& c : cases) {
        ByteDocument doc;
        doc.Assign(std::string(c.text));
        RowLayout layout(doc);
        layout.SetAdvances(Table());
        layout.SetWrapWidth(c.width);
        EXPECT_EQ(layout.AllRowStarts(0), c.rowStarts) << c.name;
    }
}

TEST(RowLayout, TabsStopAtMultiplesOfTheirWidthAlsoInLongLines)
{
    ByteDocument doc;
    std::string text = "ab\tc";
    text += std::string(40000, 'a') + "\tW";
    doc.Assign(std::string(text));
    RowLayout layout(doc);
    layout.SetAdvances(Table());
    EXPECT_EQ(layout.XOf({0, 0}, 3), 8 * U);
    EXPECT_EQ(layout.XOf({0, 0}, 4), 9 * U);
    const Offset tab = static_cast<Offset>(text.size()) - 2;
    const RowLayout::Fixed beforeTab = (9 + 40000) * U;
    EXPECT_EQ(layout.XOf({0, 0}, tab), beforeTab);
    EXPECT_EQ(layout.XOf({0, 0}, tab + 1), (beforeTab / (8 * U) + 1) * 8 * U);
    EXPECT_EQ(layout.LineWidth(0), layout.XOf({0, 0}, tab + 1) + 3 * U);
    EXPECT_EQ(layout.OffsetAt({0, 0}, layout.XOf({0, 0}, tab + 1) + U), tab + 1);
}

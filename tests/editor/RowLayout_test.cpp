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
        for (int sub = 0; sub < layout.Rows(line); ++sub)
            rows[static_cast<std::size_t>(line)].push_back(layout.RowStart({line, sub}));
    return rows;
}

std::string RandomBytes(std::mt19937& rng, int n)
{
    static const char kAlphabet[] = "ab W\t\r\n";
    std::string s;
    for (int i = 0; i < n; ++i)
        s.push_back(kAlphabet[rng() % (sizeof kAlphabet - 1)]);
    return s;
}

} // namespace

// The layout repairs only what an edit touched; whatever it keeps must be what a layout made
// afresh from the edited text would hold, with wrap on and off and in long lines.
class RowLayoutRepair : public ::testing::TestWithParam<RowLayout::Fixed> {};

TEST_P(RowLayoutRepair, EqualsAFreshLayoutAfterRandomEdits)
{
    const RowLayout::Fixed wrap = GetParam();
    for (std::uint32_t seed = 1; seed <= 4; ++seed) {
        std::mt19937 rng(seed);
        ByteDocument doc;
        RowLayout kept(doc);
        kept.SetAdvances(Table());
        kept.SetWrapWidth(wrap);
        int piecesBefore = doc.Pieces();
        doc.AddListener([&](const DocumentEdit& edit) { kept.OnEdit(edit, piecesBefore); });
        doc.Assign(RandomBytes(rng, 400) + std::string(20000, 'a') + RandomBytes(rng, 200));
        for (int step = 0; step < 300; ++step) {
            // Look at everything first, so that there are caches to repair.
            (void)RowsOf(kept, doc);
            const Offset at = static_cast<Offset>(rng() % static_cast<std::uint32_t>(doc.Length() + 1));
            const Offset length = static_cast<Offset>(rng() % 8);
            piecesBefore = doc.Pieces();
            doc.Replace(at, length, RandomBytes(rng, static_cast<int>(rng() % 10)));

            RowLayout fresh(doc);
            fresh.SetAdvances(Table());
            fresh.SetWrapWidth(wrap);
            ASSERT_EQ(RowsOf(kept, doc), RowsOf(fresh, doc)) << "seed " << seed << " step " << step;
            const int line = static_cast<int>(rng() % static_cast<std::uint32_t>(doc.Pieces()));
            const Offset end = doc.LineEnd(line);
            const ViewRow row = kept.RowOf(end);
            ASSERT_EQ(kept.XOf(row, end), fresh.XOf(fresh.RowOf(end), end)) << "seed " << seed << " step " << step;
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
        EXPECT_EQ(RowsOf(layout, doc)[0], c.rowStarts) << c.name;
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

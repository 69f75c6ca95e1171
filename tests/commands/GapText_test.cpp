#include "commands/GapText.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// Edits at scattered places, checked against a plain string after every step: the gap moves
// both ways, grows, and the two pieces always read as the whole text.
TEST(GapText, FollowsAPlainStringThroughRandomEdits)
{
    std::mt19937 rng(42);
    std::string model = "hello\r\nworld";
    GapText text;
    text.Assign(model);
    for (int step = 0; step < 3000; ++step) {
        const auto size = static_cast<std::int64_t>(model.size());
        const std::int64_t start = std::uniform_int_distribution<std::int64_t>(0, size)(rng);
        const std::int64_t removed = std::uniform_int_distribution<std::int64_t>(0, std::min<std::int64_t>(3, size - start))(rng);
        const std::string added(static_cast<std::size_t>(std::uniform_int_distribution<int>(0, step % 50 == 0 ? 9000 : 4)(rng)),
                                static_cast<char>('a' + step % 26));
        model.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(removed), added);
        text.Replace(start, removed, added);
        ASSERT_EQ(text.Size(), static_cast<std::int64_t>(model.size())) << "step " << step;
        const TextPieces p = text.Pieces();
        ASSERT_EQ(std::string(p.first) + std::string(p.second), model) << "step " << step;
    }
}

TEST(GapText, ReplaceClampsToTheText)
{
    GapText text;
    text.Assign("abc");
    text.Replace(10, 5, "d");
    EXPECT_EQ(text.Text(), "abcd");
    text.Replace(1, 100, "");
    EXPECT_EQ(text.Text(), "a");
}

struct ShownCase {
    const char* name;
    std::string text;
    std::int64_t start, chars, bytes;
};

class GapTextShown : public testing::TestWithParam<ShownCase> {};

// The editor shows CR LF as one line break and a lone CR or LF as one picture.
TEST_P(GapTextShown, CountsBytesOfShownCharacters)
{
    const ShownCase& c = GetParam();
    GapText text;
    text.Assign(c.text);
    EXPECT_EQ(text.BytesOfShownChars(c.start, c.chars), c.bytes);
    // Moving the gap into the middle of the pair must not change the count.
    text.Replace(static_cast<std::int64_t>(c.text.size()) / 2, 0, "");
    EXPECT_EQ(text.BytesOfShownChars(c.start, c.chars), c.bytes);
}

INSTANTIATE_TEST_SUITE_P(Cases, GapTextShown,
                         testing::Values(ShownCase{"plain", "abc", 0, 2, 2},
                                         ShownCase{"line_break_is_one", "a\r\nb", 0, 2, 3},
                                         ShownCase{"lone_cr_then_break", "\r\r\n", 0, 2, 3},
                                         ShownCase{"lone_lf", "\n\r", 0, 2, 2},
                                         ShownCase{"past_the_end_stops", "ab", 1, 5, 1},
                                         ShownCase{"from_the_middle", "x\r\n\r\ny", 1, 2, 4}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace

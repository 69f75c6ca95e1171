#include "platform/Utf8Text.h"

#include <gtest/gtest.h>

#include <random>

namespace {

struct DecodeCase {
    const char* name;
    std::string file;
    bool qualifies;
    std::string document; // when it qualifies
    bool mark;
};

class Utf8Decode : public testing::TestWithParam<DecodeCase> {};

TEST_P(Utf8Decode, TakesOnlyUtf8OfTheTable)
{
    const DecodeCase& c = GetParam();
    const auto decoded = utf8text::DecodeIfQualifies(c.file);
    ASSERT_EQ(decoded.has_value(), c.qualifies);
    EXPECT_EQ(utf8text::WhyNotUtf8(c.file).empty(), c.qualifies);
    if (!decoded)
        return;
    EXPECT_EQ(decoded->bytes, c.document);
    EXPECT_EQ(decoded->byteOrderMark, c.mark);
    // An unedited file goes back out as the very bytes it came in as.
    EXPECT_EQ(utf8text::Encode(decoded->bytes, decoded->byteOrderMark), c.file);
}

INSTANTIATE_TEST_SUITE_P(
    Files, Utf8Decode,
    testing::Values(
        DecodeCase{"turkish", "\xC4\xB0stanbul'da \xC4\xB1l\xC4\xB1k bir g\xC3\xBCn\r\n", true,
                   "\xDDstanbul'da \xFDl\xFDk bir g\xFCn\r\n", false},
        DecodeCase{"with_mark", "\xEF\xBB\xBF\xC5\x9F\r\n", true, "\xFE\r\n", true},
        DecodeCase{"mark_and_ascii", "\xEF\xBB\xBF" "abc", true, "abc", true},
        DecodeCase{"euro_and_undefined_code", "\xE2\x82\xAC\xC2\x81", true, "\x80\x81", false},
        DecodeCase{"byte_zero_inside", std::string("\xC3\xA7\0x", 4), true, std::string("\xE7\0x", 3), false},
        DecodeCase{"plain_ascii", "just ascii\r\n", false, "", false},
        DecodeCase{"empty", "", false, "", false},
        DecodeCase{"japanese", "\xE6\x97\xA5\xE6\x9C\xAC", false, "", false},
        DecodeCase{"emoji", "a\xF0\x9F\x98\x80", false, "", false},
        DecodeCase{"windows_1254_bytes", "\xDDstanbul \xFE", false, "", false},
        DecodeCase{"overlong_slash", "\xC0\xAF\xC3\xA7", false, "", false},
        DecodeCase{"surrogate", "\xED\xA0\x80\xC3\xA7", false, "", false},
        DecodeCase{"cut_sequence", "\xC3\xA7\xC3", false, "", false}),
    [](const testing::TestParamInfo<DecodeCase>& info) { return std::string(info.param.name); });

TEST(Utf8Encode, EveryByteHasAFormThatComesBack)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    const std::string file = utf8text::Encode(all);
    const auto decoded = utf8text::DecodeIfQualifies(file);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->bytes, all);
}

// Detection plus writing never changes an unedited file, whatever its bytes.
TEST(Utf8Property, UneditedFilesRoundTrip)
{
    std::mt19937 rng(2026);
    const std::string pieces[] = {"a", "\r\n", "\xC3\xA7", "\xC4\x9F", "\xE2\x82\xAC", "\xC3", "\xFE", "\xEF\xBB\xBF",
                                  "\xF0\x9F\x98\x80", std::string(1, '\0'), "\x80", "\xE6\x97\xA5"};
    for (int round = 0; round < 5000; ++round) {
        std::string file;
        const int n = static_cast<int>(rng() % 12);
        for (int i = 0; i < n; ++i)
            file += pieces[rng() % std::size(pieces)];
        const auto decoded = utf8text::DecodeIfQualifies(file);
        const std::string saved = decoded ? utf8text::Encode(decoded->bytes, decoded->byteOrderMark) : file;
        ASSERT_EQ(saved, file) << "round " << round;
    }
}

} // namespace

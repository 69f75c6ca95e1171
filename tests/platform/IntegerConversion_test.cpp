#include "platform/Error.h"
#include "platform/IntegerConversion.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    const char* name;
    const char* text;
    std::optional<std::int32_t> value;
};

class IntegerConversion : public ::testing::TestWithParam<Case> {};

TEST_P(IntegerConversion, ConvertsOrRefuses)
{
    EXPECT_EQ(TryStrToInt(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Table, IntegerConversion,
    ::testing::Values(Case{"decimal", "255", 255}, Case{"leading_blanks", "   42", 42}, Case{"plus", "+7", 7},
                      Case{"minus", "-12", -12}, Case{"dollar_hex", "$000000FF", 255}, Case{"x_hex", "xff", 255},
                      Case{"X_hex", "XFF", 255}, Case{"0x_hex", "0x1F", 31}, Case{"0X_hex", "0X1f", 31},
                      Case{"max", "2147483647", 2147483647}, Case{"min", "-2147483648", INT32_MIN},
                      Case{"too_big", "2147483648", std::nullopt}, Case{"hex_full_pattern", "$FFFFFFFF", -1},
                      Case{"hex_too_long", "$100000000", std::nullopt}, Case{"empty", "", std::nullopt},
                      Case{"blanks_only", "   ", std::nullopt}, Case{"trailing_blank", "12 ", std::nullopt},
                      Case{"sign_only", "-", std::nullopt}, Case{"dollar_only", "$", std::nullopt},
                      Case{"letters", "clRed", std::nullopt}, Case{"tab_not_skipped", "\t5", std::nullopt},
                      Case{"hex_in_decimal", "12ab", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IntegerConversionError, NamesTheText)
{
    try {
        StrToInt("blue");
        FAIL() << "no error";
    } catch (const QuorlexError& e) {
        EXPECT_STREQ(e.what(), "'blue' is not a valid integer value");
    }
}

TEST(IntegerConversionError, AByteZeroDoesNotCutTheMessage)
{
    try {
        StrToInt(std::string_view("1\0x", 3));
        FAIL() << "no error";
    } catch (const QuorlexError& e) {
        EXPECT_STREQ(e.what(), "'1\xE2\x90\x80x' is not a valid integer value");
    }
}

TEST(ErrorBox, AppendsAFullStopOnlyAfterCharactersAboveIt)
{
    EXPECT_EQ(ErrorBoxText("Printer not found!"), "Printer not found!");
    EXPECT_EQ(ErrorBoxText("Unable to write to x"), "Unable to write to x.");
    EXPECT_EQ(ErrorBoxText("ends."), "ends.");
    EXPECT_EQ(ErrorBoxText("value '1'"), "value '1'");
    EXPECT_EQ(ErrorBoxText(""), "");
}

} // namespace

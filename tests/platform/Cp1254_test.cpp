#include "platform/ColorNames.h"
#include "platform/Cp1254.h"
#include "platform/Error.h"

#include <gtest/gtest.h>

namespace {

TEST(Cp1254, EveryByteHasOneCharacterAndBack)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    const QString text = cp1254::Decode(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(cp1254::Encode(text), all);
    EXPECT_EQ(text[0xDD], QChar(0x0130)); // İ
    EXPECT_EQ(text[0xFD], QChar(0x0131)); // ı
    EXPECT_EQ(text[0x80], QChar(0x20AC)); // €
    EXPECT_EQ(text[0x81], QChar(0x0081)); // undefined code: same number
}

TEST(Cp1254, CharactersOutsideTheCodePageBecomeQuestionMarks)
{
    EXPECT_EQ(cp1254::Encode(QString::fromUtf8("a\xE2\x82\xACz\xE4\xB8\xAD\xF0\x9F\x98\x80")), "a\x80z??");
    EXPECT_EQ(cp1254::FromUnicode(0x4E2D), -1);
}

struct ColorCase {
    const char* text;
    std::uint32_t value;
};

class ColorRead : public ::testing::TestWithParam<ColorCase> {};

TEST_P(ColorRead, IdentifierOrInteger)
{
    EXPECT_EQ(colors::FromSettingText(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Table, ColorRead,
                         ::testing::Values(ColorCase{"clRed", 0xFF}, ColorCase{"CLRED", 0xFF},
                                           ColorCase{"$000000FF", 0xFF}, ColorCase{"255", 0xFF},
                                           ColorCase{"clWindow", 0xFF000005u}, ColorCase{"clNone", 0x1FFFFFFFu},
                                           ColorCase{"cl3DLight", 0xFF000016u}, ColorCase{"$00030201", 0x030201}));

TEST(ColorText, IdentifierWhenItHasOneElseDollarHex)
{
    EXPECT_EQ(colors::ToSettingText(colors::FromRgb(255, 0, 0)), "clRed");
    EXPECT_EQ(colors::ToSettingText(colors::FromRgb(255, 255, 255)), "clWhite");
    EXPECT_EQ(colors::ToSettingText(colors::FromRgb(1, 2, 3)), "$00030201");
    EXPECT_EQ(colors::ToSettingText(0xFF000005u), "clWindow");
}

TEST(ColorText, NoColourIsAnError)
{
    EXPECT_THROW(colors::FromSettingText("reddish"), QuorlexError);
}

} // namespace

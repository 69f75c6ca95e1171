#include "commands/KeyPressSimulator.h"

#include <gtest/gtest.h>

namespace {

TEST(KeyPressSimulator, RefusesBlankDocuments)
{
    EXPECT_TRUE(simulator::Refuses(""));
    EXPECT_TRUE(simulator::Refuses("  "));
    EXPECT_TRUE(simulator::Refuses("\r\n\t \x01"));
    EXPECT_FALSE(simulator::Refuses(" a "));
    // Bytes above 127 are text, never blanks.
    EXPECT_FALSE(simulator::Refuses("\xA0"));
}

TEST(KeyPressSimulator, NoticeHasThreeLinesSeparatedByASingleCr)
{
    EXPECT_EQ(simulator::RefusalNotice(), "Open a text file first.\rThen click KeyPress Simulator and press random "
                                          "keys.\rAnd let Quorlex write the text correctly.");
}

TEST(KeyPressSimulator, TakesOneByteAPressThenNothing)
{
    const std::string stored = "ab\r\n";
    std::int64_t pos = 1;
    std::string written;
    while (const auto next = simulator::TakeNext(stored, pos))
        written += *next;
    EXPECT_EQ(written, stored);
    EXPECT_EQ(pos, 5);
    EXPECT_EQ(simulator::TakeNext(stored, pos), std::nullopt);
    std::int64_t zero = 0;
    EXPECT_EQ(simulator::TakeNext(stored, zero), std::nullopt);
}

struct KeyCase {
    const char* name;
    int key;
    Qt::KeyboardModifiers modifiers;
    const char16_t* text;
    bool types;
};

class TypesCharacterTest : public testing::TestWithParam<KeyCase> {};

TEST_P(TypesCharacterTest, Decides)
{
    const KeyCase& c = GetParam();
    EXPECT_EQ(simulator::TypesCharacter(c.key, c.modifiers, QStringView(c.text)), c.types);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, TypesCharacterTest,
    testing::Values(KeyCase{"letter", Qt::Key_A, Qt::NoModifier, u"a", true},
                    KeyCase{"shifted_letter", Qt::Key_A, Qt::ShiftModifier, u"A", true},
                    KeyCase{"blank", Qt::Key_Space, Qt::NoModifier, u" ", true},
                    KeyCase{"turkish_letter", Qt::Key_unknown, Qt::NoModifier, u"\u011F", true},
                    KeyCase{"enter_even_without_text", Qt::Key_Return, Qt::NoModifier, u"", true},
                    KeyCase{"keypad_enter", Qt::Key_Enter, Qt::KeypadModifier, u"\r", true},
                    KeyCase{"backspace", Qt::Key_Backspace, Qt::NoModifier, u"\b", true},
                    KeyCase{"escape", Qt::Key_Escape, Qt::NoModifier, u"\x1b", true},
                    KeyCase{"control_letter", Qt::Key_B, Qt::ControlModifier, u"\x02", true},
                    KeyCase{"ctrl_tab_types_a_tab", Qt::Key_Tab, Qt::ControlModifier, u"\t", true},
                    KeyCase{"plain_tab_moves_focus", Qt::Key_Tab, Qt::NoModifier, u"\t", false},
                    KeyCase{"delete", Qt::Key_Delete, Qt::NoModifier, u"\x7f", false},
                    KeyCase{"arrow", Qt::Key_Left, Qt::NoModifier, u"", false},
                    KeyCase{"alt_letter_is_a_menu_key", Qt::Key_F, Qt::AltModifier, u"f", false},
                    KeyCase{"function_key", Qt::Key_F5, Qt::NoModifier, u"", false}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace

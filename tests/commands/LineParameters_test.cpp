#include "commands/LineParameters.h"

#include <gtest/gtest.h>

namespace {

enum class Mode { Join, Prefix, Suffix };

struct ParameterCase {
    const char* name;
    Mode mode;
    std::string text;
    std::string parameter;
    std::string expected;
    std::int64_t caret;
    bool notifies;
};

class LineParameter : public testing::TestWithParam<ParameterCase> {};

TEST_P(LineParameter, GivesTextCaretAndChange)
{
    const ParameterCase& c = GetParam();
    const LineView lines(c.text);
    const LineResult r = c.mode == Mode::Join     ? JoinLinesWithSeparator(lines, c.parameter)
                         : c.mode == Mode::Prefix ? PrefixEachLine(lines, c.parameter)
                                                  : SuffixEachLine(lines, c.parameter);
    EXPECT_EQ(r.text, c.expected);
    EXPECT_EQ(r.caret, c.caret);
    EXPECT_EQ(r.notifies, c.notifies);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LineParameter,
    testing::Values(
        ParameterCase{"JoinTrimsLinesNotSeparator", Mode::Join, "a\r\n b \r\nc\r\n", ", ", "a, b, c\r\n", 9, true},
        ParameterCase{"JoinKeepsEmptyLines", Mode::Join, "a\r\n\r\nb", ", ", "a, , b\r\n", 8, true},
        ParameterCase{"JoinEmptyDocument", Mode::Join, "", ", ", "\r\n", 2, true},
        ParameterCase{"JoinSingleLine", Mode::Join, " x ", ", ", "x\r\n", 3, true},
        ParameterCase{"JoinEmptySeparator", Mode::Join, "a \r\n b\r\n", "", "ab\r\n", 4, true},
        ParameterCase{"PrefixEveryLine", Mode::Prefix, "a\r\nb\r\n", "> ", "> a\r\n> b\r\n", 8, true},
        ParameterCase{"PrefixNoTrim", Mode::Prefix, " a \r\n", "-", "- a \r\n", 4, true},
        ParameterCase{"SuffixEmptyLineBetween", Mode::Suffix, "a\r\n\r\nb", ";", "a;\r\n;\r\nb;", 9, true},
        ParameterCase{"SuffixNotBehindTheFinalBreak", Mode::Suffix, "a\r\n", ";", "a;\r\n", 2, true},
        ParameterCase{"PrefixEmptyDocument", Mode::Prefix, "", "x", "x", 1, true},
        ParameterCase{"SuffixEmptyDocument", Mode::Suffix, "", "x", "x", 1, true},
        ParameterCase{"EmptyTextOnEmptyDocumentDoesNothing", Mode::Prefix, "", "", "", 0, false},
        // Every line is written again, so the document reports a change though it reads the same.
        ParameterCase{"EmptyTextRewritesLines", Mode::Suffix, "a\r\nb\r\n", "", "a\r\nb\r\n", 4, true},
        ParameterCase{"EmptyTextOverEmptyLines", Mode::Suffix, "\r\n\r\n", "", "\r\n\r\n", 2, false}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace

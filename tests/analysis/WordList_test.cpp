#include "analysis/WordList.h"
#include "document/LineText.h"
#include "platform/Collation.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string WordList(const std::string& text) { return GenerateWordList(LineView(text)); }

struct ListCase {
    const char* name;
    std::string text;
    std::string list;
};

class WordListCases : public ::testing::TestWithParam<ListCase> {};

TEST_P(WordListCases, Generates) { EXPECT_EQ(WordList(GetParam().text), GetParam().list); }

INSTANTIATE_TEST_SUITE_P(
    GenerateWordList, WordListCases,
    ::testing::Values(
        ListCase{"worked_example", "The cat saw the Dog.\r\nDogs, cats!",
                 "cat\r\ncats\r\ndog\r\ndogs\r\nsaw\r\nthe\r\n"},
        ListCase{"empty_document_is_one_empty_line", "", "\r\n"},
        ListCase{"only_separators_is_one_empty_line", " ...\r\n-- !", "\r\n"},
        ListCase{"ascii_case_collapses", "Apple APPLE apple", "apple\r\n"},
        ListCase{"digits_are_words", "b 10 a 2", "10\r\n2\r\na\r\nb\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GenerateWordList, SecondRunChangesNothing)
{
    const std::string once = WordList("zeta alpha, Beta; gamma-alpha\r\nomega 42 Zeta");
    EXPECT_EQ(WordList(once), once);
}

TEST(GenerateWordList, NonAsciiCaseVariantsStayAdjacentLines)
{
    const std::string list = WordList("zz \xC9" "clair aa \xE9" "clair");
    // Both spellings survive, next to each other between "aa" and "zz".
    EXPECT_TRUE(list == "aa\r\n\xC9" "clair\r\n\xE9" "clair\r\nzz\r\n" ||
                list == "aa\r\n\xE9" "clair\r\n\xC9" "clair\r\nzz\r\n")
        << list;
}

TEST(GenerateWordList, IgnoresCaseInTheCLocale)
{
    const std::string list = GenerateWordList(LineView("zz \xC9" "clair B a \xE9" "clair"), TextCollator::ForLocaleName("C"));
    EXPECT_TRUE(list == "a\r\nb\r\n\xC9" "clair\r\n\xE9" "clair\r\nzz\r\n" ||
                list == "a\r\nb\r\n\xE9" "clair\r\n\xC9" "clair\r\nzz\r\n")
        << list;
}

TEST(GenerateWordList, SameWordsAndOrderAsTheWordTable)
{
    const std::string text = "Kapi kap\xFD KAPI \xE7" "ay cay 3x x3 _x_";
    const TTextStatistics s = AnalyzeText(LineView(text));
    EXPECT_EQ(WordList(text), WordListText(s.WordRows));
}

TEST(ExportTexts, WordListAndCsvOfTheExample)
{
    const std::string text = "b a b";
    const TTextStatistics s = AnalyzeText(LineView(text));
    EXPECT_EQ(WordListText(s.WordRows), "a\r\nb\r\n");
    EXPECT_EQ(WordCsvText(s.WordRows), "a;1;33.3 %\r\nb;2;66.6 %\r\n");
}

TEST(ExportTexts, EmptyTableGivesEmptyTexts)
{
    EXPECT_EQ(WordListText({}), "");
    EXPECT_EQ(WordCsvText({}), "");
}

} // namespace

#include "platform/Collation.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

int Sign(int v) { return (v > 0) - (v < 0); }

// The stored key bytes must order every pair of texts exactly as the collator compares
// them: the list sort relies on it for its order of equal lines.
TEST(Collation, KeyBytesOrderAsCompareForEveryCodePageCharacter)
{
    const TextCollator collator(QLocale(QLocale::Turkish, QLocale::Turkey));
    std::vector<std::string> texts = {"", "a", "A", "ab", "aB", "a b", "a  b", "\xFD", "i", "I", "\xDD", "\xE9", "e"};
    for (int b = 1; b < 256; ++b) {
        texts.push_back(std::string(1, static_cast<char>(b)));
        texts.push_back("x" + std::string(1, static_cast<char>(b)) + "a");
    }
    std::vector<std::string> keys;
    for (const std::string& t : texts) {
        std::string key;
        ASSERT_TRUE(collator.AppendSortKeyBytes(t, key));
        ASSERT_EQ(key.back(), '\0');
        keys.push_back(key);
    }
    for (std::size_t i = 0; i < texts.size(); ++i)
        for (std::size_t j = 0; j < texts.size(); ++j)
            ASSERT_EQ(Sign(std::strcmp(keys[i].c_str(), keys[j].c_str())), Sign(collator.Compare(texts[i], texts[j])))
                << "texts " << i << " and " << j;
}

// C, C.UTF-8 and POSIX name no language, and ICU knows no "xx": all of them sort by the
// root order with case ignored, and not by the order of the process's own locale (the
// tests run under Turkish, which puts dotless i before i).
TEST(Collation, LocalesWithoutALanguageIgnoreCaseInTheRootOrder)
{
    for (const char* name : {"C", "C.UTF-8", "POSIX", "xx_YY.UTF-8", ""}) {
        const TextCollator collator = TextCollator::ForLocaleName(name);
        EXPECT_LT(collator.Compare("a", "B"), 0) << name;
        EXPECT_GT(collator.Compare("B", "a"), 0) << name;
        EXPECT_EQ(collator.Compare("\xC9" "clair", "\xE9" "clair"), 0) << name;
        EXPECT_LT(collator.Compare("i", "\xFD"), 0) << name;
        std::string upper, lower;
        ASSERT_TRUE(collator.AppendSortKeyBytes("\xC9" "clair", upper)) << name;
        ASSERT_TRUE(collator.AppendSortKeyBytes("\xE9" "clair", lower)) << name;
        EXPECT_EQ(upper, lower) << name;
    }
    EXPECT_EQ(TextCollator(QLocale::c()).Compare("A", "a"), 0);
}

TEST(Collation, LocaleNameChoosesItsLanguage)
{
    EXPECT_LT(TextCollator::ForLocaleName("tr_TR.UTF-8").Compare("\xFD", "i"), 0);
    EXPECT_EQ(TextCollator::ForLocaleName("tr_TR").Compare("\xDD", "i"), 0);
    EXPECT_LT(TextCollator::ForLocaleName("de_DE.UTF-8@euro").Compare("i", "\xFD"), 0);
}

} // namespace

#include "platform/Collation.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

int Sign(int v) { return (v > 0) - (v < 0); }

// The stored key bytes must order every pair of texts exactly as the collator compares
// them: the list sort relies on it for its order of equal lines. (The collator's Compare puts
// the empty text before a text of ignorable control characters; keys, as before, do not.)
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
    for (std::size_t i = 1; i < texts.size(); ++i)
        for (std::size_t j = 1; j < texts.size(); ++j)
            ASSERT_EQ(Sign(std::strcmp(keys[i].c_str(), keys[j].c_str())), Sign(collator.Compare(texts[i], texts[j])))
                << "texts " << i << " and " << j;
}

TEST(Collation, CLocaleHasNoKeyBytes)
{
    std::string key = "kept";
    EXPECT_FALSE(TextCollator(QLocale::c()).AppendSortKeyBytes("a", key));
    EXPECT_EQ(key, "kept");
}

} // namespace

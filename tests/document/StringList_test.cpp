#include "document/StringList.h"
#include "platform/Collation.h"
#include "tests/support/ReferenceQuickSort.h"
#include "tests/support/TempHome.h"

#include <QFile>

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

std::vector<std::string> Items(const StringList& list) { return list.Items(); }

TEST(StringList, SetTextSplitsAtEveryKindOfBreakAndStopsAtNul)
{
    StringList list;
    list.SetText(std::string("a\r\nb\rc\nd\r\n\r\ne\0f\r\ng", 18));
    EXPECT_EQ(Items(list), (std::vector<std::string>{"a", "b", "c", "d", "", "e"}));
    list.SetText("x\r\n");
    EXPECT_EQ(Items(list), std::vector<std::string>{"x"});
    list.SetText("");
    EXPECT_EQ(list.Count(), 0);
}

TEST(StringList, TextEndsEveryItemWithCrLf)
{
    StringList list;
    EXPECT_EQ(list.Text(), "");
    list.Add("a");
    list.Add("");
    EXPECT_EQ(list.Text(), "a\r\n\r\n");
}

TEST(StringList, LoadFromFileStopsAtNul)
{
    TempHome home;
    QFile f(home.File(QStringLiteral("s.txt")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray("one\ntwo\0three", 13));
    f.close();
    StringList list;
    list.LoadFromFile(f.fileName());
    EXPECT_EQ(Items(list), (std::vector<std::string>{"one", "two"}));
}

TEST(StringListSort, IgnoresCaseAndKeepsTheQuicksortOrderOfEqualItems)
{
    const TextCollator collator(QLocale(QLocale::Turkish, QLocale::Turkey));
    StringList list;
    for (const char* s : {"b", "A", "a", "B"})
        list.Add(s);
    list.Sort(collator);
    // The second partition swaps the equal pair 'b', 'B': a stable sort would not.
    EXPECT_EQ(Items(list), (std::vector<std::string>{"a", "A", "B", "b"}));
}

TEST(StringListSort, EmptyFirstAndLocaleOrderForTurkishLetters)
{
    const TextCollator collator(QLocale(QLocale::Turkish, QLocale::Turkey));
    StringList list;
    for (const char* s : {"\xFE" "ey", "sabah", "", "\xE7" "ay", "cam", "zeytin"})
        list.Add(s);
    list.Sort(collator);
    EXPECT_EQ(Items(list), (std::vector<std::string>{"", "cam", "\xE7" "ay", "sabah", "\xFE" "ey", "zeytin"}));
}

// The sort may take a faster road than the quicksort only where nobody can tell: random
// lists with duplicates and with lines that compare equal but differ in bytes ("a" and "A",
// the Turkish dotted and dotless pairs) must come out byte for byte as the procedure leaves them.
TEST(StringListSort, GivesTheProcedureOrderByteForByte)
{
    const std::vector<std::string> mixed = {"a", "A", "b", "B", "\xE9", "\xC9", "i", "\xDD", "\xFD", "I", " ", "1"};
    const std::vector<std::string> lower = {"a", "b", "\xE9", "i", "\xFD", " ", "1"};
    std::mt19937 rng(7);
    for (const char* locale : {"tr_TR.UTF-8", "C"}) {
        const TextCollator collator = TextCollator::ForLocaleName(locale);
        const auto compare = [&](const std::string& a, const std::string& b) { return collator.Compare(a, b); };
        for (int round = 0; round < 600; ++round) {
            const std::vector<std::string>& letters = round % 2 ? mixed : lower;
            std::vector<std::string> items(rng() % (round % 10 ? 30 : 300));
            // A long common start makes the comparison go past the keys' first 16 bytes.
            for (std::string& s : items) {
                s = round % 3 ? "" : "uzun ortak bir ba\xFElang\xFD\xE7 ";
                for (unsigned n = rng() % 4; n > 0; --n)
                    s += letters[rng() % letters.size()];
            }
            StringList list;
            for (const std::string& s : items)
                list.Add(s);
            list.Sort(collator);
            ASSERT_EQ(Items(list), ReferenceSorted(items, compare)) << locale << ", round " << round;
        }
    }
}

// With the budget forced small the procedure runs out on ordinary lists, and the fallback
// must then be the stable order; with the budget it needs, the procedure's order again.
TEST(StringListSort, BeyondItsBudgetKeepsListOrderAmongEqualItems)
{
    const std::vector<std::string> letters = {"a", "A", "b", "B", "\xFD", "I", "i", "\xDD"};
    const TextCollator collator = TextCollator::ForLocaleName("tr_TR.UTF-8");
    std::mt19937 rng(11);
    int fallbacks = 0;
    for (int round = 0; round < 400; ++round) {
        std::vector<std::string> items(2 + rng() % 40);
        for (std::string& s : items)
            for (unsigned n = 1 + rng() % 2; n > 0; --n)
                s += letters[rng() % letters.size()];
        std::int64_t needed = 0;
        const auto counted = [&](const std::string& a, const std::string& b) {
            ++needed;
            return collator.Compare(a, b);
        };
        const std::vector<std::string> procedure = ReferenceSorted(items, counted);
        std::vector<std::string> stable = items;
        std::stable_sort(stable.begin(), stable.end(),
                         [&](const std::string& a, const std::string& b) { return collator.Compare(a, b) < 0; });
        const std::int64_t budget = round % 4 == 0 ? needed : static_cast<std::int64_t>(rng() % (needed + 1));
        StringList list;
        for (const std::string& s : items)
            list.Add(s);
        list.Sort(collator, budget);
        ASSERT_EQ(Items(list), budget >= needed ? procedure : stable) << "round " << round << ", budget " << budget;
        fallbacks += budget < needed && procedure != stable;
    }
    EXPECT_GT(fallbacks, 100); // the stable road was taken where it shows
}

TEST(StringListSort, FewerThanTwoItemsAreLeftAlone)
{
    StringList list;
    list.Sort();
    list.Add("z");
    list.Sort();
    EXPECT_EQ(Items(list), std::vector<std::string>{"z"});
}

} // namespace

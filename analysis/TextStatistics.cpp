#include "analysis/TextStatistics.h"

#include "document/LineText.h"
#include "document/StringList.h"
#include "platform/Collation.h"

#include <QtGlobal>

#include <array>

namespace {

struct ByteTables {
    std::array<bool, 256> word{};
    std::array<char, 256> lower{}; // A-Z -> a-z
    std::array<unsigned char, 256> upper{}; // a-z -> A-Z
};

const ByteTables& Tables()
{
    static const ByteTables t = [] {
        ByteTables b;
        for (int c = 0; c < 256; ++c) {
            const auto u = static_cast<unsigned char>(c);
            b.word[u] = IsWordChar(u);
            b.lower[u] = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
            b.upper[u] = static_cast<unsigned char>(c >= 'a' && c <= 'z' ? c - 32 : c);
        }
        return b;
    }();
    return t;
}

} // namespace

TFrequencyList CountChars(const LineView& lines)
{
    // At most 223 keys, so plain counters per byte do the counting; the list is assembled
    // afterwards in order of first appearance.
    const ByteTables& t = Tables();
    std::array<std::int64_t, 256> counts{};
    std::array<unsigned char, 256> order{};
    int distinct = 0;
    for (int i = 0; i < lines.Count(); ++i) {
        for (const char ch : lines.Get(i)) {
            const auto b = static_cast<unsigned char>(ch);
            if (b <= 32)
                continue;
            const unsigned char key = t.upper[b];
            if (counts[key]++ == 0)
                order[static_cast<std::size_t>(distinct++)] = key;
        }
    }
    TFrequencyList list;
    for (int k = 0; k < distinct; ++k) {
        const unsigned char key = order[static_cast<std::size_t>(k)];
        const char c = static_cast<char>(key);
        list.Increment(list.Add(std::string_view(&c, 1)), counts[key] - 1);
    }
    return list;
}

TFrequencyList CountWords(const LineView& lines)
{
    const ByteTables& t = Tables();
    TFrequencyList list;
    std::string word;
    for (int i = 0; i < lines.Count(); ++i) {
        const std::string_view line = lines.Get(i);
        const char* p = line.data();
        const char* const end = p + line.size();
        while (p < end) {
            while (p < end && !t.word[static_cast<unsigned char>(*p)])
                ++p;
            if (p == end)
                break;
            word.clear();
            while (p < end && t.word[static_cast<unsigned char>(*p)])
                word += t.lower[static_cast<unsigned char>(*p++)];
            list.Add(word);
        }
    }
    return list;
}

std::string FormatTenths(std::int64_t v)
{
    return std::to_string(v / 10) + '.' + static_cast<char>('0' + v % 10);
}

TFrequencyRows BuildFrequencyRows(const TFrequencyList& list, const TextCollator& collator)
{
    TFrequencyRows out;
    for (const TFrequencyList::Entry& e : list.Entries())
        out.Total += e.Count;
    if (list.Size() == 0)
        return out;
    StringList keys;
    keys.Items().reserve(static_cast<std::size_t>(list.Size()));
    for (const TFrequencyList::Entry& e : list.Entries())
        keys.Add(e.Key);
    keys.Sort(collator);
    out.Rows.reserve(keys.Items().size());
    for (std::string& key : keys.Items()) {
        const std::int64_t count = list[list.Find(key)].Count;
        out.Rows.push_back(
            TFrequencyRow{std::move(key), std::to_string(count), FormatTenths(count * 1000 / out.Total) + " %"});
    }
    return out;
}

TFrequencyRows BuildFrequencyRows(const TFrequencyList& list) { return BuildFrequencyRows(list, TextCollator()); }

TTextStatistics AnalyzeText(const LineView& lines, const TextCollator& collator)
{
    TTextStatistics s;
    s.Lines = lines.Count();
    for (int i = 0; i < lines.Count(); ++i)
        s.Size += static_cast<std::int64_t>(lines.Get(i).size()) + 2;

    const TFrequencyList chars = CountChars(lines);
    s.UniqueChars = chars.Size();
    s.CharRows = BuildFrequencyRows(chars, collator).Rows;

    TFrequencyList words = CountWords(lines);
    s.UniqueWords = words.Size();
    TFrequencyRows wordRows = BuildFrequencyRows(words, collator);
    s.Words = wordRows.Total;
    s.WordRows = std::move(wordRows.Rows);
    return s;
}

TTextStatistics AnalyzeText(const LineView& lines) { return AnalyzeText(lines, TextCollator()); }

std::vector<TGeneralRow> TTextStatistics::General() const
{
    return {
        {QT_TRANSLATE_NOOP("TAnalyzetext", "Size"), std::to_string(Size) + " bytes"},
        {QT_TRANSLATE_NOOP("TAnalyzetext", "Lines"), std::to_string(Lines)},
        {QT_TRANSLATE_NOOP("TAnalyzetext", "Words"), std::to_string(Words)},
        {QT_TRANSLATE_NOOP("TAnalyzetext", "Unique Words"), std::to_string(UniqueWords)},
        {QT_TRANSLATE_NOOP("TAnalyzetext", "Unique Chars"), std::to_string(UniqueChars)},
    };
}

#include "analysis/WordList.h"

#include "document/LineText.h"
#include "document/StringList.h"
#include "platform/Collation.h"

std::string GenerateWordList(const LineView& lines, const TextCollator& collator)
{
    StringList words;
    {
        TFrequencyList counted = CountWords(lines);
        words.Items().reserve(static_cast<std::size_t>(counted.Size()));
        for (const TFrequencyList::Entry& e : counted.Entries())
            words.Add(e.Key);
    }
    if (words.Count() == 0)
        return "\r\n";
    words.Sort(collator);
    return words.Text();
}

std::string GenerateWordList(const LineView& lines) { return GenerateWordList(lines, TextCollator()); }

std::string WordListText(const std::vector<TFrequencyRow>& rows)
{
    std::size_t size = 0;
    for (const TFrequencyRow& r : rows)
        size += r.Item.size() + 2;
    std::string out;
    out.reserve(size);
    for (const TFrequencyRow& r : rows) {
        out += r.Item;
        out += "\r\n";
    }
    return out;
}

std::string WordCsvText(const std::vector<TFrequencyRow>& rows)
{
    std::size_t size = 0;
    for (const TFrequencyRow& r : rows)
        size += r.Item.size() + r.Usage.size() + r.Percent.size() + 4;
    std::string out;
    out.reserve(size);
    for (const TFrequencyRow& r : rows) {
        out += r.Item;
        out += ';';
        out += r.Usage;
        out += ';';
        out += r.Percent;
        out += "\r\n";
    }
    return out;
}

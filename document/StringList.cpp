#include "document/StringList.h"

#include "document/QuickSort.h"
#include "document/TextFile.h"
#include "platform/Collation.h"

#include <QCollatorSortKey>

std::string StringList::Text() const
{
    std::size_t size = 0;
    for (const std::string& s : m_items)
        size += s.size() + 2;
    std::string out;
    out.reserve(size);
    for (const std::string& s : m_items) {
        out += s;
        out += "\r\n";
    }
    return out;
}

void StringList::SetText(std::string_view text)
{
    m_items.clear();
    if (const std::size_t nul = text.find('\0'); nul != std::string_view::npos)
        text = text.substr(0, nul);
    std::size_t pos = 0;
    const std::size_t n = text.size();
    while (pos < n) {
        std::size_t end = pos;
        while (end < n && text[end] != '\r' && text[end] != '\n')
            ++end;
        m_items.emplace_back(text.substr(pos, end - pos));
        if (end < n && text[end] == '\r')
            ++end;
        if (end < n && text[end] == '\n')
            ++end;
        pos = end;
    }
}

void StringList::LoadFromFile(const QString& path) { SetText(ReadFileBytes(path)); }

void StringList::Sort(const TextCollator& collator)
{
    if (m_items.size() < 2)
        return;
    // One key per item, swapped along with it: collating each comparison afresh would
    // decode both lines to Unicode every time.
    std::vector<QCollatorSortKey> keys;
    keys.reserve(m_items.size());
    for (const std::string& s : m_items)
        keys.push_back(collator.SortKey(s));
    QuickSortRange(
        0, Count() - 1,
        [&](int a, int b) { return keys[static_cast<std::size_t>(a)].compare(keys[static_cast<std::size_t>(b)]); },
        [&](int a, int b) {
            std::swap(m_items[static_cast<std::size_t>(a)], m_items[static_cast<std::size_t>(b)]);
            std::swap(keys[static_cast<std::size_t>(a)], keys[static_cast<std::size_t>(b)]);
        });
}

void StringList::Sort() { Sort(TextCollator()); }

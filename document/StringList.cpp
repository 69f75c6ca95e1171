#include "document/StringList.h"

#include "document/QuickSort.h"
#include "document/TextFile.h"
#include "platform/Collation.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

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

namespace {

// One item's sort key, stored apart from the key bytes: its first 16 bytes inline, so most
// comparisons never leave this array, which the quicksort scans in order.
struct KeyEntry {
    std::uint64_t head[2];
    std::uint32_t offset; // of the key's bytes behind the head (ending in byte 0) in the key store
    std::uint32_t item;   // the item's index before sorting
};

std::uint64_t BigEndian(const unsigned char* p)
{
    std::uint64_t v = 0;
    for (int i = 0; i < 8; ++i)
        v = (v << 8) | p[i];
    return v;
}

bool HasZeroByte(std::uint64_t v) { return ((v - 0x0101010101010101u) & ~v & 0x8080808080808080u) != 0; }

// The order the list's quicksort leaves `entries` in (each naming its item through `itemOf`),
// as the items' indices. One stable sort by the collation ranks the distinct items; the
// procedure then runs over the ranks, integers, which is far cheaper than comparing texts and
// gives the same order, since it reads nothing but the signs of comparisons. That procedure
// decides only the order of items that compare equal: where every such group holds a single
// byte string, any correct sort gives the same bytes, and the stable one serves as it is.
// Where the procedure would need more than `budget` comparisons (it is quadratic on some
// orders, two sorted halves of such lines say), the stable order is the result too: equal
// items then keep their order in the list.
template <class Entry, class Item, class Compare, class ItemOf>
std::vector<std::uint32_t> ProcedureOrder(std::vector<Entry>& entries, const std::vector<Item>& items,
                                          const Compare& compare, const ItemOf& itemOf, std::int64_t budget)
{
    // The entries come in list order, so ties broken by the item's index give the stable order
    // without the buffer a stable sort takes.
    std::sort(entries.begin(), entries.end(), [&](const Entry& a, const Entry& b) {
        const int c = compare(a, b);
        return c != 0 ? c < 0 : itemOf(a) < itemOf(b);
    });
    std::vector<std::uint32_t> order(entries.size());
    // Rank in the upper half, item in the lower, in list order: one array to partition.
    std::vector<std::uint64_t> ranked(entries.size());
    bool sameBytes = true;
    std::uint64_t rank = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::uint32_t item = itemOf(entries[i]);
        if (i > 0) {
            if (compare(entries[i - 1], entries[i]) != 0)
                ++rank;
            else if (sameBytes)
                sameBytes = items[order[i - 1]] == items[item];
        }
        order[i] = item;
        ranked[item] = rank << 32 | item;
    }
    entries = {};
    if (sameBytes)
        return order;
    const auto rankOf = [&](int i) { return static_cast<std::uint32_t>(ranked[static_cast<std::size_t>(i)] >> 32); };
    const bool finished = QuickSortRangeWithin(
        0, static_cast<int>(ranked.size()) - 1, budget,
        [&](int a, int b) {
            const std::uint32_t x = rankOf(a);
            const std::uint32_t y = rankOf(b);
            return (x > y) - (x < y);
        },
        [&](int a, int b) { std::swap(ranked[static_cast<std::size_t>(a)], ranked[static_cast<std::size_t>(b)]); });
    if (finished)
        for (std::size_t i = 0; i < ranked.size(); ++i)
            order[i] = static_cast<std::uint32_t>(ranked[i]);
    return order;
}

template <class Item>
void Reorder(std::vector<Item>& items, const std::vector<std::uint32_t>& order)
{
    std::vector<Item> sorted;
    sorted.reserve(items.size());
    for (const std::uint32_t i : order)
        sorted.push_back(std::move(items[i]));
    items.swap(sorted);
}

// The list sort over items that are byte strings or views of them.
template <class Item>
void SortItems(std::vector<Item>& items, const TextCollator& collator, std::int64_t comparisons)
{
    if (items.size() < 2)
        return;
    // Room for keys a quarter longer than the texts, as they come out for Latin letters (less
    // the heads, which the entries hold): a store that doubles on the way would hold its old
    // and new room at once, and room never written costs no memory.
    std::size_t textBytes = 0;
    for (const Item& item : items)
        textBytes += item.size();
    std::string store;
    store.reserve(textBytes + textBytes / 4 + items.size() * 4);
    std::vector<KeyEntry> keys;
    keys.reserve(items.size());
    bool packed = true;
    for (std::size_t i = 0; i < items.size() && packed; ++i) {
        const std::size_t at = store.size();
        packed = collator.AppendSortKeyBytes(items[i], store);
        // The first 16 bytes go into the entry, zeros behind a short key's end; the store
        // keeps only what follows them, which a comparison reads only when both heads are
        // equal and hold no key's end.
        const std::size_t length = store.size() - at;
        unsigned char head[16] = {};
        std::memcpy(head, store.data() + at, std::min<std::size_t>(16, length));
        if (length <= 16)
            store.resize(at);
        else
            store.erase(at, 16);
        packed = packed && store.size() < 0xFFFFFFF0u;
        keys.push_back({{BigEndian(head), BigEndian(head + 8)}, static_cast<std::uint32_t>(at),
                        static_cast<std::uint32_t>(i)});
    }
    if (!packed) {
        // Beyond what 32-bit offsets reach: one key string per item, or the comparison itself
        // where the library gives no key.
        std::vector<std::string> objects(items.size());
        bool keyed = true;
        for (std::size_t i = 0; i < items.size() && keyed; ++i)
            keyed = collator.AppendSortKeyBytes(items[i], objects[i]);
        std::vector<std::uint32_t> indices(items.size());
        for (std::size_t i = 0; i < indices.size(); ++i)
            indices[i] = static_cast<std::uint32_t>(i);
        const auto itemOf = [](std::uint32_t i) { return i; };
        const std::vector<std::uint32_t> order =
            keyed ? ProcedureOrder(
                        indices, items,
                        [&](std::uint32_t a, std::uint32_t b) { return objects[a].compare(objects[b]); }, itemOf,
                        comparisons)
                  : ProcedureOrder(
                        indices, items,
                        [&](std::uint32_t a, std::uint32_t b) { return collator.Compare(items[a], items[b]); },
                        itemOf, comparisons);
        objects = {};
        Reorder(items, order);
        return;
    }
    const auto* base = reinterpret_cast<const unsigned char*>(store.data());
    // Keys end in their only byte 0, so zeros read past a short key's end order it first,
    // and equal heads that hold a key's end mean equal keys.
    const auto compare = [base](const KeyEntry& x, const KeyEntry& y) {
        for (int h = 0; h < 2; ++h) {
            if (x.head[h] != y.head[h])
                return x.head[h] < y.head[h] ? -1 : 1;
            if (HasZeroByte(x.head[h]))
                return 0;
        }
        return std::strcmp(reinterpret_cast<const char*>(base + x.offset),
                           reinterpret_cast<const char*>(base + y.offset));
    };
    const std::vector<std::uint32_t> order =
        ProcedureOrder(keys, items, compare, [](const KeyEntry& k) { return k.item; }, comparisons);
    store = {};
    Reorder(items, order);
}

} // namespace

std::int64_t StringList::SortBudget(std::size_t count)
{
    const double n = static_cast<double>(count);
    return static_cast<std::int64_t>(40 * n * std::log2(std::max(n, 2.0)));
}

void StringList::Sort(const TextCollator& collator) { Sort(collator, SortBudget(m_items.size())); }

void StringList::Sort(const TextCollator& collator, std::int64_t comparisons)
{
    SortItems(m_items, collator, comparisons);
}

void StringList::Sort() { Sort(TextCollator()); }

void SortTexts(std::vector<std::string_view>& texts, const TextCollator& collator)
{
    SortItems(texts, collator, StringList::SortBudget(texts.size()));
}

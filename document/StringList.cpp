#include "document/StringList.h"

#include "document/QuickSort.h"
#include "document/TextFile.h"
#include "platform/Collation.h"

#include <QCollatorSortKey>

#include <algorithm>
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
    std::uint32_t offset; // of the whole key (ending in byte 0) in the key store
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

} // namespace

void StringList::Sort(const TextCollator& collator)
{
    if (m_items.size() < 2)
        return;
    std::string store;
    store.reserve(m_items.size() * 8);
    std::vector<KeyEntry> keys;
    keys.reserve(m_items.size());
    bool bytes = true;
    for (std::size_t i = 0; i < m_items.size() && bytes; ++i) {
        const std::size_t at = store.size();
        bytes = collator.AppendSortKeyBytes(m_items[i], store) && store.size() < 0xFFFFFFF0u;
        keys.push_back({{0, 0}, static_cast<std::uint32_t>(at), static_cast<std::uint32_t>(i)});
    }
    if (!bytes) {
        // Keys only as objects (the C locale): one per item, swapped along with it, since
        // collating each comparison afresh would decode both lines every time.
        std::vector<QCollatorSortKey> objects;
        objects.reserve(m_items.size());
        for (const std::string& s : m_items)
            objects.push_back(collator.SortKey(s));
        QuickSortRange(
            0, Count() - 1,
            [&](int a, int b) { return objects[static_cast<std::size_t>(a)].compare(objects[static_cast<std::size_t>(b)]); },
            [&](int a, int b) {
                std::swap(m_items[static_cast<std::size_t>(a)], m_items[static_cast<std::size_t>(b)]);
                std::swap(objects[static_cast<std::size_t>(a)], objects[static_cast<std::size_t>(b)]);
            });
        return;
    }
    const std::size_t keyBytes = store.size();
    store.append(16, '\0'); // every key may be read 16 bytes far
    const auto* base = reinterpret_cast<const unsigned char*>(store.data());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        // Zeros, not the next key, behind a short key's end.
        const std::size_t end = i + 1 < keys.size() ? keys[i + 1].offset : keyBytes;
        unsigned char head[16] = {};
        std::memcpy(head, base + keys[i].offset, std::min<std::size_t>(16, end - keys[i].offset));
        keys[i].head[0] = BigEndian(head);
        keys[i].head[1] = BigEndian(head + 8);
    }
    // Keys end in their only byte 0, so zeros read past a short key's end order it first,
    // and equal heads that hold a key's end mean equal keys.
    auto compare = [&](int a, int b) {
        const KeyEntry& x = keys[static_cast<std::size_t>(a)];
        const KeyEntry& y = keys[static_cast<std::size_t>(b)];
        for (int h = 0; h < 2; ++h) {
            if (x.head[h] != y.head[h])
                return x.head[h] < y.head[h] ? -1 : 1;
            if (HasZeroByte(x.head[h]))
                return 0;
        }
        return std::strcmp(reinterpret_cast<const char*>(base + x.offset + 16),
                           reinterpret_cast<const char*>(base + y.offset + 16));
    };
    QuickSortRange(0, Count() - 1, compare,
                   [&](int a, int b) { std::swap(keys[static_cast<std::size_t>(a)], keys[static_cast<std::size_t>(b)]); });
    std::vector<std::string> sorted;
    sorted.reserve(m_items.size());
    for (const KeyEntry& k : keys)
        sorted.push_back(std::move(m_items[k.item]));
    m_items.swap(sorted);
}

void StringList::Sort() { Sort(TextCollator()); }

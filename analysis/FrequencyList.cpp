#include "analysis/FrequencyList.h"

#include <cstring>

std::uint64_t TFrequencyList::Hash(std::string_view key)
{
    // FNV-1a over 8-byte words, then a final mix: words are short, so a simple hash with a
    // good avalanche beats a heavier general-purpose one.
    std::uint64_t h = 0xcbf29ce484222325ull ^ key.size();
    const char* p = key.data();
    std::size_t n = key.size();
    while (n >= 8) {
        std::uint64_t w;
        std::memcpy(&w, p, 8);
        h = (h ^ w) * 0x100000001b3ull;
        h ^= h >> 29;
        p += 8;
        n -= 8;
    }
    if (n > 0) {
        std::uint64_t w = 0;
        std::memcpy(&w, p, n);
        h = (h ^ w) * 0x100000001b3ull;
    }
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdull;
    h ^= h >> 33;
    return h;
}

std::size_t TFrequencyList::Probe(std::string_view key, std::uint64_t hash) const
{
    const std::size_t mask = m_slots.size() - 1;
    const auto tag = static_cast<std::uint32_t>(hash);
    std::size_t i = static_cast<std::size_t>(hash >> 32) & mask;
    for (;;) {
        const Slot& s = m_slots[i];
        if (s.Index < 0)
            return i;
        if (s.Hash == tag && m_entries[static_cast<std::size_t>(s.Index)].Key == key)
            return i;
        i = (i + 1) & mask;
    }
}

void TFrequencyList::Grow()
{
    const std::size_t size = m_slots.empty() ? 64 : m_slots.size() * 2;
    m_slots.assign(size, Slot{});
    const std::size_t mask = size - 1;
    for (std::size_t e = 0; e < m_entries.size(); ++e) {
        const std::uint64_t hash = Hash(m_entries[e].Key);
        std::size_t i = static_cast<std::size_t>(hash >> 32) & mask;
        while (m_slots[i].Index >= 0)
            i = (i + 1) & mask;
        m_slots[i] = Slot{static_cast<std::uint32_t>(hash), static_cast<std::int32_t>(e)};
    }
}

int TFrequencyList::Find(std::string_view key) const
{
    if (m_slots.empty())
        return -1;
    return m_slots[Probe(key, Hash(key))].Index;
}

int TFrequencyList::Add(std::string_view key)
{
    // Kept at most half full, so probes stay short and an empty slot always exists.
    if ((m_entries.size() + 1) * 2 > m_slots.size())
        Grow();
    const std::uint64_t hash = Hash(key);
    Slot& slot = m_slots[Probe(key, hash)];
    if (slot.Index >= 0) {
        ++m_entries[static_cast<std::size_t>(slot.Index)].Count;
        return slot.Index;
    }
    slot = Slot{static_cast<std::uint32_t>(hash), static_cast<std::int32_t>(m_entries.size())};
    m_entries.push_back(Entry{std::string(key), 1});
    return slot.Index;
}

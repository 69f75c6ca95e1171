#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Counts of byte-string keys, in the order each key first appeared. Keys compare byte for
// byte; a hash index beside the entries keeps a lookup constant in the number of keys.
class TFrequencyList {
public:
    struct Entry {
        std::string Key;
        std::int64_t Count = 0;
    };

    // Counts one more occurrence of `key` (appending it with count 1 when new); returns its index.
    int Add(std::string_view key);
    // Adds `by` occurrences to the entry at `index`.
    void Increment(int index, std::int64_t by = 1) { m_entries[static_cast<std::size_t>(index)].Count += by; }
    // Index of the entry with exactly this key, or -1.
    int Find(std::string_view key) const;

    int Size() const { return static_cast<int>(m_entries.size()); }
    const Entry& operator[](int i) const { return m_entries[static_cast<std::size_t>(i)]; }
    const std::vector<Entry>& Entries() const { return m_entries; }

private:
    static std::uint64_t Hash(std::string_view key);
    // Slot of `key` in m_slots: the one holding it, or the empty one where it would go.
    std::size_t Probe(std::string_view key, std::uint64_t hash) const;
    void Grow();

    struct Slot {
        std::uint32_t Hash = 0; // low bits of the key's hash, to skip most byte comparisons
        std::int32_t Index = -1;
    };
    std::vector<Entry> m_entries;
    std::vector<Slot> m_slots; // open addressing, linear probing; size a power of two
};

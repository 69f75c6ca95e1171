#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

// The start offsets of a text's lines, strictly increasing, the first always 0. Kept in a
// vector with a gap (so that adding or removing starts costs the distance from the previous
// change, not the whole vector), and with one pending shift: the starts behind the step still
// owe `pending`, which is paid only when the step moves. A run of edits in one place then
// shifts nothing behind it.
class LineStarts {
public:
    using Offset = std::int64_t;

    // The starts of `text`: 0, and behind every CR LF.
    static std::vector<Offset> Scan(std::string_view text);

    void Reset(std::vector<Offset>&& starts);
    int Size() const { return static_cast<int>(m_values.size() - m_gapLength); }
    Offset At(int i) const { return Stored(i) + (i > m_step ? m_pending : 0); }
    // The last start at or before `offset` (0 for offsets before the text).
    int Find(Offset offset) const;

    // Every start from index `from` on moves by `delta`.
    void ShiftFrom(int from, Offset delta);
    // Drops the starts [from, to); from >= 1.
    void Remove(int from, int to);
    // Puts `values` (true offsets, in order, fitting between their neighbours) at index `at`.
    void Insert(int at, const std::vector<Offset>& values);

private:
    std::size_t Physical(int i) const
    {
        const auto u = static_cast<std::size_t>(i);
        return u < m_gapStart ? u : u + m_gapLength;
    }
    Offset Stored(int i) const { return m_values[Physical(i)]; }
    void AddToStored(int from, int to, Offset delta); // [from, to)
    void MoveGap(std::size_t to);
    void GrowGap(std::size_t atLeast);

    std::vector<Offset> m_values{0};
    std::size_t m_gapStart = 1;
    std::size_t m_gapLength = 0;
    int m_step = 0;         // starts with an index above it owe m_pending
    Offset m_pending = 0;
};

#pragma once

#include "document/ByteDocument.h"

#include <array>
#include <cstdint>
#include <unordered_map>
#include <utility>
#include <vector>

// Widths of the 256 byte values in one font, in 1/64 px so that sums are exact and the caret
// lands where the glyphs are drawn whichever way a position is reached.
struct AdvanceTable {
    std::array<std::int32_t, 256> advance{}; // the TAB entry is not used
    std::int32_t tabStop = 64 * 8;           // distance between tab stops
};

// A screen row of document line (piece) `line`, named by the offset of its first byte, which
// stays its name while the rows around it are still being worked out. Without word wrap every
// line is one row.
struct ViewRow {
    int line = 0;
    std::int64_t start = 0;
    friend bool operator==(const ViewRow&, const ViewRow&) = default;
    // Rows follow each other as their bytes do.
    bool Before(const ViewRow& other) const { return start < other.start; }
};

// Where the rows of the document begin and how wide their bytes are. Everything here is a cache
// over the document that can be thrown away: the wrap rows of the lines that have been looked at
// and x checkpoints of long lines. Nothing walks the whole document; an edit repairs only the
// lines it touched (a long wrapped line is re-wrapped from a few rows before the edit until its
// rows meet the old ones again).
//
// A huge line is wrapped only where it is looked at. Its rows are known in stretches: the first
// from the line's start, exact; the others (islands) wrapped from a word start a little before
// the place looked at, which greedy wrapping nearly always leaves within a row or two. WrapSome
// carries the first stretch on in slices; where it meets an island it takes the island's rows
// from the first row they share, or replaces the island when they share none.
class RowLayout {
public:
    using Offset = std::int64_t;
    using Fixed = std::int64_t; // 1/64 px

    explicit RowLayout(const ByteDocument& doc);

    void SetAdvances(const AdvanceTable& table);
    // 0: no wrapping. Otherwise the width a row may fill.
    void SetWrapWidth(Fixed width);
    Fixed WrapWidth() const { return m_wrapWidth; }
    bool Wrapping() const { return m_wrapWidth > 0; }
    // Forgets every cache (a new text, a new font).
    void Reset();
    // Called after every document edit; `piecesBefore` is the document's piece count before it.
    void OnEdit(const DocumentEdit& edit, int piecesBefore);

    // Lines at least this long are wrapped only where they are looked at.
    void SetLazyLength(Offset bytes) { m_lazyLength = bytes; }
    // Carries the exact wrap of the huge lines looked at on by about `bytes` bytes. `more`: work
    // is left; `moved`: rows already handed out may have changed (an island was replaced).
    struct Progress {
        bool more = false;
        bool moved = false;
    };
    Progress WrapSome(Offset bytes);
    bool WrapPending() const;
    // Every row start of the line, its whole wrap worked out (costly on a huge line).
    std::vector<Offset> AllRowStarts(int line);

    Offset RowStart(ViewRow row) const { return row.start; }
    // End of the row's bytes: the next row's start inside a wrapped line, else the line's end
    // (before its CR LF).
    Offset RowEnd(ViewRow row);
    bool IsLastRowOfLine(ViewRow row);
    // The row that shows the caret at `offset`; an offset at a wrap point belongs to the row it starts.
    ViewRow RowOf(Offset offset);
    bool Next(ViewRow& row);
    bool Prev(ViewRow& row);
    // Moves `row` by `count` rows (negative: up); returns how many it really moved.
    std::int64_t Move(ViewRow& row, std::int64_t count);

    // Left edge of the byte at `offset` (in the row), from the row's left edge. Without wrap a
    // row is a whole line, so long lines are measured from their nearest checkpoint.
    Fixed XOf(ViewRow row, Offset offset);
    // The caret position in the row nearest to x. Inside a wrapped line the row's last position
    // is the one before the next row's start, so the caret stays on the row clicked.
    Offset OffsetAt(ViewRow row, Fixed x);
    // The first byte of the row whose right edge lies beyond x, and its left edge; for painting
    // a long line from the middle.
    std::pair<Offset, Fixed> Seek(ViewRow row, Fixed x);
    // Width of a whole line (no wrap).
    Fixed LineWidth(int line);

    Fixed Advance(unsigned char byte, Fixed x) const
    {
        if (byte == '\t')
            return (x / m_table.tabStop + 1) * m_table.tabStop - x;
        return m_table.advance[byte];
    }
    const AdvanceTable& Advances() const { return m_table; }

private:
    // Lines at least this long keep x checkpoints (without wrap).
    static constexpr Offset kLongLine = 16384;
    static constexpr Offset kChunk = 4096;
    // What a stretch of a line does to x: without a tab it adds `before`; with one, x goes to the
    // tab stop after x + before and then on by `after` (tab stops are multiples of one width, so
    // what follows the first tab does not depend on where the stretch began).
    struct Chunk {
        Offset length = 0;
        Fixed before = 0;
        Fixed after = 0;
        bool tab = false;
    };
    struct Checkpoints {
        std::vector<Chunk> chunks;
    };

    // Rows of a wrapped line in stretches (see the class comment). rows[0] is the stretch's
    // anchor; the first stretch's is 0. Stretches lie apart in order; only the last may be
    // complete (its last row ends at the line's end). Offsets are relative to the line's start.
    struct Stretch {
        std::vector<Offset> rows;
        bool complete = false;
    };
    struct LineWrap {
        std::vector<Stretch> stretches;
        bool Complete() const { return stretches.size() == 1 && stretches[0].complete; }
    };
    struct Span {
        Offset lineStart = 0;
        Offset length = 0;
    };
    LineWrap& WrapOf(int line);
    // The start of the row that holds `rel`, working the rows out where they are not yet known.
    Offset RowAt(int line, Offset rel);
    // The same and the next row's start (the line's length for its last row).
    std::pair<Offset, Offset> RowAround(int line, Offset rel);
    std::pair<std::size_t, std::size_t> Locate(LineWrap& w, Span span, Offset rel);
    // Wraps stretch i on until it holds a row starting beyond `past` (or ends the line), meeting
    // the next stretch on the way; at most about `budget` bytes. Returns true when it replaced
    // an island instead of joining it.
    bool Extend(LineWrap& w, std::size_t i, Span span, Offset past, Offset budget);
    Offset AnchorBefore(Offset lineStart, Offset rel, Offset floor) const;
    // Bytes a row holds at most, and about how many it holds in ordinary text.
    Offset MaxRowBytes() const;
    Offset TypicalRowBytes() const;
    Offset NextBreak(const TextPieces& text, Offset start, Offset end) const;
    Checkpoints* LongLine(int line);
    Chunk Measure(Offset start, Offset length) const;
    Fixed Apply(const Chunk& c, Fixed x) const;
    Fixed Scan(Offset from, Offset to, Fixed x) const;
    Fixed LineX(int line, Offset offset);
    void RepairWrap(int line, Offset lineStart, const DocumentEdit& edit);
    void RepairCheckpoints(int line, Offset lineStart, const DocumentEdit& edit);
    void ShiftLines(int firstKept, int delta, int dropFrom, int dropTo);
    static std::size_t RowCount(const LineWrap& w);
    void Trim();

    const ByteDocument& m_doc;
    AdvanceTable m_table;
    Fixed m_wrapWidth = 0;
    Fixed m_meanAdvance = 64;
    Offset m_lazyLength = Offset{1} << 20;
    std::unordered_map<int, LineWrap> m_rows;
    std::unordered_map<int, Checkpoints> m_long;
};

// Calls f(byte, offset) for the bytes of [from, to) until it returns false; returns the offset
// where it stopped (to when it never did). The bytes are read where they lie, across the gap.
template <class F> RowLayout::Offset ForEachByte(const TextPieces& text, RowLayout::Offset from, RowLayout::Offset to,
                                                 F&& f)
{
    const auto firstSize = static_cast<RowLayout::Offset>(text.first.size());
    RowLayout::Offset i = from;
    if (i < firstSize) {
        const auto* p = reinterpret_cast<const unsigned char*>(text.first.data());
        const RowLayout::Offset end = to < firstSize ? to : firstSize;
        for (; i < end; ++i)
            if (!f(p[i], i))
                return i;
    }
    if (i < to) {
        const auto* p = reinterpret_cast<const unsigned char*>(text.second.data());
        for (; i < to; ++i)
            if (!f(p[i - firstSize], i))
                return i;
    }
    return to;
}

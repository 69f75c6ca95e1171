#include "editor/RowLayout.h"

#include <cstring>

#include <algorithm>

namespace {

bool IsBlank(unsigned char b) { return b == ' ' || b == '\t'; }

// A row never gets narrower than this, so a tiny window cannot make millions of rows.
constexpr RowLayout::Fixed kMinWrapWidth = 64 * 32;
// Every byte moves the caret by at least a pixel, so a row always holds a bounded number of bytes.
constexpr std::int32_t kMinAdvance = 64;

} // namespace

RowLayout::RowLayout(const ByteDocument& doc) : m_doc(doc) {}

void RowLayout::SetAdvances(const AdvanceTable& table)
{
    m_table = table;
    for (std::int32_t& a : m_table.advance)
        a = std::max(a, kMinAdvance);
    m_table.tabStop = std::max(m_table.tabStop, kMinAdvance);
    Reset();
}

void RowLayout::SetWrapWidth(Fixed width)
{
    if (width > 0)
        width = std::max(width, kMinWrapWidth);
    if (width == m_wrapWidth)
        return;
    m_wrapWidth = width;
    m_rows.clear();
}

void RowLayout::Reset()
{
    m_rows.clear();
    m_long.clear();
}

// --- rows ---

int RowLayout::Rows(int line)
{
    if (!Wrapping())
        return 1;
    return static_cast<int>(WrapRows(line).size());
}

RowLayout::Offset RowLayout::RowStart(ViewRow row)
{
    const Offset start = m_doc.LineStart(row.line);
    if (!Wrapping() || row.sub == 0)
        return start;
    return start + WrapRows(row.line)[static_cast<std::size_t>(row.sub)];
}

RowLayout::Offset RowLayout::RowEnd(ViewRow row)
{
    if (Wrapping()) {
        const std::vector<Offset>& rows = WrapRows(row.line);
        if (static_cast<std::size_t>(row.sub) + 1 < rows.size())
            return m_doc.LineStart(row.line) + rows[static_cast<std::size_t>(row.sub) + 1];
    }
    return m_doc.LineEnd(row.line);
}

bool RowLayout::IsLastRowOfLine(ViewRow row) { return row.sub + 1 >= Rows(row.line); }

ViewRow RowLayout::RowOf(Offset offset)
{
    offset = std::clamp<Offset>(offset, 0, m_doc.Length());
    const int line = m_doc.LineOfOffset(offset);
    if (!Wrapping())
        return {line, 0};
    const std::vector<Offset>& rows = WrapRows(line);
    const Offset rel = offset - m_doc.LineStart(line);
    const auto it = std::upper_bound(rows.begin(), rows.end(), rel);
    return {line, static_cast<int>(it - rows.begin()) - 1};
}

bool RowLayout::Next(ViewRow& row)
{
    if (row.sub + 1 < Rows(row.line)) {
        ++row.sub;
        return true;
    }
    if (row.line + 1 >= m_doc.Pieces())
        return false;
    row = {row.line + 1, 0};
    return true;
}

bool RowLayout::Prev(ViewRow& row)
{
    if (row.sub > 0) {
        --row.sub;
        return true;
    }
    if (row.line == 0)
        return false;
    row.line -= 1;
    row.sub = Rows(row.line) - 1;
    return true;
}

std::int64_t RowLayout::Move(ViewRow& row, std::int64_t count)
{
    if (!Wrapping()) {
        const std::int64_t target = std::clamp<std::int64_t>(row.line + count, 0, m_doc.Pieces() - 1);
        const std::int64_t moved = target - row.line;
        row = {static_cast<int>(target), 0};
        return moved;
    }
    std::int64_t moved = 0;
    while (moved < count && Next(row))
        ++moved;
    while (moved > count && Prev(row))
        --moved;
    return moved;
}

// --- x positions ---

RowLayout::Fixed RowLayout::Scan(Offset from, Offset to, Fixed x) const
{
    ForEachByte(m_doc.Bytes(), from, to, [&](unsigned char b, Offset) {
        x += Advance(b, x);
        return true;
    });
    return x;
}

RowLayout::Fixed RowLayout::Apply(const Chunk& c, Fixed x) const
{
    if (!c.tab)
        return x + c.before;
    const Fixed t = m_table.tabStop;
    return ((x + c.before) / t + 1) * t + c.after;
}

RowLayout::Chunk RowLayout::Measure(Offset start, Offset length) const
{
    // The checkpoints of a long line are built from this, so it runs over every byte of a line
    // of many megabytes: tab-free stretches are summed with four accumulators, tabs found with
    // memchr.
    Chunk c;
    c.length = length;
    Fixed x = 0;
    const auto& advance = m_table.advance;
    const auto sum = [&advance](const unsigned char* p, std::size_t n) {
        Fixed a0 = 0, a1 = 0, a2 = 0, a3 = 0;
        std::size_t i = 0;
        for (; i + 4 <= n; i += 4) {
            a0 += advance[p[i]];
            a1 += advance[p[i + 1]];
            a2 += advance[p[i + 2]];
            a3 += advance[p[i + 3]];
        }
        for (; i < n; ++i)
            a0 += advance[p[i]];
        return a0 + a1 + a2 + a3;
    };
    const auto span = [&](const unsigned char* p, std::size_t n) {
        while (n > 0) {
            const auto* tab = static_cast<const unsigned char*>(std::memchr(p, '\t', n));
            const std::size_t run = tab ? static_cast<std::size_t>(tab - p) : n;
            x += sum(p, run);
            if (!tab)
                return;
            if (!c.tab) {
                // From here on x counts from a tab stop.
                c.tab = true;
                c.before = x;
                x = 0;
            } else {
                x += Advance('\t', x);
            }
            p += run + 1;
            n -= run + 1;
        }
    };
    const TextPieces text = m_doc.Bytes();
    const auto firstSize = static_cast<Offset>(text.first.size());
    const Offset end = start + length;
    if (start < firstSize) {
        const Offset stop = std::min(end, firstSize);
        span(reinterpret_cast<const unsigned char*>(text.first.data()) + start, static_cast<std::size_t>(stop - start));
    }
    if (end > firstSize) {
        const Offset from = std::max(start, firstSize) - firstSize;
        span(reinterpret_cast<const unsigned char*>(text.second.data()) + from,
             static_cast<std::size_t>(end - firstSize - from));
    }
    (c.tab ? c.after : c.before) = x;
    return c;
}

RowLayout::Checkpoints* RowLayout::LongLine(int line)
{
    const Offset start = m_doc.LineStart(line);
    const Offset end = m_doc.LineEnd(line);
    if (end - start < kLongLine)
        return nullptr;
    if (auto it = m_long.find(line); it != m_long.end())
        return &it->second;
    if (m_long.size() >= 64)
        m_long.clear();
    Checkpoints& cp = m_long[line];
    for (Offset at = start; at < end; at += kChunk)
        cp.chunks.push_back(Measure(at, std::min(kChunk, end - at)));
    return &cp;
}

RowLayout::Fixed RowLayout::LineX(int line, Offset offset)
{
    Offset at = m_doc.LineStart(line);
    Fixed x = 0;
    if (const Checkpoints* cp = LongLine(line)) {
        for (const Chunk& c : cp->chunks) {
            if (at + c.length > offset)
                break;
            x = Apply(c, x);
            at += c.length;
        }
    }
    return Scan(at, offset, x);
}

RowLayout::Fixed RowLayout::XOf(ViewRow row, Offset offset)
{
    if (!Wrapping())
        return LineX(row.line, offset);
    return Scan(RowStart(row), offset, 0);
}

RowLayout::Fixed RowLayout::LineWidth(int line) { return LineX(line, m_doc.LineEnd(line)); }

std::pair<RowLayout::Offset, RowLayout::Fixed> RowLayout::Seek(ViewRow row, Fixed x0)
{
    Offset at = RowStart(row);
    const Offset end = RowEnd(row);
    Fixed x = 0;
    if (!Wrapping()) {
        if (const Checkpoints* cp = LongLine(row.line)) {
            for (const Chunk& c : cp->chunks) {
                const Fixed next = Apply(c, x);
                if (next > x0)
                    break;
                x = next;
                at += c.length;
            }
        }
    }
    Offset found = end;
    ForEachByte(m_doc.Bytes(), at, end, [&](unsigned char b, Offset i) {
        const Fixed a = Advance(b, x);
        if (x + a > x0) {
            found = i;
            return false;
        }
        x += a;
        return true;
    });
    return {found, x};
}

RowLayout::Offset RowLayout::OffsetAt(ViewRow row, Fixed x)
{
    const Offset start = RowStart(row);
    const Offset end = RowEnd(row);
    const auto [at, left] = Seek(row, x);
    Offset result = at;
    if (at < end) {
        const Fixed a = Advance(m_doc.At(at), left);
        if (x - left >= a / 2)
            result = at + 1;
    }
    if (Wrapping() && !IsLastRowOfLine(row))
        result = std::min(result, std::max(start, end - 1));
    return std::clamp(result, start, end);
}

// --- wrapping ---

RowLayout::Offset RowLayout::NextBreak(const TextPieces& text, Offset start, Offset end) const
{
    Fixed x = 0;
    Offset lastBreak = -1;
    Offset result = end;
    const Fixed width = m_wrapWidth;
    ForEachByte(text, start, end, [&](unsigned char b, Offset i) {
        const Fixed a = Advance(b, x);
        if (x + a > width && i > start) {
            if (IsBlank(b))
                result = i + 1; // a blank that does not fit hangs at the end of the row
            else if (lastBreak > start)
                result = lastBreak;
            else
                result = i; // no blank: cut at the last character that fits
            return false;
        }
        x += a;
        if (IsBlank(b))
            lastBreak = i + 1;
        return true;
    });
    return result;
}

// Wraps [start of row `from`, lineEnd) greedily, appending to `rows` (which holds the rows up to
// and including `from`'s start). With `old` given, stops as soon as a new row starts where an old
// row (shifted by `delta`) started behind `syncFrom`: from there on the rows are the old ones.
std::vector<RowLayout::Offset> RowLayout::Wrap(Offset lineStart, Offset lineEnd, Offset from, std::vector<Offset> rows,
                                               const std::vector<Offset>* old, Offset syncFrom, Offset delta)
{
    const TextPieces text = m_doc.Bytes();
    Offset at = lineStart + from;
    for (;;) {
        const Offset next = NextBreak(text, at, lineEnd);
        if (next >= lineEnd)
            break;
        const Offset rel = next - lineStart;
        if (old && rel >= syncFrom) {
            const auto j = std::lower_bound(old->begin(), old->end(), rel - delta);
            if (j != old->end() && *j == rel - delta) {
                for (auto k = j; k != old->end(); ++k)
                    rows.push_back(*k + delta);
                break;
            }
        }
        rows.push_back(rel);
        at = next;
    }
    return rows;
}

const std::vector<RowLayout::Offset>& RowLayout::WrapRows(int line)
{
    if (auto it = m_rows.find(line); it != m_rows.end())
        return it->second;
    Trim();
    const Offset start = m_doc.LineStart(line);
    const Offset end = m_doc.LineEnd(line);
    return m_rows[line] = Wrap(start, end, 0, {0}, nullptr, 0, 0);
}

void RowLayout::Trim()
{
    if (m_rows.size() < 4096)
        return;
    // Short lines are quickly wrapped again; the long ones are worth keeping.
    for (auto it = m_rows.begin(); it != m_rows.end();)
        it = it->second.size() < 256 ? m_rows.erase(it) : std::next(it);
    if (m_rows.size() >= 1024)
        m_rows.clear();
}

// --- edits ---

void RowLayout::OnEdit(const DocumentEdit& edit, int piecesBefore)
{
    const int delta = m_doc.Pieces() - piecesBefore;
    if (edit.whole || edit.linesAdded - edit.linesRemoved != delta) {
        Reset();
        return;
    }
    const int first = edit.firstLine;
    if (edit.linesAdded == 0 && edit.linesRemoved == 0) {
        const Offset lineStart = m_doc.LineStart(first);
        RepairWrap(first, lineStart, edit);
        RepairCheckpoints(first, lineStart, edit);
        return;
    }
    // The lines the edit touched (and, to be safe, their neighbours) go; later ones move.
    ShiftLines(first + edit.linesRemoved + 2, delta, first - 1, first + edit.linesRemoved + 1);
}

void RowLayout::ShiftLines(int firstKept, int delta, int dropFrom, int dropTo)
{
    auto shift = [&](auto& map) {
        std::remove_reference_t<decltype(map)> moved;
        moved.reserve(map.size());
        for (auto& [line, value] : map) {
            if (line >= dropFrom && line <= dropTo)
                continue;
            moved.emplace(line >= firstKept ? line + delta : line, std::move(value));
        }
        map.swap(moved);
    };
    shift(m_rows);
    shift(m_long);
}

void RowLayout::RepairWrap(int line, Offset lineStart, const DocumentEdit& edit)
{
    const auto it = m_rows.find(line);
    if (it == m_rows.end())
        return;
    if (!Wrapping() || it->second.size() < 16) {
        m_rows.erase(it);
        return;
    }
    const std::vector<Offset> old = std::move(it->second);
    const Offset at = edit.start - lineStart;
    const Offset delta = edit.added - edit.removed;
    // A row's break depends on what follows it, so start a few rows before the edit.
    const auto k = std::upper_bound(old.begin(), old.end(), at) - old.begin() - 1;
    const auto from = static_cast<std::size_t>(std::max<std::ptrdiff_t>(0, k - 3));
    std::vector<Offset> rows(old.begin(), old.begin() + static_cast<std::ptrdiff_t>(from) + 1);
    it->second = Wrap(lineStart, m_doc.LineEnd(line), old[from], std::move(rows), &old, at + edit.added, delta);
}

void RowLayout::RepairCheckpoints(int line, Offset lineStart, const DocumentEdit& edit)
{
    const auto it = m_long.find(line);
    if (it == m_long.end())
        return;
    const Offset length = m_doc.LineEnd(line) - lineStart;
    if (length < kLongLine) {
        m_long.erase(it);
        return;
    }
    std::vector<Chunk>& chunks = it->second.chunks;
    const Offset at = edit.start - lineStart;
    const Offset end = at + edit.removed;
    // The chunks that held the removed bytes become one, measured again.
    std::size_t i = 0;
    Offset pos = 0;
    while (i + 1 < chunks.size() && pos + chunks[i].length <= at)
        pos += chunks[i++].length;
    std::size_t j = i;
    Offset endPos = pos + chunks[i].length;
    while (j + 1 < chunks.size() && endPos < end)
        endPos += chunks[++j].length;
    const Offset merged = endPos - pos - edit.removed + edit.added;
    std::vector<Chunk> fresh;
    const Offset piece = merged > 2 * kChunk ? kChunk : std::max<Offset>(merged, 1);
    for (Offset k = 0; k < merged; k += piece)
        fresh.push_back(Measure(lineStart + pos + k, std::min(piece, merged - k)));
    chunks.erase(chunks.begin() + static_cast<std::ptrdiff_t>(i), chunks.begin() + static_cast<std::ptrdiff_t>(j) + 1);
    chunks.insert(chunks.begin() + static_cast<std::ptrdiff_t>(i), fresh.begin(), fresh.end());
}

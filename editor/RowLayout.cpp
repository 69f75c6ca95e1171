#include "editor/RowLayout.h"

#include <cstring>

#include <algorithm>
#include <limits>

namespace {

bool IsBlank(unsigned char b) { return b == ' ' || b == '\t'; }

// A row never gets narrower than this, so a tiny window cannot make millions of rows.
constexpr RowLayout::Fixed kMinWrapWidth = 64 * 32;
// Every byte moves the caret by at least a pixel, so a row always holds a bounded number of bytes.
constexpr std::int32_t kMinAdvance = 64;
// An island starts this many rows before the place looked at, and a wrap that runs into an
// island looks this many rows for a row they share before replacing it.
constexpr RowLayout::Offset kLeadRows = 64;
constexpr int kSyncRows = 64;
constexpr RowLayout::Offset kWhole = std::numeric_limits<RowLayout::Offset>::max();

} // namespace

RowLayout::RowLayout(const ByteDocument& doc) : m_doc(doc) {}

void RowLayout::SetAdvances(const AdvanceTable& table)
{
    m_table = table;
    for (std::int32_t& a : m_table.advance)
        a = std::max(a, kMinAdvance);
    m_table.tabStop = std::max(m_table.tabStop, kMinAdvance);
    Fixed sum = 0;
    for (int b = 0x20; b < 0x7F; ++b)
        sum += m_table.advance[static_cast<std::size_t>(b)];
    m_meanAdvance = sum / (0x7F - 0x20);
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

RowLayout::Offset RowLayout::MaxRowBytes() const { return m_wrapWidth / kMinAdvance + 1; }

RowLayout::Offset RowLayout::TypicalRowBytes() const
{
    return std::max<Offset>(1, m_wrapWidth / std::max<Fixed>(m_meanAdvance, 1));
}

std::pair<RowLayout::Offset, RowLayout::Offset> RowLayout::RowAround(int line, Offset rel)
{
    const Offset lineStart = m_doc.LineStart(line);
    const Span span{lineStart, m_doc.LineEnd(line) - lineStart};
    LineWrap& w = WrapOf(line);
    const auto [i, k] = Locate(w, span, rel);
    const std::vector<Offset>& rows = w.stretches[i].rows;
    return {rows[k], k + 1 < rows.size() ? rows[k + 1] : span.length};
}

RowLayout::Offset RowLayout::RowAt(int line, Offset rel) { return RowAround(line, rel).first; }

RowLayout::Offset RowLayout::RowEnd(ViewRow row)
{
    if (!Wrapping())
        return m_doc.LineEnd(row.line);
    const Offset lineStart = m_doc.LineStart(row.line);
    return lineStart + RowAround(row.line, row.start - lineStart).second;
}

bool RowLayout::IsLastRowOfLine(ViewRow row) { return !Wrapping() || RowEnd(row) >= m_doc.LineEnd(row.line); }

ViewRow RowLayout::RowOf(Offset offset)
{
    offset = std::clamp<Offset>(offset, 0, m_doc.Length());
    const int line = m_doc.LineOfOffset(offset);
    const Offset lineStart = m_doc.LineStart(line);
    if (!Wrapping())
        return {line, lineStart};
    return {line, lineStart + RowAt(line, offset - lineStart)};
}

bool RowLayout::Next(ViewRow& row)
{
    if (Wrapping()) {
        const Offset end = RowEnd(row);
        if (end < m_doc.LineEnd(row.line)) {
            row.start = end;
            return true;
        }
    }
    if (row.line + 1 >= m_doc.Pieces())
        return false;
    row = {row.line + 1, m_doc.LineStart(row.line + 1)};
    return true;
}

bool RowLayout::Prev(ViewRow& row)
{
    const Offset lineStart = m_doc.LineStart(row.line);
    if (Wrapping() && row.start > lineStart) {
        row.start = lineStart + RowAt(row.line, row.start - lineStart - 1);
        return true;
    }
    if (row.line == 0)
        return false;
    row.line -= 1;
    const Offset start = m_doc.LineStart(row.line);
    row.start = Wrapping() ? start + RowAt(row.line, m_doc.LineEnd(row.line) - start) : start;
    return true;
}

std::int64_t RowLayout::Move(ViewRow& row, std::int64_t count)
{
    if (!Wrapping()) {
        const std::int64_t target = std::clamp<std::int64_t>(row.line + count, 0, m_doc.Pieces() - 1);
        const std::int64_t moved = target - row.line;
        row = {static_cast<int>(target), m_doc.LineStart(static_cast<int>(target))};
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
    return Scan(row.start, offset, 0);
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

RowLayout::LineWrap& RowLayout::WrapOf(int line)
{
    if (auto it = m_rows.find(line); it != m_rows.end())
        return it->second;
    Trim();
    LineWrap& w = m_rows[line];
    w.stretches.push_back({{0}, false});
    // The rows of a huge line grow while the window waits: room reserved now (touched only as
    // it fills) spares copies of many megabytes on the way.
    const Offset length = m_doc.LineEnd(line) - m_doc.LineStart(line);
    if (Wrapping() && length >= m_lazyLength)
        w.stretches[0].rows.reserve(static_cast<std::size_t>(length / TypicalRowBytes() * 5 / 4 + 16));
    return w;
}

// The byte after a blank a little before `rel`: greedy wrapping from a word start soon starts its
// rows where a wrap from the line's start does.
RowLayout::Offset RowLayout::AnchorBefore(Offset lineStart, Offset rel, Offset floor) const
{
    const Offset at = std::max(floor, rel - kLeadRows * TypicalRowBytes());
    const Offset stop = std::max(floor, at - MaxRowBytes());
    for (Offset p = at; p > stop; --p)
        if (IsBlank(m_doc.At(lineStart + p - 1)))
            return p;
    return at;
}

std::pair<std::size_t, std::size_t> RowLayout::Locate(LineWrap& w, Span span, Offset rel)
{
    if (span.length < m_lazyLength && !w.Complete())
        Extend(w, 0, span, span.length, kWhole);
    // Beyond this a place is reached by an island of its own rather than by wrapping up to it.
    const Offset near = 2 * (kLeadRows * TypicalRowBytes() + MaxRowBytes());
    std::vector<Stretch>& st = w.stretches;
    for (;;) {
        const auto it = std::upper_bound(st.begin(), st.end(), rel,
                                         [](Offset r, const Stretch& s) { return r < s.rows.front(); });
        const auto i = static_cast<std::size_t>(it - st.begin()) - 1;
        const std::vector<Offset>& rows = st[i].rows;
        if (rel < rows.back() || st[i].complete) {
            const auto k = std::upper_bound(rows.begin(), rows.end(), rel) - rows.begin() - 1;
            return {i, static_cast<std::size_t>(k)};
        }
        if (rel - rows.back() <= near) {
            Extend(w, i, span, rel, kWhole);
            continue;
        }
        const Offset anchor = AnchorBefore(span.lineStart, rel, rows.back() + 1);
        st.insert(st.begin() + static_cast<std::ptrdiff_t>(i) + 1, Stretch{{anchor}, false});
        Extend(w, i + 1, span, rel, kWhole);
    }
}

bool RowLayout::Extend(LineWrap& w, std::size_t i, Span span, Offset past, Offset budget)
{
    std::vector<Stretch>& st = w.stretches;
    const TextPieces text = m_doc.Bytes();
    const Offset lineEnd = span.lineStart + span.length;
    const Offset from = st[i].rows.back();
    bool replaced = false;
    int inside = 0; // rows wrapped into the next stretch without meeting one of its rows
    while (!st[i].complete) {
        const Offset back = st[i].rows.back();
        if (inside == 0 && (back > past || back - from >= budget))
            break;
        const Offset next = NextBreak(text, span.lineStart + back, lineEnd) - span.lineStart;
        if (next >= span.length) {
            st[i].complete = true;
            replaced |= st.size() > i + 1;
            st.erase(st.begin() + static_cast<std::ptrdiff_t>(i) + 1, st.end());
            break;
        }
        bool joined = false;
        while (i + 1 < st.size() && next >= st[i + 1].rows.front()) {
            const auto nextStretch = st.begin() + static_cast<std::ptrdiff_t>(i) + 1;
            std::vector<Offset>& theirs = nextStretch->rows;
            const auto j = std::lower_bound(theirs.begin(), theirs.end(), next);
            if (j != theirs.end() && *j == next) {
                // From a row both share on, the rows are the same.
                st[i].rows.insert(st[i].rows.end(), j, theirs.end());
                st[i].complete = nextStretch->complete;
                st.erase(nextStretch);
                joined = true;
                inside = 0;
                break;
            }
            if (next > theirs.back() || ++inside > kSyncRows) {
                st.erase(nextStretch);
                replaced = true;
                inside = 0;
                continue;
            }
            break;
        }
        if (!joined)
            st[i].rows.push_back(next);
    }
    return replaced;
}

RowLayout::Progress RowLayout::WrapSome(Offset bytes)
{
    Progress p;
    if (!Wrapping())
        return p;
    for (auto& [line, w] : m_rows) {
        if (w.Complete())
            continue;
        if (bytes <= 0) {
            p.more = true;
            break;
        }
        const Offset lineStart = m_doc.LineStart(line);
        const Span span{lineStart, m_doc.LineEnd(line) - lineStart};
        const Offset before = w.stretches[0].rows.back();
        p.moved |= Extend(w, 0, span, span.length, bytes);
        bytes -= std::max<Offset>(1, w.stretches[0].rows.back() - before);
        p.more |= !w.Complete();
    }
    return p;
}

bool RowLayout::WrapPending() const
{
    if (!Wrapping())
        return false;
    return std::any_of(m_rows.begin(), m_rows.end(), [](const auto& entry) { return !entry.second.Complete(); });
}

std::vector<RowLayout::Offset> RowLayout::AllRowStarts(int line)
{
    const Offset lineStart = m_doc.LineStart(line);
    if (!Wrapping())
        return {lineStart};
    const Span span{lineStart, m_doc.LineEnd(line) - lineStart};
    LineWrap& w = WrapOf(line);
    Extend(w, 0, span, span.length, kWhole);
    std::vector<Offset> rows = w.stretches[0].rows;
    for (Offset& r : rows)
        r += lineStart;
    return rows;
}

std::size_t RowLayout::RowCount(const LineWrap& w)
{
    std::size_t n = 0;
    for (const Stretch& s : w.stretches)
        n += s.rows.size();
    return n;
}

void RowLayout::Trim()
{
    if (m_rows.size() < 4096)
        return;
    // Short lines are quickly wrapped again; the long ones are worth keeping.
    for (auto it = m_rows.begin(); it != m_rows.end();)
        it = RowCount(it->second) < 256 ? m_rows.erase(it) : std::next(it);
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
    const Span span{lineStart, m_doc.LineEnd(line) - lineStart};
    const bool lazy = span.length >= m_lazyLength;
    if (!Wrapping() || (!lazy && RowCount(it->second) < 16)) {
        m_rows.erase(it);
        return;
    }
    std::vector<Stretch>& st = it->second.stretches;
    const Offset at = edit.start - lineStart;
    const Offset removedEnd = at + edit.removed;
    const Offset delta = edit.added - edit.removed;
    // A row's start depends on the bytes from the previous row's start to as far as a row can
    // reach; rows before that stay, rows behind the edit stay (moved), the others go.
    const Offset reach = MaxRowBytes();
    std::vector<Stretch> kept;
    for (std::size_t s = 0; s < st.size(); ++s) {
        const std::vector<Offset>& rows = st[s].rows;
        std::size_t h = 0;
        if (s == 0 || rows[0] < at) {
            h = 1;
            while (h < rows.size() && rows[h - 1] + reach < at)
                ++h;
        }
        if (h > 0)
            kept.push_back({std::vector<Offset>(rows.begin(), rows.begin() + static_cast<std::ptrdiff_t>(h)), false});
        const Offset floor = h > 0 ? rows[h - 1] : -1;
        auto t = std::lower_bound(rows.begin() + static_cast<std::ptrdiff_t>(h), rows.end(), removedEnd);
        while (t != rows.end() && *t + delta <= floor)
            ++t;
        if (t != rows.end()) {
            Stretch tail{std::vector<Offset>(t, rows.end()), st[s].complete};
            for (Offset& r : tail.rows)
                r += delta;
            kept.push_back(std::move(tail));
        }
    }
    st = std::move(kept);
    if (!lazy) {
        Extend(it->second, 0, span, span.length, kWhole);
        return;
    }
    // Wrap again across the edit, to meet the rows kept behind it.
    const auto before = std::upper_bound(st.begin(), st.end(), at,
                                         [](Offset r, const Stretch& s) { return r < s.rows.front(); });
    const auto i = static_cast<std::size_t>(before - st.begin()) - 1;
    const Offset near = 2 * (kLeadRows * TypicalRowBytes() + reach);
    if (at - st[i].rows.back() <= near)
        Extend(it->second, i, span, at + edit.added + reach, kWhole);
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

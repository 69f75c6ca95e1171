#include "document/LineStarts.h"

#include "document/LineScan.h"

#include <algorithm>
#include <cstring>

std::vector<LineStarts::Offset> LineStarts::Scan(std::string_view text) { return ScanText(text).starts; }

void LineStarts::Reset(std::vector<Offset>&& starts)
{
    m_values = std::move(starts);
    if (m_values.empty())
        m_values.push_back(0);
    m_gapStart = m_values.size();
    m_gapLength = 0;
    m_step = 0;
    m_pending = 0;
}

int LineStarts::Find(Offset offset) const
{
    int lo = 0;
    int hi = Size() - 1;
    while (lo < hi) {
        const int mid = lo + (hi - lo + 1) / 2;
        if (At(mid) <= offset)
            lo = mid;
        else
            hi = mid - 1;
    }
    return lo;
}

void LineStarts::AddToStored(int from, int to, Offset delta)
{
    if (from >= to)
        return;
    // At most two contiguous runs, one on each side of the gap.
    const auto f = static_cast<std::size_t>(from);
    const auto t = static_cast<std::size_t>(to);
    Offset* v = m_values.data();
    for (std::size_t i = f; i < std::min(t, m_gapStart); ++i)
        v[i] += delta;
    for (std::size_t i = std::max(f, m_gapStart); i < t; ++i)
        v[i + m_gapLength] += delta;
}

void LineStarts::ShiftFrom(int from, Offset delta)
{
    const int n = Size();
    if (from >= n || delta == 0)
        return;
    const int last = from - 1; // the new step: everything above it moves
    if (m_pending == 0) {
        m_step = last;
        m_pending = delta;
        return;
    }
    if (last >= m_step) {
        AddToStored(m_step + 1, last + 1, m_pending);
    } else if (m_step - last <= n - m_step) {
        AddToStored(last + 1, m_step + 1, -m_pending);
    } else {
        AddToStored(m_step + 1, n, m_pending);
        m_pending = 0;
    }
    m_step = last;
    m_pending += delta;
}

void LineStarts::Remove(int from, int to)
{
    if (from >= to)
        return;
    if (m_step >= to)
        m_step -= to - from;
    else if (m_step >= from)
        m_step = from - 1; // the survivors behind the removed ones owed the shift already
    MoveGap(static_cast<std::size_t>(from));
    m_gapLength += static_cast<std::size_t>(to - from);
}

void LineStarts::Insert(int at, const std::vector<Offset>& values)
{
    if (values.empty())
        return;
    GrowGap(values.size());
    MoveGap(static_cast<std::size_t>(at));
    // Inserted above the step they would owe the pending shift, so they are stored without it.
    const Offset owed = at > m_step ? m_pending : 0;
    Offset* dst = m_values.data() + m_gapStart;
    for (const Offset v : values)
        *dst++ = v - owed;
    m_gapStart += values.size();
    m_gapLength -= values.size();
    if (at <= m_step)
        m_step += static_cast<int>(values.size());
}

void LineStarts::MoveGap(std::size_t to)
{
    if (to == m_gapStart || m_gapLength == 0) {
        m_gapStart = to;
        return;
    }
    Offset* v = m_values.data();
    if (to < m_gapStart) {
        const std::size_t n = m_gapStart - to;
        std::memmove(v + to + m_gapLength, v + to, n * sizeof(Offset));
    } else {
        const std::size_t n = to - m_gapStart;
        std::memmove(v + m_gapStart, v + m_gapStart + m_gapLength, n * sizeof(Offset));
    }
    m_gapStart = to;
}

void LineStarts::GrowGap(std::size_t atLeast)
{
    if (m_gapLength >= atLeast)
        return;
    const std::size_t used = m_values.size() - m_gapLength;
    const std::size_t gap = atLeast + std::max<std::size_t>(used / 16, 256);
    std::vector<Offset> grown(used + gap);
    const std::size_t tail = m_values.size() - m_gapStart - m_gapLength;
    std::copy_n(m_values.begin(), m_gapStart, grown.begin());
    const auto back = static_cast<std::ptrdiff_t>(tail);
    std::copy_n(m_values.end() - back, tail, grown.end() - back);
    m_values = std::move(grown);
    m_gapLength = gap;
}

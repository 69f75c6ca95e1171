#include "commands/GapText.h"

#include <algorithm>
#include <cstring>

void GapText::Assign(std::string text)
{
    m_buffer = std::move(text);
    m_gapStart = m_gapEnd = m_buffer.size();
}

void GapText::Clear() { Assign({}); }

void GapText::MoveGap(std::size_t to)
{
    char* data = m_buffer.data();
    if (to < m_gapStart) {
        const std::size_t n = m_gapStart - to;
        std::memmove(data + m_gapEnd - n, data + to, n);
        m_gapStart -= n;
        m_gapEnd -= n;
    } else if (to > m_gapStart) {
        const std::size_t n = to - m_gapStart;
        std::memmove(data + m_gapStart, data + m_gapEnd, n);
        m_gapStart += n;
        m_gapEnd += n;
    }
}

void GapText::Grow(std::size_t needed)
{
    if (GapLength() >= needed)
        return;
    const std::size_t tail = m_buffer.size() - m_gapEnd;
    const std::size_t gap = std::max<std::size_t>({needed, m_buffer.size() / 8, 4096});
    std::string grown;
    grown.resize(m_gapStart + gap + tail);
    std::memcpy(grown.data(), m_buffer.data(), m_gapStart);
    std::memcpy(grown.data() + m_gapStart + gap, m_buffer.data() + m_gapEnd, tail);
    m_buffer.swap(grown);
    m_gapEnd = m_gapStart + gap;
}

void GapText::Replace(std::int64_t start, std::int64_t removed, std::string_view added)
{
    const std::int64_t size = Size();
    start = std::clamp<std::int64_t>(start, 0, size);
    removed = std::clamp<std::int64_t>(removed, 0, size - start);
    MoveGap(static_cast<std::size_t>(start));
    m_gapEnd += static_cast<std::size_t>(removed);
    Grow(added.size());
    std::memcpy(m_buffer.data() + m_gapStart, added.data(), added.size());
    m_gapStart += added.size();
}

TextPieces GapText::Pieces() const
{
    const std::string_view all(m_buffer);
    return {all.substr(0, m_gapStart), all.substr(m_gapEnd)};
}

std::string GapText::Text() const
{
    const TextPieces p = Pieces();
    std::string out(p.first);
    out.append(p.second);
    return out;
}

std::int64_t GapText::BytesOfShownChars(std::int64_t start, std::int64_t chars) const
{
    const auto size = static_cast<std::size_t>(Size());
    std::size_t i = static_cast<std::size_t>(std::clamp<std::int64_t>(start, 0, Size()));
    const std::size_t first = i;
    for (std::int64_t c = 0; c < chars && i < size; ++c)
        i += (At(i) == '\r' && i + 1 < size && At(i + 1) == '\n') ? 2 : 1;
    return static_cast<std::int64_t>(i - first);
}

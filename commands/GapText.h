#pragma once

#include "commands/FindReplace.h"

#include <cstdint>
#include <string>
#include <string_view>

// A byte text with a movable gap: an edit costs the distance from the previous edit, not the
// length of the text, and the text reads as two pieces without being copied. The search
// keeps the document's bytes in one of these so a press does not read a big document again.
class GapText {
public:
    void Assign(std::string text);
    void Clear();
    std::int64_t Size() const { return static_cast<std::int64_t>(m_buffer.size() - GapLength()); }
    // Replaces [start, start + removed) by `added`; the range is clamped to the text.
    void Replace(std::int64_t start, std::int64_t removed, std::string_view added);
    TextPieces Pieces() const;
    std::string Text() const;
    // Bytes taken by `chars` characters of the editor's view from `start`, where a CR LF
    // pair shows as one character (a line break) and every other byte as one.
    std::int64_t BytesOfShownChars(std::int64_t start, std::int64_t chars) const;

private:
    std::size_t GapLength() const { return m_gapEnd - m_gapStart; }
    char At(std::size_t i) const { return m_buffer[i < m_gapStart ? i : i + GapLength()]; }
    void MoveGap(std::size_t to);
    void Grow(std::size_t needed);

    std::string m_buffer;
    std::size_t m_gapStart = 0;
    std::size_t m_gapEnd = 0;
};

#pragma once

#include "document/TextPieces.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// A plain (not regular expression) search in a text of two pieces, occurrences across the
// seam included: exact bytes, or with case ignored (CaselessFold), and optionally only where
// no word character stands right before or after the occurrence.
class PlainSearch {
public:
    PlainSearch(std::string_view pattern, bool matchCase, bool wholeWord);

    std::int64_t Length() const { return static_cast<std::int64_t>(m_pattern.size()); }
    // Start of the first occurrence that begins at or behind `from`, or -1. An empty pattern
    // never occurs.
    std::int64_t First(const TextPieces& text, std::int64_t from) const;
    // Start of the last occurrence that ends at or before `limit`, or -1.
    std::int64_t Last(const TextPieces& text, std::int64_t limit) const;

private:
    // In hay[from, end): first / last candidate position, or npos; `base` is hay's offset in
    // the text, for the whole-word look at the neighbours.
    std::size_t FirstIn(std::string_view hay, std::size_t from, std::size_t end, const TextPieces& text,
                        std::int64_t base) const;
    std::size_t LastIn(std::string_view hay, std::size_t end, const TextPieces& text, std::int64_t base) const;
    std::size_t NextCandidate(std::string_view hay, std::size_t from, std::size_t end) const;
    std::size_t PreviousCandidate(std::string_view hay, std::size_t end) const;
    bool EqualsAt(const unsigned char* at) const;
    bool Accepted(const TextPieces& text, std::int64_t start) const;

    std::string m_pattern; // folded when case is ignored
    bool m_matchCase;
    bool m_wholeWord;
    bool m_exactBytes; // no byte of the pattern has another case: search it as it is
    std::array<std::size_t, 256> m_shift{};
};

#pragma once

#include "document/TextPieces.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Searching forward from behind the selection: exact bytes, case-sensitive, never wrapping
// round to the start. Offsets count a CR LF line break as two.
struct TextSelection {
    std::int64_t start = 0;
    std::int64_t length = 0;
    bool operator==(const TextSelection&) const = default;
};


// The first occurrence of `pattern` that begins at or behind selStart + selLength; nothing
// for an empty pattern or when none is left.
std::optional<TextSelection> FindAfterSelection(std::string_view text, std::int64_t selStart, std::int64_t selLength,
                                                std::string_view pattern);
// The same over a text in two pieces, occurrences across the seam included.
std::optional<TextSelection> FindAfterSelection(const TextPieces& text, std::int64_t selStart, std::int64_t selLength,
                                                std::string_view pattern);

struct ReplaceResult {
    std::string text;
    std::int64_t caret = 0; // behind the inserted replacement, nothing selected
    TextSelection replaced; // where the occurrence stood in the old text
};

// Replaces the occurrence FindAfterSelection finds. The selected text itself is never
// replaced, even when it equals the pattern: the search begins behind it.
std::optional<ReplaceResult> ReplaceAfterSelection(std::string_view text, std::int64_t selStart,
                                                   std::int64_t selLength, std::string_view pattern,
                                                   std::string_view replacement);

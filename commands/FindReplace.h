#pragma once

#include "commands/FindOptions.h"
#include "document/TextPieces.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class ByteDocument;

// Find and Replace over the document's bytes. Offsets count a CR LF line break as two. An
// empty pattern never occurs. A regular expression that does not compile, or a replacement
// that names a group it does not have, throws QuorlexError before anything is searched.
struct TextSelection {
    std::int64_t start = 0;
    std::int64_t length = 0;
    bool operator==(const TextSelection&) const = default;
};

// The bytes a search with these options reads, without a copy: the document's two pieces as
// they lie for a plain search; for a regular expression one piece (the gap is moved aside).
// Valid until the next edit.
TextPieces SearchBytes(ByteDocument& document, const FindOptions& options);

// Find Next: the first occurrence from behind the selection on, or with `up` the last one
// that ends at or before the selection's start; with `wrapAround` the search goes on from the
// other end of the text. A match of length zero where an empty selection stands is passed
// over, so pressing again always moves on.
std::optional<TextSelection> FindNext(const TextPieces& text, TextSelection selection, std::string_view pattern,
                                      const FindOptions& options);

struct ReplaceStep {
    TextSelection replaced;  // the occurrence, in the text before the change
    std::string replacement; // the bytes that take its place (groups filled in)
    // Nothing selected after the change: behind the inserted bytes, or before them going up,
    // so the next press never finds the replacement itself.
    std::int64_t caret = 0;
};

// Replace: the occurrence FindNext finds. The selected text itself is never replaced, even
// when it equals the pattern: the search begins behind it.
std::optional<ReplaceStep> ReplaceNext(const TextPieces& text, TextSelection selection, std::string_view pattern,
                                       std::string_view replacement, const FindOptions& options);

struct ReplaceAllResult {
    std::string text;        // the whole new text, for the document to take over
    std::int64_t count = 0;  // occurrences replaced
    std::int64_t caret = 0;  // behind the last replacement, in the new text
};

// Replace All: every occurrence in the whole text, left to right without overlap (direction,
// selection and wrapping play no part); an inserted replacement is never searched again. After
// a match of length zero the walk moves one character on (a CR LF counts as one). Nothing when
// there is no occurrence (and the text is not copied).
std::optional<ReplaceAllResult> ReplaceAll(const TextPieces& text, std::string_view pattern,
                                           std::string_view replacement, const FindOptions& options);

// The exact, forward search with the dialogs' options untouched.
std::optional<TextSelection> FindAfterSelection(std::string_view text, std::int64_t selStart, std::int64_t selLength,
                                                std::string_view pattern);
std::optional<TextSelection> FindAfterSelection(const TextPieces& text, std::int64_t selStart, std::int64_t selLength,
                                                std::string_view pattern);

struct ReplaceResult {
    std::string text;
    std::int64_t caret = 0; // behind the inserted replacement, nothing selected
    TextSelection replaced; // where the occurrence stood in the old text
};

// ReplaceNext with the options untouched, giving the whole new text.
std::optional<ReplaceResult> ReplaceAfterSelection(std::string_view text, std::int64_t selStart,
                                                   std::int64_t selLength, std::string_view pattern,
                                                   std::string_view replacement);

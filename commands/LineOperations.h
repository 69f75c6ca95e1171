#pragma once

#include "document/LineText.h"

#include <cstdint>
#include <functional>
#include <string>

class RandomGenerator;
class TextCollator;

// What a line command leaves in the document: it is computed on a copy of the lines and
// written back once.
struct LineResult {
    std::string text;
    // Caret offset afterwards, nothing selected.
    std::int64_t caret = 0;
    // Whether the document reports a change. Rewriting a line with its own text counts as a
    // change; only writing nothing over an empty line does not, so this can be true when the
    // text comes out equal.
    bool notifies = false;
};

// Sorted lines, joined with CR LF and trimmed as one text, followed by one CR LF. The
// document is emptied and refilled, so it always reports a change; the caret ends at the end.
LineResult SortLineList(const LineView& lines, const TextCollator& collator);

// Count random transpositions (a drawn before b, from the Count of that moment). An empty
// line swapped into the last place stops being counted, and later draws use the smaller
// Count. `progress` gets the percentage each time it changes. Nothing for an empty text.
LineResult ShuffleLineList(const LineView& lines, RandomGenerator& random,
                           const std::function<void(int percent)>& progress = {});

enum class TrimSide { Both, Left, Right };
// Every line trimmed on the given side(s); the caret behind the last line written. Nothing
// for an empty text.
LineResult TrimEachLine(const LineView& lines, TrimSide side);

#pragma once

#include "analysis/FrequencyList.h"
#include "platform/WordChar.h"

#include <cstdint>
#include <string>
#include <vector>

class LineView;
class TextCollator;

// One row of a frequency table, as shown: the key, its count and its share.
struct TFrequencyRow {
    std::string Item;    // the key's bytes
    std::string Usage;   // decimal count
    std::string Percent; // e.g. "33.3 %"

    bool operator==(const TFrequencyRow&) const = default;
};

struct TFrequencyRows {
    std::vector<TFrequencyRow> Rows; // alphabetical order of the items
    std::int64_t Total = 0;          // sum of the counts
};

struct TGeneralRow {
    std::string Label;
    std::string Value;
};

struct TTextStatistics {
    // Every line with a two-byte break after it, the last one included.
    std::int64_t Size = 0;
    std::int64_t Lines = 0;
    std::int64_t Words = 0;
    std::int64_t UniqueWords = 0;
    std::int64_t UniqueChars = 0;
    std::vector<TFrequencyRow> CharRows;
    std::vector<TFrequencyRow> WordRows;

    // "Size", "Lines", "Words", "Unique Words", "Unique Chars" with their values.
    std::vector<TGeneralRow> General() const;
};

// Every character above code 32, a-z counted as A-Z (no folding above 127).
TFrequencyList CountChars(const LineView& lines);
// Every word, A-Z folded to a-z; a word never runs across a line break.
TFrequencyList CountWords(const LineView& lines);

// Rows in the collation order of the keys (the list sort, which is not stable: keys it finds
// equal keep the order it leaves them in), with the 64-bit total. Shares truncate.
TFrequencyRows BuildFrequencyRows(const TFrequencyList& list, const TextCollator& collator);
TFrequencyRows BuildFrequencyRows(const TFrequencyList& list); // the user's locale

// v div 10 "." v mod 10: 666 -> "66.6".
std::string FormatTenths(std::int64_t v);

TTextStatistics AnalyzeText(const LineView& lines, const TextCollator& collator);
TTextStatistics AnalyzeText(const LineView& lines);

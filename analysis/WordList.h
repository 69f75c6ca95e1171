#pragma once

#include "analysis/TextStatistics.h"

#include <string>
#include <vector>

class LineView;
class TextCollator;

// The distinct words, folded to lower case, in collation order, each followed by CR LF; a
// text without words gives one empty line.
std::string GenerateWordList(const LineView& lines, const TextCollator& collator);
std::string GenerateWordList(const LineView& lines); // the user's locale

// The word table for the clipboard: every row's item followed by CR LF, no header.
std::string WordListText(const std::vector<TFrequencyRow>& rows);
// item;usage;percent CR LF per row, no header and no quoting (words hold no ';').
std::string WordCsvText(const std::vector<TFrequencyRow>& rows);

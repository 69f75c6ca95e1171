#pragma once

#include "analysis/TextStatistics.h"

#include <string>
#include <vector>

namespace cli {

// The Analyze window's tables as text, a CR LF after every row: columns padded with blanks
// to their widest cell (one byte is one character), the figures right-aligned.
std::string GeneralTableText(const std::vector<TGeneralRow>& rows);
// With the grid's header row ("Char" or "Word", "Usage", "%").
std::string FrequencyTableText(const char* itemHeader, const std::vector<TFrequencyRow>& rows);
// label;value per row, as the word table's CSV export writes its rows.
std::string GeneralCsvText(const std::vector<TGeneralRow>& rows);
// The three tables under the captions of the window's pages, a blank line between them.
std::string AllTablesText(const TTextStatistics& statistics);

} // namespace cli

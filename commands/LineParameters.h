#pragma once

#include "commands/LineOperations.h"

#include <string_view>

// The operations of the line-parameter dialog. Each walks the lines from line 0, which is
// handled also when the text has no line, while the index is below Count.

// All lines trimmed and joined with `separator` (used exactly as typed) into one line, which
// replaces the document followed by one CR LF; the caret ends at the end.
LineResult JoinLinesWithSeparator(const LineView& lines, std::string_view separator);
// `text` put in front of, or behind, every line. The empty piece behind a final line break
// is not a line and receives nothing.
LineResult PrefixEachLine(const LineView& lines, std::string_view text);
LineResult SuffixEachLine(const LineView& lines, std::string_view text);

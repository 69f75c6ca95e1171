#include "commands/LineParameters.h"

#include <algorithm>

namespace {

// Puts `text` on one side of every line the walk visits; the caret ends behind the last
// line written.
LineResult Affix(const LineView& lines, std::string_view text, bool front)
{
    LineResult result;
    // An empty text has no line but line 0 is written all the same.
    const int visited = std::max(lines.Count(), 1);
    const std::string_view whole = lines.Text();
    result.text.reserve(whole.size() + static_cast<std::size_t>(visited) * text.size());
    result.notifies = !text.empty();
    for (int i = 0; i < visited; ++i) {
        const std::string_view line = lines.Get(i);
        if (!line.empty())
            result.notifies = true;
        if (i)
            result.text += "\r\n";
        if (front)
            result.text += text;
        result.text += line;
        if (!front)
            result.text += text;
    }
    result.caret = static_cast<std::int64_t>(result.text.size());
    // What follows the last line visited (the final break, if any) stays as it was.
    if (visited < lines.Pieces())
        result.text.append(whole.substr(lines.Start(visited) - 2));
    return result;
}

} // namespace

LineResult JoinLinesWithSeparator(const LineView& lines, std::string_view separator)
{
    LineResult result;
    const int count = lines.Count();
    const int visited = std::max(count, 1);
    result.text.reserve(lines.Text().size() + static_cast<std::size_t>(visited) * separator.size() + 2);
    for (int i = 0; i < visited; ++i) {
        result.text += TrimBoth(lines.Get(i));
        if (i < count - 1)
            result.text += separator;
    }
    result.text += "\r\n";
    result.caret = static_cast<std::int64_t>(result.text.size());
    result.notifies = true;
    return result;
}

LineResult PrefixEachLine(const LineView& lines, std::string_view text) { return Affix(lines, text, true); }

LineResult SuffixEachLine(const LineView& lines, std::string_view text) { return Affix(lines, text, false); }

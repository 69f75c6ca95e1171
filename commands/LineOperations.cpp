#include "commands/LineOperations.h"

#include "commands/RandomGenerator.h"
#include "document/StringList.h"

#include <vector>

namespace {

std::vector<std::string_view> PiecesOf(const LineView& lines)
{
    std::vector<std::string_view> pieces;
    pieces.reserve(static_cast<std::size_t>(lines.Pieces()));
    for (int i = 0; i < lines.Pieces(); ++i)
        pieces.push_back(lines.Get(i));
    return pieces;
}

// Joins the pieces with CR LF; `caret` receives the offset behind piece `caretPiece`.
std::string JoinPieces(const std::vector<std::string_view>& pieces, std::size_t caretPiece, std::int64_t& caret)
{
    std::size_t size = 0;
    for (std::string_view p : pieces)
        size += p.size() + 2;
    std::string out;
    out.reserve(size);
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (i)
            out += "\r\n";
        out += pieces[i];
        if (i == caretPiece)
            caret = static_cast<std::int64_t>(out.size());
    }
    return out;
}

std::string_view Trimmed(std::string_view s, TrimSide side)
{
    switch (side) {
    case TrimSide::Left:
        return TrimLeft(s);
    case TrimSide::Right:
        return TrimRight(s);
    case TrimSide::Both:
        break;
    }
    return TrimBoth(s);
}

} // namespace

LineResult SortLineList(const LineView& lines, const TextCollator& collator)
{
    // The list sorts views of the lines: a copy of each would cost more than the text itself.
    std::vector<std::string_view> sorted;
    sorted.reserve(static_cast<std::size_t>(lines.Count()));
    std::size_t size = 2;
    for (int i = 0; i < lines.Count(); ++i) {
        sorted.push_back(lines.Get(i));
        size += sorted.back().size() + 2;
    }
    SortTexts(sorted, collator);

    // The list's text (every line followed by CR LF), trimmed as one text, then one CR LF:
    // built in one go. Lines made only of characters the trim removes go whole from the start.
    LineResult result;
    result.text.reserve(size);
    for (const std::string_view line : sorted) {
        if (result.text.empty()) {
            const std::string_view kept = TrimLeft(line);
            if (kept.empty())
                continue;
            result.text += kept;
        } else {
            result.text += line;
        }
        result.text += "\r\n";
    }
    result.text.resize(TrimRight(result.text).size());
    result.text += "\r\n";
    result.caret = static_cast<std::int64_t>(result.text.size());
    result.notifies = true;
    return result;
}

LineResult ShuffleLineList(const LineView& lines, RandomGenerator& random,
                           const std::function<void(int percent)>& progress)
{
    LineResult result;
    const std::int64_t steps = lines.Count();
    if (steps == 0) {
        result.text = std::string(lines.Text());
        return result;
    }
    std::vector<std::string_view> pieces = PiecesOf(lines);
    const std::size_t last = pieces.size() - 1;
    std::uint32_t count = static_cast<std::uint32_t>(steps);
    std::size_t lastWritten = 0;
    int shown = -1;
    for (std::int64_t left = steps - 1; left >= 0; --left) {
        const std::uint32_t a = random.Random(count);
        const std::uint32_t b = random.Random(count);
        std::swap(pieces[a], pieces[b]);
        if (!pieces[a].empty() || !pieces[b].empty())
            result.notifies = true;
        lastWritten = b;
        // The pieces never change in number, so only the last one can stop being counted.
        if (count == pieces.size() && pieces[last].empty())
            --count;
        const int percent = static_cast<int>((static_cast<std::int64_t>(count) - left) * 100 / count);
        if (percent != shown) {
            shown = percent;
            if (progress)
                progress(percent);
        }
    }
    result.text = JoinPieces(pieces, lastWritten, result.caret);
    return result;
}

LineResult TrimEachLine(const LineView& lines, TrimSide side)
{
    LineResult result;
    const int count = lines.Count();
    if (count == 0) {
        result.text = std::string(lines.Text());
        return result;
    }
    // Trimming never adds or removes a break, so the walk that re-reads Count after every
    // line visits exactly lines 0 .. Count - 1 of the text it started with. One pass, straight
    // into the result: a list of the pieces first would cost more than the trimming.
    result.text.reserve(lines.Text().size());
    for (int i = 0; i < lines.Pieces(); ++i) {
        if (i)
            result.text += "\r\n";
        std::string_view piece = lines.Get(i);
        if (i < count) {
            if (!piece.empty())
                result.notifies = true;
            piece = Trimmed(piece, side);
        }
        result.text += piece;
        if (i == count - 1)
            result.caret = static_cast<std::int64_t>(result.text.size());
    }
    return result;
}

#include "commands/FindReplace.h"

#include "commands/PlainSearch.h"
#include "commands/RegexReplacement.h"
#include "commands/RegexSearch.h"
#include "document/ByteDocument.h"
#include "platform/Error.h"

#include <QCoreApplication>

#include <algorithm>

namespace {

// A regular expression needs its subject in one piece. The document gives it so (SearchBytes);
// two pieces from elsewhere are joined here.
std::string_view OnePiece(const TextPieces& text, std::string& joined)
{
    if (text.second.empty())
        return text.first;
    if (text.first.empty())
        return text.second;
    joined.reserve(text.first.size() + text.second.size());
    joined.append(text.first).append(text.second);
    return joined;
}

// Stops a Replace All whose result the document could not take anyway, before it has
// filled the memory: the same error the document gives.
void CheckRoom(const std::string& built)
{
    if (static_cast<ByteDocument::Offset>(built.size()) > ByteDocument::kCapacity)
        throw QuorlexError(Translated("Document", QT_TRANSLATE_NOOP("Document", "Text exceeds memo capacity")));
}

void AppendRange(std::string& out, const TextPieces& text, std::int64_t from, std::int64_t to)
{
    const auto seam = static_cast<std::int64_t>(text.first.size());
    if (from < seam)
        out.append(text.first.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(std::min(to, seam) - from)));
    if (to > seam) {
        const std::int64_t start = std::max(from, seam) - seam;
        out.append(text.second.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(to - seam - start)));
    }
}

struct Where {
    std::int64_t from;     // forward: the search begins here
    std::int64_t limit;    // up: matches end at or before here
    bool skipEmpty;        // an empty selection: a match of length zero right there is no news
};

Where Position(const TextPieces& text, TextSelection selection)
{
    const std::int64_t size = text.Size();
    // A selection reported past either end must not send the search outside the text.
    return {std::clamp<std::int64_t>(selection.start + std::max<std::int64_t>(selection.length, 0), 0, size),
            std::clamp<std::int64_t>(selection.start, 0, size), selection.length <= 0};
}

std::optional<TextSelection> PlainNext(const TextPieces& text, TextSelection selection, std::string_view pattern,
                                       const FindOptions& options)
{
    const PlainSearch search(pattern, options.matchCase, options.wholeWord);
    const Where at = Position(text, selection);
    std::int64_t found = options.up ? search.Last(text, at.limit) : search.First(text, at.from);
    if (found < 0 && options.wrapAround)
        found = options.up ? search.Last(text, text.Size()) : search.First(text, 0);
    if (found < 0)
        return std::nullopt;
    return TextSelection{found, search.Length()};
}

std::optional<RegexSearch::Groups> RegexNext(RegexSearch& search, std::string_view subject, const Where& at,
                                             const FindOptions& options)
{
    const auto from = static_cast<std::size_t>(at.from);
    const auto limit = static_cast<std::size_t>(at.limit);
    auto found = options.up ? search.Last(subject, limit, at.skipEmpty) : search.First(subject, from, at.skipEmpty);
    if (!found && options.wrapAround)
        found = options.up ? search.Last(subject, subject.size(), false) : search.First(subject, 0, false);
    return found;
}

TextSelection Span(const RegexSearch::Groups& groups)
{
    return {static_cast<std::int64_t>(groups[0]), static_cast<std::int64_t>(groups[1] - groups[0])};
}

ReplaceStep Step(TextSelection replaced, std::string&& replacement, bool up)
{
    const std::int64_t caret = replaced.start + (up ? 0 : static_cast<std::int64_t>(replacement.size()));
    return {replaced, std::move(replacement), caret};
}

std::optional<ReplaceAllResult> PlainReplaceAll(const TextPieces& text, std::string_view pattern,
                                                std::string_view replacement, const FindOptions& options)
{
    const PlainSearch search(pattern, options.matchCase, options.wholeWord);
    std::int64_t hit = search.First(text, 0);
    if (hit < 0)
        return std::nullopt;
    const std::int64_t m = search.Length();
    ReplaceAllResult result;
    // Room for the text as it is, and some for growth: a longer replacement reallocates the
    // result a few times at most.
    const auto size = static_cast<std::size_t>(text.Size());
    result.text.reserve(size + (replacement.size() > pattern.size() ? size / 8 : 0));
    std::int64_t copied = 0;
    while (hit >= 0) {
        AppendRange(result.text, text, copied, hit);
        result.text.append(replacement);
        CheckRoom(result.text);
        ++result.count;
        copied = hit + m;
        hit = search.First(text, copied);
    }
    result.caret = static_cast<std::int64_t>(result.text.size());
    AppendRange(result.text, text, copied, text.Size());
    return result;
}

std::optional<ReplaceAllResult> RegexReplaceAll(const TextPieces& text, std::string_view pattern,
                                                std::string_view replacement, const FindOptions& options)
{
    FindOptions forward = options;
    forward.up = false;
    RegexSearch search(pattern, forward);
    const RegexReplacement expand(replacement, search.Expression());
    std::string joined;
    const std::string_view subject = OnePiece(text, joined);
    Regex& regex = search.Expression();

    ReplaceAllResult result;
    std::size_t copied = 0;
    std::size_t pos = 0;
    while (pos <= subject.size()) {
        const std::size_t* g = regex.Search(subject, pos);
        if (!g)
            break;
        const std::size_t start = g[0];
        const std::size_t end = g[1];
        if (!search.Accepts(subject, start, end)) {
            pos = RegexSearch::Advance(subject, start);
            continue;
        }
        if (result.count == 0)
            result.text.reserve(subject.size());
        result.text.append(subject.substr(copied, start - copied));
        expand.AppendTo(result.text, subject, g);
        CheckRoom(result.text);
        ++result.count;
        result.caret = static_cast<std::int64_t>(result.text.size());
        copied = end;
        // Past a match of length zero by one character, which is copied as it is.
        pos = end > start ? end : RegexSearch::Advance(subject, start);
    }
    if (result.count == 0)
        return std::nullopt;
    result.text.append(subject.substr(copied));
    return result;
}

} // namespace

TextPieces SearchBytes(ByteDocument& document, const FindOptions& options)
{
    if (options.regex)
        return {document.Contiguous(0, document.Length()), {}};
    return document.Bytes();
}

std::optional<TextSelection> FindNext(const TextPieces& text, TextSelection selection, std::string_view pattern,
                                      const FindOptions& options)
{
    if (pattern.empty())
        return std::nullopt;
    if (!options.regex)
        return PlainNext(text, selection, pattern, options);
    RegexSearch search(pattern, options);
    std::string joined;
    const auto found = RegexNext(search, OnePiece(text, joined), Position(text, selection), options);
    if (!found)
        return std::nullopt;
    return Span(*found);
}

std::optional<ReplaceStep> ReplaceNext(const TextPieces& text, TextSelection selection, std::string_view pattern,
                                       std::string_view replacement, const FindOptions& options)
{
    if (pattern.empty())
        return std::nullopt;
    if (!options.regex) {
        const auto found = PlainNext(text, selection, pattern, options);
        if (!found)
            return std::nullopt;
        return Step(*found, std::string(replacement), options.up);
    }
    RegexSearch search(pattern, options);
    const RegexReplacement expand(replacement, search.Expression());
    std::string joined;
    const std::string_view subject = OnePiece(text, joined);
    const auto found = RegexNext(search, subject, Position(text, selection), options);
    if (!found)
        return std::nullopt;
    return Step(Span(*found), expand.Expand(subject, found->data()), options.up);
}

std::optional<ReplaceAllResult> ReplaceAll(const TextPieces& text, std::string_view pattern,
                                           std::string_view replacement, const FindOptions& options)
{
    if (pattern.empty())
        return std::nullopt;
    return options.regex ? RegexReplaceAll(text, pattern, replacement, options)
                         : PlainReplaceAll(text, pattern, replacement, options);
}

std::optional<TextSelection> FindAfterSelection(const TextPieces& text, std::int64_t selStart, std::int64_t selLength,
                                                std::string_view pattern)
{
    return FindNext(text, {selStart, selLength}, pattern, FindOptions{});
}

std::optional<TextSelection> FindAfterSelection(std::string_view text, std::int64_t selStart, std::int64_t selLength,
                                                std::string_view pattern)
{
    return FindAfterSelection(TextPieces{text, {}}, selStart, selLength, pattern);
}

std::optional<ReplaceResult> ReplaceAfterSelection(std::string_view text, std::int64_t selStart,
                                                   std::int64_t selLength, std::string_view pattern,
                                                   std::string_view replacement)
{
    const auto step = ReplaceNext(TextPieces{text, {}}, {selStart, selLength}, pattern, replacement, FindOptions{});
    if (!step)
        return std::nullopt;
    ReplaceResult result;
    const auto at = static_cast<std::size_t>(step->replaced.start);
    result.text.reserve(text.size() - pattern.size() + replacement.size());
    result.text.append(text.substr(0, at));
    result.text.append(step->replacement);
    result.text.append(text.substr(at + pattern.size()));
    result.caret = step->caret;
    result.replaced = step->replaced;
    return result;
}

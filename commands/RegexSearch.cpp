#include "commands/RegexSearch.h"

#include "platform/WordChar.h"

#include <algorithm>
#include <cstring>

namespace {

bool InsideLineBreak(std::string_view text, std::size_t at)
{
    return at > 0 && at < text.size() && text[at - 1] == '\r' && text[at] == '\n';
}

// A line start at or a little before `at`, where a walk of matches starts as it would from
// the top; without one near, `at` itself (a match across it is rare and only shifts the walk).
std::size_t WalkStart(std::string_view text, std::size_t at)
{
    constexpr std::size_t kLookBack = 4096;
    const std::size_t floor = at > kLookBack ? at - kLookBack : 0;
    for (std::size_t end = at; end > floor + 1;) {
        const void* hit = memrchr(text.data() + floor + 1, '\n', end - floor - 1);
        if (!hit)
            break;
        const auto lf = static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
        if (text[lf - 1] == '\r')
            return lf + 1;
        end = lf;
    }
    if (floor == 0)
        return 0;
    return InsideLineBreak(text, at) ? at + 1 : at;
}

} // namespace

RegexSearch::RegexSearch(std::string_view pattern, const FindOptions& options)
    : m_regex(pattern, !options.matchCase, options.up), m_wholeWord(options.wholeWord)
{
}

std::size_t RegexSearch::Advance(std::string_view text, std::size_t at)
{
    return at + 1 < text.size() && text[at] == '\r' && text[at + 1] == '\n' ? at + 2 : at + 1;
}

bool RegexSearch::Accepts(std::string_view text, std::size_t start, std::size_t end) const
{
    if (!m_wholeWord)
        return true;
    return !(start > 0 && IsWordChar(static_cast<unsigned char>(text[start - 1]))) &&
           !(end < text.size() && IsWordChar(static_cast<unsigned char>(text[end])));
}

std::optional<RegexSearch::Groups> RegexSearch::First(std::string_view text, std::size_t from, bool skipEmptyAtFrom)
{
    std::size_t pos = std::min(from, text.size());
    if (InsideLineBreak(text, pos))
        ++pos;
    unsigned flags = skipEmptyAtFrom ? Regex::kNotEmptyAtStart : 0u;
    while (const std::size_t* g = m_regex.Search(text, pos, flags)) {
        if (Accepts(text, g[0], g[1]))
            return Groups(g, g + 2 * (m_regex.Groups() + 1));
        if (g[0] >= text.size())
            break;
        pos = Advance(text, g[0]);
        flags = 0;
    }
    return std::nullopt;
}

std::optional<RegexSearch::Groups> RegexSearch::Last(std::string_view text, std::size_t limit, bool skipEmptyAtLimit)
{
    limit = std::min(limit, text.size());
    if (InsideLineBreak(text, limit))
        --limit;
    const auto slots = static_cast<std::size_t>(2 * (m_regex.Groups() + 1));
    // Walk a stretch before the limit; only when it holds no match walk a longer one, so a
    // press costs about the distance to the match found, not the text before it.
    for (std::size_t window = 4096;; window *= 8) {
        const std::size_t lo = window >= limit ? 0 : WalkStart(text, limit - window);
        std::optional<Groups> best;
        std::size_t pos = lo;
        unsigned flags = 0;
        while (pos <= limit) {
            const std::size_t* g = m_regex.SearchStartingBy(text, pos, limit, flags);
            if (!g)
                break;
            const std::size_t start = g[0];
            const std::size_t end = g[1];
            if (!Accepts(text, start, end)) {
                pos = Advance(text, start);
                flags = 0;
                continue;
            }
            if (end > limit)
                break;
            if (!(skipEmptyAtLimit && start == end && start == limit))
                best.emplace(g, g + slots);
            // On as the next Find Next would go: behind a match, or past an empty one.
            if (end > start) {
                pos = end;
                flags = 0;
            } else {
                pos = start;
                flags = Regex::kNotEmptyAtStart;
            }
        }
        if (best || lo == 0)
            return best;
    }
}

#include "commands/PlainSearch.h"

#include "commands/CaselessFold.h"
#include "platform/WordChar.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::size_t npos = std::string_view::npos;

unsigned char ByteAt(const TextPieces& text, std::int64_t offset)
{
    const auto seam = static_cast<std::int64_t>(text.first.size());
    return static_cast<unsigned char>(offset < seam ? text.first[static_cast<std::size_t>(offset)]
                                                    : text.second[static_cast<std::size_t>(offset - seam)]);
}

} // namespace

PlainSearch::PlainSearch(std::string_view pattern, bool matchCase, bool wholeWord)
    : m_pattern(pattern), m_matchCase(matchCase), m_wholeWord(wholeWord)
{
    const caseless::Table& fold = caseless::Fold();
    const caseless::Table& partner = caseless::Partner();
    m_exactBytes = matchCase || std::none_of(pattern.begin(), pattern.end(), [&](char c) {
        return partner[static_cast<unsigned char>(c)] != static_cast<unsigned char>(c);
    });
    if (m_exactBytes)
        return;
    for (char& c : m_pattern)
        c = static_cast<char>(fold[static_cast<unsigned char>(c)]);
    // Horspool over folded bytes: the shift for a text byte is that of its folded form.
    const std::size_t m = m_pattern.size();
    m_shift.fill(m);
    for (std::size_t i = 0; i + 1 < m; ++i)
        for (int b = 0; b < 256; ++b)
            if (fold[static_cast<std::size_t>(b)] == static_cast<unsigned char>(m_pattern[i]))
                m_shift[static_cast<std::size_t>(b)] = m - 1 - i;
}

bool PlainSearch::EqualsAt(const unsigned char* at) const
{
    const caseless::Table& fold = caseless::Fold();
    const auto* p = reinterpret_cast<const unsigned char*>(m_pattern.data());
    for (std::size_t i = 0; i < m_pattern.size(); ++i)
        if (fold[at[i]] != p[i])
            return false;
    return true;
}

std::size_t PlainSearch::NextCandidate(std::string_view hay, std::size_t from, std::size_t end) const
{
    const std::size_t m = m_pattern.size();
    if (end < m || from > end - m)
        return npos;
    if (m_exactBytes) {
        const void* hit = memmem(hay.data() + from, end - from, m_pattern.data(), m);
        return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - hay.data()) : npos;
    }
    const auto* h = reinterpret_cast<const unsigned char*>(hay.data());
    const caseless::Table& fold = caseless::Fold();
    const auto last = static_cast<unsigned char>(m_pattern[m - 1]);
    for (std::size_t pos = from; pos + m <= end;) {
        const unsigned char b = h[pos + m - 1];
        if (fold[b] == last && EqualsAt(h + pos))
            return pos;
        pos += m_shift[b];
    }
    return npos;
}

std::size_t PlainSearch::PreviousCandidate(std::string_view hay, std::size_t end) const
{
    const std::size_t m = m_pattern.size();
    if (end < m)
        return npos;
    const auto* h = reinterpret_cast<const unsigned char*>(hay.data());
    if (m_exactBytes) {
        // Backwards over the first byte's occurrences; a Find Up is one press, not a loop.
        std::size_t span = end - m + 1;
        while (span > 0) {
            const void* hit = memrchr(h, static_cast<unsigned char>(m_pattern[0]), span);
            if (!hit)
                return npos;
            const auto pos = static_cast<std::size_t>(static_cast<const unsigned char*>(hit) - h);
            if (std::memcmp(h + pos, m_pattern.data(), m) == 0)
                return pos;
            span = pos;
        }
        return npos;
    }
    const caseless::Table& fold = caseless::Fold();
    const auto first = static_cast<unsigned char>(m_pattern[0]);
    for (std::size_t pos = end - m + 1; pos-- > 0;)
        if (fold[h[pos]] == first && EqualsAt(h + pos))
            return pos;
    return npos;
}

bool PlainSearch::Accepted(const TextPieces& text, std::int64_t start) const
{
    if (!m_wholeWord)
        return true;
    const std::int64_t end = start + Length();
    return !(start > 0 && IsWordChar(ByteAt(text, start - 1))) && !(end < text.Size() && IsWordChar(ByteAt(text, end)));
}

std::size_t PlainSearch::FirstIn(std::string_view hay, std::size_t from, std::size_t end, const TextPieces& text,
                                 std::int64_t base) const
{
    for (std::size_t pos = NextCandidate(hay, from, end); pos != npos; pos = NextCandidate(hay, pos + 1, end))
        if (Accepted(text, base + static_cast<std::int64_t>(pos)))
            return pos;
    return npos;
}

std::size_t PlainSearch::LastIn(std::string_view hay, std::size_t end, const TextPieces& text, std::int64_t base) const
{
    for (std::size_t pos = PreviousCandidate(hay, end); pos != npos;) {
        if (Accepted(text, base + static_cast<std::int64_t>(pos)))
            return pos;
        // The next candidate starts before this one.
        pos = PreviousCandidate(hay, pos + m_pattern.size() - 1);
    }
    return npos;
}

std::int64_t PlainSearch::First(const TextPieces& text, std::int64_t from) const
{
    const std::int64_t size = text.Size();
    const std::int64_t m = Length();
    from = std::clamp<std::int64_t>(from, 0, size);
    if (m == 0 || m > size - from)
        return -1;
    const auto seam = static_cast<std::int64_t>(text.first.size());
    const auto global = [](std::int64_t base, std::size_t pos) {
        return pos == npos ? std::int64_t{-1} : base + static_cast<std::int64_t>(pos);
    };
    if (from < seam) {
        const std::size_t at = FirstIn(text.first, static_cast<std::size_t>(from), text.first.size(), text, 0);
        if (at != npos)
            return static_cast<std::int64_t>(at);
        // Across the seam: the last m - 1 bytes of the first piece and the first m - 1 of the
        // second; nothing that fits in there lies in one piece alone.
        if (m > 1 && !text.second.empty()) {
            const std::int64_t lead = std::max(from, seam - (m - 1));
            std::string joint(text.first.substr(static_cast<std::size_t>(lead)));
            joint.append(text.second.substr(0, static_cast<std::size_t>(m - 1)));
            const std::size_t j = FirstIn(joint, 0, joint.size(), text, lead);
            if (j != npos)
                return global(lead, j);
        }
    }
    const auto inSecond = static_cast<std::size_t>(std::max<std::int64_t>(from - seam, 0));
    return global(seam, FirstIn(text.second, inSecond, text.second.size(), text, seam));
}

std::int64_t PlainSearch::Last(const TextPieces& text, std::int64_t limit) const
{
    const std::int64_t m = Length();
    limit = std::clamp<std::int64_t>(limit, 0, text.Size());
    if (m == 0 || m > limit)
        return -1;
    const auto seam = static_cast<std::int64_t>(text.first.size());
    const auto global = [](std::int64_t base, std::size_t pos) {
        return pos == npos ? std::int64_t{-1} : base + static_cast<std::int64_t>(pos);
    };
    if (limit > seam) {
        const std::size_t at = LastIn(text.second, static_cast<std::size_t>(limit - seam), text, seam);
        if (at != npos)
            return global(seam, at);
        if (m > 1 && seam > 0) {
            const std::int64_t lead = std::max<std::int64_t>(0, seam - (m - 1));
            std::string joint(text.first.substr(static_cast<std::size_t>(lead)));
            joint.append(text.second.substr(0, static_cast<std::size_t>(std::min(m - 1, limit - seam))));
            const std::size_t j = LastIn(joint, joint.size(), text, lead);
            if (j != npos)
                return global(lead, j);
        }
    }
    return global(0, LastIn(text.first, static_cast<std::size_t>(std::min(limit, seam)), text, 0));
}

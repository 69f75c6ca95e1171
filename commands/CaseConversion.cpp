#include "commands/CaseConversion.h"

#include <array>
#include <cstdint>
#include <utility>

namespace {

using Table = std::array<unsigned char, 256>;

// No pair maps onto a letter that another pair changes, so one table lookup per byte gives
// the same text as the ASCII pass followed by each Turkish letter in turn.
Table MakeTable(bool upper)
{
    Table t{};
    for (int i = 0; i < 256; ++i)
        t[static_cast<std::size_t>(i)] = static_cast<unsigned char>(i);
    for (int c = 'a'; c <= 'z'; ++c) {
        if (upper)
            t[static_cast<std::size_t>(c)] = static_cast<unsigned char>(c - 32);
        else
            t[static_cast<std::size_t>(c - 32)] = static_cast<unsigned char>(c);
    }
    // The Turkish letters, (from, to), in the order the conversions name them.
    using Pairs = std::array<std::pair<std::uint8_t, std::uint8_t>, 6>;
    static constexpr Pairs kToLower = {{{0xC7, 0xE7}, {0xD0, 0xF0}, {0xDD, 0x69}, {0xD6, 0xF6}, {0xDC, 0xFC}, {0xDE, 0xFE}}};
    static constexpr Pairs kToUpper = {{{0xE7, 0xC7}, {0xF0, 0xD0}, {0xFD, 0x49}, {0xF6, 0xD6}, {0xFC, 0xDC}, {0xFE, 0xDE}}};
    for (auto [from, to] : upper ? kToUpper : kToLower)
        t[from] = to;
    return t;
}

std::string Mapped(std::string_view text, const Table& table)
{
    std::string out(text.size(), '\0');
    const auto* src = reinterpret_cast<const unsigned char*>(text.data());
    auto* dst = reinterpret_cast<unsigned char*>(out.data());
    for (std::size_t i = 0; i < text.size(); ++i)
        dst[i] = table[src[i]];
    return out;
}

} // namespace

std::string ToLowerTurkish(std::string_view text)
{
    static const Table table = MakeTable(false);
    return Mapped(text, table);
}

std::string ToUpperTurkish(std::string_view text)
{
    static const Table table = MakeTable(true);
    return Mapped(text, table);
}

std::string ReplaceAllOccurrences(std::string_view source, std::string_view pattern, std::string_view replacement)
{
    if (source.empty())
        return {};
    std::size_t hit = pattern.empty() || pattern == replacement ? std::string_view::npos : source.find(pattern);
    if (hit == std::string_view::npos)
        return std::string(source);
    std::string out;
    out.reserve(source.size());
    std::size_t from = 0;
    while (hit != std::string_view::npos) {
        out.append(source.data() + from, hit - from);
        out.append(replacement);
        from = hit + pattern.size();
        hit = source.find(pattern, from);
    }
    out.append(source.data() + from, source.size() - from);
    return out;
}

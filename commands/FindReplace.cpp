#include "commands/FindReplace.h"

#include <algorithm>

std::optional<TextSelection> FindAfterSelection(const TextPieces& text, std::int64_t selStart, std::int64_t selLength,
                                                std::string_view pattern)
{
    const std::int64_t size = text.Size();
    // A selection reported past either end must not send the search outside the text.
    const std::int64_t from = std::clamp<std::int64_t>(selStart + std::max<std::int64_t>(selLength, 0), 0, size);
    const auto m = static_cast<std::int64_t>(pattern.size());
    if (m == 0 || m > size - from)
        return std::nullopt;
    const auto seam = static_cast<std::int64_t>(text.first.size());
    const auto found = [&](std::int64_t at) { return TextSelection{at, m}; };

    if (from < seam) {
        const std::size_t at = text.first.find(pattern, static_cast<std::size_t>(from));
        if (at != std::string_view::npos)
            return found(static_cast<std::int64_t>(at));
        // Across the seam: the last m - 1 bytes of the first piece and the first m - 1 of the second.
        if (m > 1 && !text.second.empty()) {
            const std::int64_t lead = std::max(from, seam - (m - 1));
            std::string joint(text.first.substr(static_cast<std::size_t>(lead)));
            joint.append(text.second.substr(0, static_cast<std::size_t>(m - 1)));
            const std::size_t j = joint.find(pattern);
            if (j != std::string_view::npos)
                return found(lead + static_cast<std::int64_t>(j));
        }
    }
    const std::int64_t inSecond = std::max<std::int64_t>(from - seam, 0);
    const std::size_t at = text.second.find(pattern, static_cast<std::size_t>(inSecond));
    if (at == std::string_view::npos)
        return std::nullopt;
    return found(seam + static_cast<std::int64_t>(at));
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
    const auto found = FindAfterSelection(text, selStart, selLength, pattern);
    if (!found)
        return std::nullopt;
    ReplaceResult result;
    const auto at = static_cast<std::size_t>(found->start);
    result.text.reserve(text.size() - pattern.size() + replacement.size());
    result.text.append(text.substr(0, at));
    result.text.append(replacement);
    result.text.append(text.substr(at + pattern.size()));
    result.caret = found->start + static_cast<std::int64_t>(replacement.size());
    result.replaced = *found;
    return result;
}

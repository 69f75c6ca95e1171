#include "cli/ReplaceAll.h"

#include "commands/FindReplace.h"

namespace cli {

// The dialog's Replace, pressed until nothing is found: each search starts behind the last
// replacement, which in the old text is behind the occurrence it replaced.
std::string ReplaceAllInText(std::string_view text, std::string_view find, std::string_view replacement)
{
    std::string out;
    std::int64_t from = 0;
    while (const auto found = FindAfterSelection(text, from, 0, find)) {
        if (out.empty())
            out.reserve(text.size());
        out.append(text.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(found->start - from)));
        out.append(replacement);
        from = found->start + found->length;
    }
    out.append(text.substr(static_cast<std::size_t>(from)));
    return out;
}

} // namespace cli

#include "cli/ReplaceAll.h"

#include "commands/FindReplace.h"

namespace cli {

std::string ReplaceAllInText(std::string_view text, std::string_view find, std::string_view replacement,
                             const FindOptions& options)
{
    auto result = ReplaceAll(TextPieces{text, {}}, find, replacement, options);
    return result ? std::move(result->text) : std::string(text);
}

} // namespace cli

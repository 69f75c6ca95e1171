#pragma once

#include "commands/FindOptions.h"

#include <string>
#include <string_view>

namespace cli {

// Replace All of the Replace dialog over a whole text: every occurrence of `find`, left to
// right without overlap, an inserted replacement never searched again. Throws QuorlexError
// for a regular expression that does not compile.
std::string ReplaceAllInText(std::string_view text, std::string_view find, std::string_view replacement,
                             const FindOptions& options);

} // namespace cli

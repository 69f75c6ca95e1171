#pragma once

#include <string>
#include <string_view>

namespace cli {

// Replace All of the Replace dialog over a whole text, nothing selected: every occurrence of
// `find`, left to right without overlap, the inserted replacement never searched again.
std::string ReplaceAllInText(std::string_view text, std::string_view find, std::string_view replacement);

} // namespace cli

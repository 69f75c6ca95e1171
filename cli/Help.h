#pragma once

#include <string>
#include <string_view>

namespace cli {

extern const char* const kUsageLine;
// The program's help, or one command's (by its name, which must be known).
std::string HelpText(std::string_view command = {});

} // namespace cli

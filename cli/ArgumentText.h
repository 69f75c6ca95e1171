#pragma once

#include <string>
#include <string_view>

namespace cli {

// A text typed on the command line as the document's bytes: UTF-8 becomes the code page's
// bytes, as a text typed into a dialog does; anything that is not UTF-8 is taken as bytes.
// Throws UsageError for UTF-8 with a character the code page cannot hold: a stand-in would
// search for, or write, something the user did not type.
std::string ArgumentBytes(std::string_view typed);

} // namespace cli

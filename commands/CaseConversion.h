#pragma once

#include <string>
#include <string_view>

// Case conversion of Windows-1254 text: the ASCII letters and the six Turkish letter pairs
// (Ç Ğ İ/I Ö Ü Ş); every other byte, the other accented letters included, stays as it is.
// Lower-casing turns both I and İ into i and leaves ı alone; upper-casing turns both i and ı
// into I and leaves İ alone.
std::string ToLowerTurkish(std::string_view text);
std::string ToUpperTurkish(std::string_view text);

// Every occurrence of `pattern`, left to right without overlap, replaced; the inserted
// replacement is never searched again. An empty pattern never occurs.
std::string ReplaceAllOccurrences(std::string_view source, std::string_view pattern, std::string_view replacement);

#pragma once

#include <array>

// Case ignored in Windows-1254 text: A-Z with a-z and the Turkish pairs İ/i, I/ı, Ğ/ğ, Ü/ü,
// Ş/ş, Ö/ö, Ç/ç. I goes with dotless ı and İ with i, as Turkish writes them, so "ılık" and
// "ilik" stay two words; every other byte has no other case. Each letter has exactly one
// partner, which is what the regular expressions' tables can express too.
namespace caseless {

using Table = std::array<unsigned char, 256>;

// The small letter of a pair; any other byte itself.
const Table& Fold();
// The other letter of a pair; any other byte itself.
const Table& Partner();

} // namespace caseless

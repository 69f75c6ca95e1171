#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// Decimal, or hexadecimal after "$", "x", "X", "0x" or "0X"; leading blanks, an optional sign,
// nothing after the digits, and the value must fit 32 bits signed.
std::optional<std::int32_t> TryStrToInt(std::string_view text);

// As TryStrToInt, but throws QuorlexError "'%s' is not a valid integer value".
std::int32_t StrToInt(std::string_view text);

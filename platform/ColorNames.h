#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Colour values as settings.ini stores them: $00BBGGRR for RGB colours, $FF000000 plus the
// system-colour index for system colours, clNone $1FFFFFFF and clDefault $20000000.
namespace colors {

constexpr std::uint32_t kWindow = 0xFF000005u;
constexpr std::uint32_t kNone = 0x1FFFFFFFu;
constexpr std::uint32_t kDefault = 0x20000000u;

// The value of one of the 52 identifiers (letter case ignored), if `name` is one.
std::optional<std::uint32_t> FromIdentifier(std::string_view name);
// The first identifier of that value in table order, if it has one.
std::optional<std::string> ToIdentifier(std::uint32_t value);

// Identifier, else the integer conversion; throws "'%s' is not a valid integer value".
std::uint32_t FromSettingText(std::string_view text);
// Identifier, else "$" and 8 upper-case hexadecimal digits.
std::string ToSettingText(std::uint32_t value);

// 0x00BBGGRR from red, green, blue.
constexpr std::uint32_t FromRgb(int r, int g, int b)
{
    return static_cast<std::uint32_t>(r & 0xFF) | (static_cast<std::uint32_t>(g & 0xFF) << 8) |
           (static_cast<std::uint32_t>(b & 0xFF) << 16);
}

bool IsSystemColor(std::uint32_t value);
int SystemIndex(std::uint32_t value); // for IsSystemColor values

} // namespace colors

#include "platform/AsciiCase.h"
#include "platform/ColorNames.h"

#include "platform/IntegerConversion.h"

#include <array>
#include <cstdio>

namespace colors {
namespace {

struct Named {
    const char* name;
    std::uint32_t value;
};

constexpr std::array<Named, 52> kTable = {{
    {"clBlack", 0x00000000u},
    {"clMaroon", 0x00000080u},
    {"clGreen", 0x00008000u},
    {"clOlive", 0x00008080u},
    {"clNavy", 0x00800000u},
    {"clPurple", 0x00800080u},
    {"clTeal", 0x00808000u},
    {"clGray", 0x00808080u},
    {"clSilver", 0x00C0C0C0u},
    {"clRed", 0x000000FFu},
    {"clLime", 0x0000FF00u},
    {"clYellow", 0x0000FFFFu},
    {"clBlue", 0x00FF0000u},
    {"clFuchsia", 0x00FF00FFu},
    {"clAqua", 0x00FFFF00u},
    {"clWhite", 0x00FFFFFFu},
    {"clMoneyGreen", 0x00C0DCC0u},
    {"clSkyBlue", 0x00F0CAA6u},
    {"clCream", 0x00F0FBFFu},
    {"clMedGray", 0x00A4A0A0u},
    {"clActiveBorder", 0xFF00000Au},
    {"clActiveCaption", 0xFF000002u},
    {"clAppWorkSpace", 0xFF00000Cu},
    {"clBackground", 0xFF000001u},
    {"clBtnFace", 0xFF00000Fu},
    {"clBtnHighlight", 0xFF000014u},
    {"clBtnShadow", 0xFF000010u},
    {"clBtnText", 0xFF000012u},
    {"clCaptionText", 0xFF000009u},
    {"clDefault", 0x20000000u},
    {"clGradientActiveCaption", 0xFF00001Bu},
    {"clGradientInactiveCaption", 0xFF00001Cu},
    {"clGrayText", 0xFF000011u},
    {"clHighlight", 0xFF00000Du},
    {"clHighlightText", 0xFF00000Eu},
    {"clHotLight", 0xFF00001Au},
    {"clInactiveBorder", 0xFF00000Bu},
    {"clInactiveCaption", 0xFF000003u},
    {"clInactiveCaptionText", 0xFF000013u},
    {"clInfoBk", 0xFF000018u},
    {"clInfoText", 0xFF000017u},
    {"clMenu", 0xFF000004u},
    {"clMenuBar", 0xFF00001Eu},
    {"clMenuHighlight", 0xFF00001Du},
    {"clMenuText", 0xFF000007u},
    {"clNone", 0x1FFFFFFFu},
    {"clScrollBar", 0xFF000000u},
    {"cl3DDkShadow", 0xFF000015u},
    {"cl3DLight", 0xFF000016u},
    {"clWindow", 0xFF000005u},
    {"clWindowFrame", 0xFF000006u},
    {"clWindowText", 0xFF000008u},
}};


} // namespace

std::optional<std::uint32_t> FromIdentifier(std::string_view name)
{
    for (const Named& n : kTable)
        if (EqualsIgnoringAsciiCase(name, n.name))
            return n.value;
    return std::nullopt;
}

std::optional<std::string> ToIdentifier(std::uint32_t value)
{
    for (const Named& n : kTable)
        if (n.value == value)
            return std::string(n.name);
    return std::nullopt;
}

std::uint32_t FromSettingText(std::string_view text)
{
    if (auto v = FromIdentifier(text))
        return *v;
    return static_cast<std::uint32_t>(StrToInt(text));
}

std::string ToSettingText(std::uint32_t value)
{
    if (auto name = ToIdentifier(value))
        return *name;
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "$%08X", value);
    return buffer;
}

bool IsSystemColor(std::uint32_t value) { return (value & 0xFF000000u) == 0xFF000000u; }

int SystemIndex(std::uint32_t value) { return static_cast<int>(value & 0x00FFFFFFu); }

} // namespace colors

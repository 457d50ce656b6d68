#include "tables/color_names.h"

#include "tables/subs.h"

#include <charconv>
#include <cstdio>

namespace parvex {

namespace {

constexpr std::uint32_t sys(std::uint32_t n) {
    return System_Color_Base + n;
}

constexpr std::array<Color_Name, 52> table{{
    {"clBlack", 0x00000000},
    {"clMaroon", 0x00000080},
    {"clGreen", 0x00008000},
    {"clOlive", 0x00008080},
    {"clNavy", 0x00800000},
    {"clPurple", 0x00800080},
    {"clTeal", 0x00808000},
    {"clGray", 0x00808080},
    {"clSilver", 0x00C0C0C0},
    {"clRed", 0x000000FF},
    {"clLime", 0x0000FF00},
    {"clYellow", 0x0000FFFF},
    {"clBlue", 0x00FF0000},
    {"clFuchsia", 0x00FF00FF},
    {"clAqua", 0x00FFFF00},
    {"clWhite", 0x00FFFFFF},
    {"clMoneyGreen", 0x00C0DCC0},
    {"clSkyBlue", 0x00F0CAA6},
    {"clCream", 0x00F0FBFF},
    {"clMedGray", 0x00A4A0A0},
    {"clActiveBorder", sys(10)},
    {"clActiveCaption", sys(2)},
    {"clAppWorkSpace", sys(12)},
    {"clBackground", sys(1)},
    {"clBtnFace", sys(15)},
    {"clBtnHighlight", sys(20)},
    {"clBtnShadow", sys(16)},
    {"clBtnText", sys(18)},
    {"clCaptionText", sys(9)},
    {"clGradientActiveCaption", sys(27)},
    {"clGradientInactiveCaption", sys(28)},
    {"clGrayText", sys(17)},
    {"clHighlight", sys(13)},
    {"clHighlightText", sys(14)},
    {"clHotLight", sys(26)},
    {"clInactiveBorder", sys(11)},
    {"clInactiveCaption", sys(3)},
    {"clInactiveCaptionText", sys(19)},
    {"clInfoBk", sys(24)},
    {"clInfoText", sys(23)},
    {"clMenu", sys(4)},
    {"clMenuBar", sys(30)},
    {"clMenuHighlight", sys(29)},
    {"clMenuText", sys(7)},
    {"clScrollBar", sys(0)},
    {"cl3DDkShadow", sys(21)},
    {"cl3DLight", sys(22)},
    {"clWindow", sys(5)},
    {"clWindowFrame", sys(6)},
    {"clWindowText", sys(8)},
    {"clNone", clNone},
    {"clDefault", clDefault},
}};

} // namespace

const std::array<Color_Name, 52>& Color_Names() {
    return table;
}

std::string Color_To_Name(std::uint32_t value) {
    for (const auto& entry : table)
        if (entry.value == value)
            return std::string(entry.name);
    char buf[16];
    std::snprintf(buf, sizeof buf, "$%08X", static_cast<unsigned>(value));
    return buf;
}

std::optional<std::uint32_t> Name_To_Color(std::string_view text) {
    std::string lower = Lower_Ascii(text);
    for (const auto& entry : table)
        if (Lower_Ascii(entry.name) == lower)
            return entry.value;
    if (text.empty())
        return std::nullopt;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (text.front() == '$') {
        ++first;
        // Up to eight digits: a 32-bit colour value.
        if (first == last || last - first > 8)
            return std::nullopt;
        std::uint32_t value = 0;
        auto [ptr, err] = std::from_chars(first, last, value, 16);
        if (err != std::errc() || ptr != last)
            return std::nullopt;
        return value;
    }
    std::int64_t value = 0;
    if (*first == '+')
        ++first;
    auto [ptr, err] = std::from_chars(first, last, value, 10);
    if (err != std::errc() || ptr != last || first == last || value < INT32_MIN ||
        value > UINT32_MAX)
        return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

} // namespace parvex

#pragma once
// The 52 named colours of the colour settings and the "$00BBGGRR" notation: name <-> value.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace parvex {

struct Color_Name {
    std::string_view name;
    std::uint32_t value;
};

inline constexpr std::uint32_t System_Color_Base = 0x80000000u;
inline constexpr std::uint32_t clNone = 0x1FFFFFFFu;
inline constexpr std::uint32_t clDefault = 0x20000000u;

// Twenty standard colours, thirty system colours ($80000000 + the system-colour number) and
// the two special values, in one table.
const std::array<Color_Name, 52>& Color_Names();

// The value as its table name, else "$" and eight upper-case hexadecimal digits.
std::string Color_To_Name(std::uint32_t value);
// A table name (any letter case), "$" and hexadecimal digits, or a decimal integer; nothing for
// any other text.
std::optional<std::uint32_t> Name_To_Color(std::string_view text);

inline bool Is_System_Color(std::uint32_t value) {
    return (value & 0xFF000000u) == System_Color_Base;
}
inline int System_Color_Number(std::uint32_t value) {
    return static_cast<int>(value & 0xFFu);
}

} // namespace parvex

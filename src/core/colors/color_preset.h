#pragma once
// The rows of "Predef.dat": which setting each of the 37 columns holds, and the check that
// tells whether a stored row can be loaded whole before any of it is applied.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace parvex {

enum class Preset_Kind { Name, Switch, Color, Shade, Mark };

struct Preset_Column {
    std::string_view header; // the column's header in the table file
    Preset_Kind kind;
    std::string_view component; // the control that holds the setting ("" for name and mark)
};

inline constexpr int Preset_Col_Count = 37;
inline constexpr int Preset_Mark_Col = 36;

// Column 0 the name, 1 .. 35 the settings in file order, 36 the delete mark.
const std::array<Preset_Column, Preset_Col_Count>& Preset_Columns();

// A colour cell: one of the 52 names (any letter case), or "$" / decimal digits of a value
// whose high byte is 00. Nothing for any other text.
std::optional<std::uint32_t> Preset_Color(std::string_view text);
// A shade centre: decimal digits of a value from 0 to 100.
std::optional<int> Preset_Shade(std::string_view text);

// The first fault of a row, or none. `column` is -1 for a row that is too short: one whose
// cells end before the last setting (the delete mark may be missing).
struct Preset_Fault {
    int column = -1;
    std::string text;   // the cell as stored
    std::string reason; // what is wrong, in words for the user
};
std::optional<Preset_Fault> Check_Preset_Row(const std::vector<std::string>& cells);

// The message for a preset that cannot be loaded: which preset, which column, what is wrong.
std::string Preset_Fault_Message(std::string_view preset_name, const Preset_Fault& fault);

} // namespace parvex

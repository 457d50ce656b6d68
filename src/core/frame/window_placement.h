#pragma once
// The window placement a settings store keeps beside the properties: size, position and show
// state under the keys "FormVersion" ... "Visible", read back with every damaged value ignored.

#include "frame/ini_file.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace parvex {

inline constexpr std::array<std::string_view, 7> Placement_Keys{
    "FormVersion", "Flags", "ShowCmd", "PixelsPerInch", "MinMaxPos", "NormPos", "Visible"};

// Four integers: MinMaxPos holds minimised x, y and maximised x, y; NormPos the normal
// rectangle as left, top, right, bottom.
using Placement_Pos = std::array<int, 4>;

struct Window_Placement {
    int form_version = 0;
    int flags = 0;
    int show_cmd = 1; // 1 normal, 2 minimised, 3 maximised
    int pixels_per_inch = 96;
    Placement_Pos min_max_pos{-1, -1, -1, -1};
    // Absent when nothing usable is stored: the window then keeps the size it was built with.
    std::optional<Placement_Pos> norm_pos;
    bool visible = false;

    bool operator==(const Window_Placement&) const = default;
};

// "%d,%d,%d,%d"
std::string Format_Placement_Pos(const Placement_Pos& pos);
// Exactly four decimal integers separated by ",", blanks around them allowed.
std::optional<Placement_Pos> Parse_Placement_Pos(std::string_view text);

// Missing or damaged keys keep the defaults above; a normal rectangle without a positive width
// and height, or far outside any screen, is dropped.
Window_Placement Read_Placement(const IniFile& ini, std::string_view section);
// Writes all seven keys (NormPos only when present).
void Write_Placement(IniFile& ini, std::string_view section, const Window_Placement& placement);

} // namespace parvex

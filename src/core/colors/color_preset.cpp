#include "colors/color_preset.h"

#include "tables/color_names.h"
#include "tables/subs.h"

#include <algorithm>
#include <charconv>

namespace parvex {

namespace {

using K = Preset_Kind;

constexpr std::array<Preset_Column, Preset_Col_Count> columns{{
    {"Title", K::Name, ""},
    {"Plain P.", K::Switch, "fb_chk_PlainPanel"},
    {"PU Col 1", K::Color, "fb_EDIT_Color"},
    {"PU Col 2", K::Color, "fb_ed_Col2_U"},
    {"PU Col 3", K::Color, "fb_ed_Col3_U"},
    {"PU Hor", K::Switch, "fb_chk_Horiz_U"},
    {"PU Shade", K::Shade, "fb_shade_slider_U"},
    {"PL Col 1", K::Color, "fb_ed_Col1_L"},
    {"PL Col 2", K::Color, "fb_ed_Col2_L"},
    {"PL Col 3", K::Color, "fb_ed_Col3_L"},
    {"PL Hor", K::Switch, "fb_chk_Horiz_L"},
    {"PL Shade", K::Shade, "fb_shade_slider_L"},
    {"sw-Plain", K::Switch, "fb_chk_PText"},
    {"sw-Shadow", K::Switch, "fb_chk_PShadow"},
    {"Title", K::Color, "fb_ed_TC1"},
    {"Titl Sh", K::Color, "fb_ed_TC2"},
    {"Hint", K::Color, "fb_ed_TC3"},
    {"Hint Sh", K::Color, "fb_ed_TC4"},
    {"Label", K::Color, "fb_ed_TC5"},
    {"Label Sh", K::Color, "fb_ed_TC6"},
    {"Plain", K::Color, "fb_ed_TC7"},
    // The headers of 22 .. 28 name buttons and switches the other way round; they are part of
    // the file format and stay as they are.
    {"FontCol", K::Color, "fb_ed_btnFntCol"},
    {"Bold", K::Switch, "fb_chk_11"},
    {"transp", K::Switch, "fb_chk_10"},
    {"Btn-Bold", K::Switch, "fb_chk_04"},
    {"Btn-Trans", K::Switch, "fb_chk_02"},
    {"Btn-BG", K::Color, "fb_ed_SW_Col"},
    {"Btn-Hover", K::Switch, "fb_chk_03"},
    {"Btn-HBG", K::Color, "fb_ed_SW_HCol"},
    {"Grid-1", K::Color, "fb_ed_sg1r"},
    {"Grid-2", K::Color, "fb_ed_sg2r"},
    {"Grid-3", K::Color, "fb_ed_sgcr"},
    {"Grid-4", K::Color, "fb_ed_sgsc"},
    {"Grid-5", K::Color, "fb_ed_sged"},
    {"Grid-6", K::Color, "fb_ed_sgdg1"},
    {"Grid-7", K::Color, "fb_ed_sgdg2"},
    {"m4D", K::Mark, ""},
}};

bool is_table_name(std::string_view text) {
    const std::string lower = Lower_Ascii(text);
    for (const auto& entry : Color_Names())
        if (Lower_Ascii(entry.name) == lower)
            return true;
    return false;
}

} // namespace

const std::array<Preset_Column, Preset_Col_Count>& Preset_Columns() {
    return columns;
}

std::optional<std::uint32_t> Preset_Color(std::string_view text) {
    std::optional<std::uint32_t> value = Name_To_Color(text);
    if (!value)
        return std::nullopt;
    // A system colour or a special value is only taken by its name: "$80000005" in a cell is
    // no colour a saved preset ever holds.
    if (is_table_name(text) || (*value & 0xFF000000u) == 0)
        return value;
    return std::nullopt;
}

std::optional<int> Preset_Shade(std::string_view text) {
    if (text.empty() || text.size() > 3)
        return std::nullopt;
    int value = 0;
    auto [ptr, err] = std::from_chars(text.data(), text.data() + text.size(), value, 10);
    if (err != std::errc() || ptr != text.data() + text.size() || text.front() == '-' ||
        value > 100)
        return std::nullopt;
    return value;
}

std::optional<Preset_Fault> Check_Preset_Row(const std::vector<std::string>& cells) {
    // A short line of the file reads as a row whose last cells are empty; the delete mark may
    // have been filled in by the table since, so it does not count.
    std::size_t used = std::min(cells.size(), static_cast<std::size_t>(Preset_Mark_Col));
    while (used > 0 && cells[used - 1].empty())
        --used;
    if (used < static_cast<std::size_t>(Preset_Mark_Col))
        return Preset_Fault{-1,
                            {},
                            "the row has only " + std::to_string(used) + " of " +
                                std::to_string(Preset_Col_Count) + " cells"};
    for (int c = 1; c < Preset_Mark_Col; ++c) {
        const std::string& cell = cells[static_cast<std::size_t>(c)];
        switch (columns[static_cast<std::size_t>(c)].kind) {
        case K::Switch:
            if (cell != "True" && cell != "False")
                return Preset_Fault{c, cell, "a switch must be \"True\" or \"False\""};
            break;
        case K::Color:
            if (!Preset_Color(cell))
                return Preset_Fault{c, cell, "this is no colour"};
            break;
        case K::Shade:
            if (!Preset_Shade(cell))
                return Preset_Fault{c, cell, "a shade centre must be a number from 0 to 100"};
            break;
        case K::Name:
        case K::Mark:
            break;
        }
    }
    return std::nullopt;
}

std::string Preset_Fault_Message(std::string_view preset_name, const Preset_Fault& fault) {
    std::string text = "^C:The preset \"" + std::string(preset_name) + "\" was not loaded.\r\n";
    if (fault.column < 0)
        return text + fault.reason + ".";
    text += "Column " + std::to_string(fault.column) + " \"" +
            std::string(columns[static_cast<std::size_t>(fault.column)].header) + "\" holds \"" +
            fault.text + "\": " + fault.reason + ".";
    return text;
}

} // namespace parvex

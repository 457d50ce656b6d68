#pragma once
// The properties the frame window and the main window keep in the settings file, in the order
// they are restored and saved, with the values a window has before any settings file exists.

#include "frame/stored_property.h"

#include <array>
#include <string_view>

namespace parvex {

// The section of the main window (named after its class); both stores of that window use it.
inline constexpr std::string_view Main_Window_Section = "TForm1";

namespace stored {
constexpr Stored_Property text(std::string_view c, std::string_view p, std::string_view k,
                               std::string_view d) {
    return {c, p, k, d, Setting_Kind::Text};
}
constexpr Stored_Property color(std::string_view c, std::string_view p, std::string_view k,
                                std::string_view d) {
    return {c, p, k, d, Setting_Kind::Color};
}
constexpr Stored_Property number(std::string_view c, std::string_view p, std::string_view k,
                                 std::string_view d, int lo = INT_MIN, int hi = INT_MAX) {
    return {c, p, k, d, Setting_Kind::Number, lo, hi};
}
constexpr Stored_Property flag(std::string_view c, std::string_view p, std::string_view k, bool d) {
    return {c, p, k, d ? "True" : "False", Setting_Kind::Boolean};
}
constexpr Stored_Property page(std::string_view c, std::string_view p, std::string_view k,
                               std::string_view d) {
    return {c, p, k, d, Setting_Kind::Page};
}
} // namespace stored

// The frame's persisted properties. The days between news checks have no value of their own in
// the window (only the range 1 to 60); a week is what a first start uses here.
inline constexpr std::array<Stored_Property, 78> Frame_Stored_Properties{{
    stored::color("fb_EDIT_Color", "Text", "fb_EDIT_Color_Text", "clSilver"),
    stored::color("fb_ed_Col1_L", "Text", "fb_ed_Col1_L_Text", "clWhite"),
    stored::color("fb_ed_Col2_L", "Text", "fb_ed_Col2_L_Text", "$00FFECEC"),
    stored::color("fb_ed_Col2_U", "Text", "fb_ed_Col2_U_Text", "$00FFECEC"),
    stored::color("fb_ed_Col3_L", "Text", "fb_ed_Col3_L_Text", "clSilver"),
    stored::color("fb_ed_Col3_U", "Text", "fb_ed_Col3_U_Text", "clWhite"),
    stored::color("fb_ed_Col1_L", "Color", "fb_ed_Col1_L_Color", "clWhite"),
    stored::color("fb_EDIT_Color", "Color", "fb_EDIT_Color_Color", "clSilver"),
    stored::color("fb_ed_Col2_L", "Color", "fb_ed_Col2_L_Color", "$00FFECEC"),
    stored::color("fb_ed_Col2_U", "Color", "fb_ed_Col2_U_Color", "$00FFECEC"),
    stored::color("fb_ed_Col3_L", "Color", "fb_ed_Col3_L_Color", "clSilver"),
    stored::color("fb_ed_Col3_U", "Color", "fb_ed_Col3_U_Color", "clWhite"),
    stored::number("fb_shade_slider_L", "Value", "fb_shade_slider_L_Value", "60", 0, 100),
    stored::number("fb_shade_slider_U", "Value", "fb_shade_slider_U_Value", "25", 0, 100),
    stored::text("fb_labX_cLang", "Caption", "fb_labX_cLang_Caption", "?"),
    stored::color("fb_ed_TC1", "Color", "fb_ed_TC1_Color", "$003375FF"),
    stored::color("fb_ed_TC2", "Color", "fb_ed_TC2_Color", "clYellow"),
    stored::color("fb_ed_TC3", "Color", "fb_ed_TC3_Color", "clBlue"),
    stored::color("fb_ed_TC4", "Color", "fb_ed_TC4_Color", "clAqua"),
    stored::color("fb_ed_TC5", "Color", "fb_ed_TC5_Color", "$00000040"),
    stored::color("fb_ed_TC6", "Color", "fb_ed_TC6_Color", "$00FFFF80"),
    stored::color("fb_ed_TC7", "Color", "fb_ed_TC7_Color", "clWindowText"),
    stored::color("fb_ed_TC1", "Text", "fb_ed_TC1_Text", "$003375FF"),
    stored::color("fb_ed_TC2", "Text", "fb_ed_TC2_Text", "clYellow"),
    stored::color("fb_ed_TC3", "Text", "fb_ed_TC3_Text", "clBlue"),
    stored::color("fb_ed_TC4", "Text", "fb_ed_TC4_Text", "clAqua"),
    stored::color("fb_ed_TC5", "Text", "fb_ed_TC5_Text", "$00000040"),
    stored::color("fb_ed_TC6", "Text", "fb_ed_TC6_Text", "$00FFFF80"),
    stored::color("fb_ed_TC7", "Text", "fb_ed_TC7_Text", "clWindowText"),
    stored::page("fb_PC_GUI", "ActivePage", "fb_PC_GUI_ActivePage", "fb_pc_upgrade"),
    stored::number("fb_se_Days", "Value", "fb_se_Days_Value", "7", 1, 60),
    stored::text("fb_lab_19", "Caption", "fb_lab_19_Caption", "01.01.1980"),
    stored::color("fb_ed_sg1r", "Color", "fb_ed_sg1r_Color", "clWhite"),
    stored::color("fb_ed_sg2r", "Color", "fb_ed_sg2r_Color", "$00E4E4E4"),
    stored::color("fb_ed_sgcr", "Color", "fb_ed_sgcr_Color", "$00FFFF80"),
    stored::color("fb_ed_sged", "Color", "fb_ed_sged_Color", "clRed"),
    stored::color("fb_ed_sgsc", "Color", "fb_ed_sgsc_Color", "$00C4FCFD"),
    stored::color("fb_ed_sg1r", "Text", "fb_ed_sg1r_Text", "clWhite"),
    stored::color("fb_ed_sg2r", "Text", "fb_ed_sg2r_Text", "$00E4E4E4"),
    stored::color("fb_ed_sgcr", "Text", "fb_ed_sgcr_Text", "$00FFFF80"),
    stored::color("fb_ed_sged", "Text", "fb_ed_sged_Text", "clRed"),
    stored::color("fb_ed_sgsc", "Text", "fb_ed_sgsc_Text", "$00C4FCFD"),
    stored::color("fb_ed_sgdg1", "Color", "fb_ed_sgdg1_Color", "clBlue"),
    stored::color("fb_ed_sgdg2", "Color", "fb_ed_sgdg2_Color", "$000080FF"),
    stored::color("fb_ed_sgdg1", "Text", "fb_ed_sgdg1_Text", "clBlue"),
    stored::color("fb_ed_sgdg2", "Text", "fb_ed_sgdg2_Text", "$000080FF"),
    stored::color("fb_ed_btnFntCol", "Color", "fb_ed_btnFntCol_Color", "$00F20000"),
    stored::color("fb_ed_btnFntCol", "Text", "fb_ed_btnFntCol_Text", "$00F20000"),
    stored::color("fb_ed_SW_Col", "Color", "fb_ed_SW_Col_Color", "$00F20000"),
    stored::color("fb_ed_SW_Col", "Text", "fb_ed_SW_Col_Text", "$00F20000"),
    stored::color("fb_ed_SW_HCol", "Color", "fb_ed_SW_HCol_Color", "$00F20000"),
    stored::color("fb_ed_SW_HCol", "Text", "fb_ed_SW_HCol_Text", "$00F20000"),
    stored::flag("fb_chk_www", "Checked", "fb_chk_www_Checked", false),
    stored::flag("fb_chk_02", "Checked", "fb_chk_02_Checked", true),
    stored::flag("fb_chk_03", "Checked", "fb_chk_03_Checked", true),
    stored::flag("fb_chk_10", "Checked", "fb_chk_10_Checked", true),
    stored::flag("fb_chk_11", "Checked", "fb_chk_11_Checked", true),
    stored::flag("fb_chk_PShadow", "Checked", "fb_chk_PShadow_Checked", false),
    stored::flag("fb_chk_PText", "Checked", "fb_chk_PText_Checked", false),
    stored::flag("fb_chk_Speaker", "Checked", "fb_chk_Speaker_Checked", true),
    stored::flag("fb_chk_PlainPanel", "Checked", "fb_chk_PlainPanel_Checked", true),
    stored::flag("fb_chk_Horiz_L", "Checked", "fb_chk_Horiz_L_Checked", false),
    stored::flag("fb_chk_Horiz_U", "Checked", "fb_chk_Horiz_U_Checked", false),
    stored::flag("fb_chk_04", "Checked", "fb_chk_04_Checked", true),
    stored::flag("fb_chk_12", "Checked", "fb_chk_12_Checked", true),
    stored::flag("fb_chk_13", "Checked", "fb_chk_13_Checked", true),
    stored::flag("fb_chk_14", "Checked", "fb_chk_14_Checked", false),
    stored::number("fb_cnt_T01", "Value", "fb_cnt_T01_Value", "60", 1, 999),
    stored::number("fb_cnt_T02", "Value", "fb_cnt_T02_Value", "128", 64, 255),
    stored::number("fb_cnt_T03", "Value", "fb_cnt_T03_Value", "50", 1, 1000),
    stored::flag("fb_chk_logALL", "Checked", "fb_chk_logALL_Checked", true),
    stored::number("se_LogLines", "Value", "se_LogLines_Value", "99"),
    stored::page("fb_PC", "ActivePage", "fb_PC_ActivePage", "fb_pcGUI"),
    stored::text("fb_DE_GData", "Text", "fb_DE_GData_Text", ""),
    stored::text("fb_DE_GHelp", "Text", "fb_DE_GHelp_Text", ""),
    stored::text("fb_DE_GLang", "Text", "fb_DE_GLang_Text", ""),
    stored::text("fb_DE_GPics", "Text", "fb_DE_GPics_Text", ""),
    stored::text("fb_DE_GSnds", "Text", "fb_DE_GSnds_Text", ""),
}};

// The main window's own store (same file, same section).
inline constexpr std::array<Stored_Property, 24> Main_Stored_Properties{{
    stored::page("PC", "ActivePage", "PC_ActivePage", "PC_Work"),
    stored::page("PCW", "ActivePage", "PCW_ActivePage", "pcw_Work"),
    stored::number("GP_KA", "Width", "GP_KA_Width", "202", 0),
    stored::number("GP10", "Width", "GP10_Width", "306", 0),
    stored::text("fne_SRC", "Text", "fne_SRC_Text", ""),
    stored::text("ed_ext_1", "Text", "ed_ext_1_Text", "pas"),
    stored::text("ed_ext_2", "Text", "ed_ext_2_Text", "pas-SAVED"),
    stored::text("ed_ext_3", "Text", "ed_ext_3_Text", "Alpha-Constants"),
    stored::text("ed_ext_4", "Text", "ed_ext_4_Text", "Numeric-Constats"),
    stored::text("ed_ext_5", "Text", "ed_ext_5_Text", "Alpha-Cross-Ref"),
    stored::text("ed_ext_6", "Text", "ed_ext_6_Text", "Numeric-Cross-Ref"),
    stored::text("ed_ext_7", "Text", "ed_ext_7_Text", "Token-Cross-Ref"),
    stored::flag("chk_ext_1", "Checked", "chk_ext_1_Checked", true),
    stored::flag("chk_ext_2", "Checked", "chk_ext_2_Checked", true),
    stored::flag("chk_ext_3", "Checked", "chk_ext_3_Checked", true),
    stored::flag("chk_ext_4", "Checked", "chk_ext_4_Checked", true),
    stored::flag("chk_ext_5", "Checked", "chk_ext_5_Checked", true),
    stored::flag("chk_ext_6", "Checked", "chk_ext_6_Checked", true),
    stored::flag("chk_ext_7", "Checked", "chk_ext_7_Checked", true),
    stored::flag("chk_col_A", "Checked", "chk_col_A_Checked", true),
    stored::flag("chk_col_N", "Checked", "chk_col_N_Checked", true),
    stored::flag("chk_col_T", "Checked", "chk_col_T_Checked", true),
    stored::number("rg_Case", "ItemIndex", "rg_Case_ItemIndex", "-1", -1, 3),
    stored::number("rg_Backup", "ItemIndex", "rg_Backup_ItemIndex", "0", 0, 2),
}};

static_assert(All_Keys_Match(Frame_Stored_Properties));
static_assert(All_Keys_Match(Main_Stored_Properties));

// The entry of `key` (exact spelling) in a table, or nullptr.
template <typename Table>
constexpr const Stored_Property* Find_Stored_Property(const Table& table, std::string_view key) {
    for (const auto& p : table)
        if (p.key == key)
            return &p;
    return nullptr;
}

} // namespace parvex

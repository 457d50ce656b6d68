// The rows of "Predef.dat": which cells a preset may hold, and the whole-row check that keeps a
// damaged preset from changing anything.
#include "colors/color_preset.h"

#include <gtest/gtest.h>

using namespace parvex;

namespace {

std::vector<std::string> classic_row() {
    return {"Classic",   "True",      "clSilver",     "$00FFECEC", "clWhite",   "False",
            "25",        "clWhite",   "$00FFECEC",    "clSilver",  "False",     "60",
            "False",     "False",     "$003375FF",    "clYellow",  "clBlue",    "clAqua",
            "$00000040", "$00FFFF80", "clWindowText", "$00F20000", "True",      "True",
            "True",      "True",      "$00F20000",    "True",      "$00F20000", "clWhite",
            "$00E4E4E4", "$00FFFF80", "$00C4FCFD",    "clRed",     "clBlue",    "$000080FF",
            "False"};
}

} // namespace

TEST(ColorPreset, ColumnsFollowTheFileFormat) {
    const auto& cols = Preset_Columns();
    EXPECT_EQ(cols[0].header, "Title");
    EXPECT_EQ(cols[14].header, "Title"); // the title font colour shares the name column's header
    EXPECT_EQ(cols[22].component, "fb_chk_11"); // "Bold" holds the buttons' setting
    EXPECT_EQ(cols[24].component, "fb_chk_04"); // "Btn-Bold" holds the switches' setting
    EXPECT_EQ(cols[32].component, "fb_ed_sgsc");
    EXPECT_EQ(cols[33].component, "fb_ed_sged");
    EXPECT_EQ(cols[36].header, "m4D");
    int colors = 0, switches = 0, shades = 0;
    for (const auto& c : cols) {
        colors += c.kind == Preset_Kind::Color;
        switches += c.kind == Preset_Kind::Switch;
        shades += c.kind == Preset_Kind::Shade;
    }
    EXPECT_EQ(colors, 23);
    EXPECT_EQ(switches, 10);
    EXPECT_EQ(shades, 2);
}

TEST(ColorPreset, ColourCells) {
    struct Case {
        const char* text;
        std::optional<std::uint32_t> value;
    } cases[] = {
        {"clRed", 0x000000FF},       {"CLWINDOWTEXT", 0x80000008}, {"clNone", 0x1FFFFFFF},
        {"$000080FF", 0x000080FF},   {"$0080ff", 0x000080FF},      {"255", 0x000000FF},
        {"$80000005", std::nullopt}, // a system colour only by its name
        {"$FF000000", std::nullopt}, {"-1", std::nullopt},         {"clPink", std::nullopt},
        {"", std::nullopt},          {"$", std::nullopt},          {"$1234567890", std::nullopt},
        {"red", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Preset_Color(c.text), c.value) << c.text;
}

TEST(ColorPreset, ShadeCells) {
    struct Case {
        const char* text;
        std::optional<int> value;
    } cases[] = {{"0", 0},
                 {"25", 25},
                 {"100", 100},
                 {"101", std::nullopt},
                 {"-1", std::nullopt},
                 {"", std::nullopt},
                 {"2a", std::nullopt},
                 {"+5", std::nullopt},
                 {" 5", std::nullopt}};
    for (const auto& c : cases)
        EXPECT_EQ(Preset_Shade(c.text), c.value) << c.text;
}

TEST(ColorPreset, RowCheckFindsTheFirstFaultAndNamesItsColumn) {
    EXPECT_FALSE(Check_Preset_Row(classic_row()));
    struct Case {
        int col;
        const char* cell;
    } faults[] = {{1, "true"},    {5, "Yes"},        {6, "150"}, {11, "x"},
                  {14, "clPink"}, {20, "$8000000F"}, {35, "x"},  {28, "clBlue|"}};
    for (const auto& f : faults) {
        auto row = classic_row();
        row[static_cast<std::size_t>(f.col)] = f.cell;
        std::optional<Preset_Fault> fault = Check_Preset_Row(row);
        ASSERT_TRUE(fault) << f.col;
        EXPECT_EQ(fault->column, f.col);
        EXPECT_EQ(fault->text, f.cell);
    }
    // Name and delete mark are free text.
    auto row = classic_row();
    row[0] = "";
    row[36] = "whatever";
    EXPECT_FALSE(Check_Preset_Row(row));
}

TEST(ColorPreset, ShortRowAndMessages) {
    auto row = classic_row();
    row.resize(12);
    std::optional<Preset_Fault> fault = Check_Preset_Row(row);
    ASSERT_TRUE(fault);
    EXPECT_EQ(fault->column, -1);
    EXPECT_EQ(Preset_Fault_Message("Mine", *fault),
              "^C:The preset \"Mine\" was not loaded.\r\nthe row has only 12 of 37 cells.");

    row = classic_row();
    row[16] = "blue-ish";
    fault = Check_Preset_Row(row);
    ASSERT_TRUE(fault);
    EXPECT_EQ(Preset_Fault_Message("Mine", *fault),
              "^C:The preset \"Mine\" was not loaded.\r\nColumn 16 \"Hint\" holds \"blue-ish\": "
              "this is no colour.");
}

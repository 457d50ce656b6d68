#include "frame/frame_settings.h"
#include "frame/settings_store.h"

#include "tables/subs.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

using namespace parvex;
using parvex::test::TempDir;

TEST(FrameSettings, TablesHoldEveryPropertyInOrderWithItsDefault) {
    ASSERT_EQ(Frame_Stored_Properties.size(), 78u);
    ASSERT_EQ(Main_Stored_Properties.size(), 24u);
    struct Row {
        std::size_t index;
        const char* key;
        const char* value;
    } frame_rows[] = {
        {0, "fb_EDIT_Color_Text", "clSilver"},
        {5, "fb_ed_Col3_U_Text", "clWhite"},
        {6, "fb_ed_Col1_L_Color", "clWhite"},
        {7, "fb_EDIT_Color_Color", "clSilver"},
        {12, "fb_shade_slider_L_Value", "60"},
        {13, "fb_shade_slider_U_Value", "25"},
        {14, "fb_labX_cLang_Caption", "?"},
        {15, "fb_ed_TC1_Color", "$003375FF"},
        {21, "fb_ed_TC7_Color", "clWindowText"},
        {28, "fb_ed_TC7_Text", "clWindowText"},
        {29, "fb_PC_GUI_ActivePage", "fb_pc_upgrade"},
        {31, "fb_lab_19_Caption", "01.01.1980"},
        {32, "fb_ed_sg1r_Color", "clWhite"}, // text and value of a colour edit agree
        {37, "fb_ed_sg1r_Text", "clWhite"},
        {43, "fb_ed_sgdg2_Color", "$000080FF"},
        {45, "fb_ed_sgdg2_Text", "$000080FF"},
        {46, "fb_ed_btnFntCol_Color", "$00F20000"},
        {51, "fb_ed_SW_HCol_Text", "$00F20000"},
        {52, "fb_chk_www_Checked", "False"},
        {57, "fb_chk_PShadow_Checked", "False"},
        {59, "fb_chk_Speaker_Checked", "True"},
        {62, "fb_chk_Horiz_U_Checked", "False"},
        {66, "fb_chk_14_Checked", "False"},
        {67, "fb_cnt_T01_Value", "60"},
        {68, "fb_cnt_T02_Value", "128"},
        {69, "fb_cnt_T03_Value", "50"},
        {70, "fb_chk_logALL_Checked", "True"},
        {71, "se_LogLines_Value", "99"},
        {72, "fb_PC_ActivePage", "fb_pcGUI"},
        {73, "fb_DE_GData_Text", ""},
        {77, "fb_DE_GSnds_Text", ""},
    };
    for (const auto& r : frame_rows) {
        EXPECT_EQ(Frame_Stored_Properties[r.index].key, r.key) << r.index;
        EXPECT_EQ(Frame_Stored_Properties[r.index].default_value, r.value) << r.key;
    }
    Row main_rows[] = {
        {0, "PC_ActivePage", "PC_Work"},
        {1, "PCW_ActivePage", "pcw_Work"},
        {2, "GP_KA_Width", "202"},
        {3, "GP10_Width", "306"},
        {4, "fne_SRC_Text", ""},
        {5, "ed_ext_1_Text", "pas"},
        {8, "ed_ext_4_Text", "Numeric-Constats"},
        {11, "ed_ext_7_Text", "Token-Cross-Ref"},
        {12, "chk_ext_1_Checked", "True"},
        {21, "chk_col_T_Checked", "True"},
        {22, "rg_Case_ItemIndex", "-1"},
        {23, "rg_Backup_ItemIndex", "0"},
    };
    for (const auto& r : main_rows) {
        EXPECT_EQ(Main_Stored_Properties[r.index].key, r.key) << r.index;
        EXPECT_EQ(Main_Stored_Properties[r.index].default_value, r.value) << r.key;
    }
}

TEST(FrameSettings, KeysAreDistinctInTheSharedSectionAndDefaultsAreUsable) {
    // Both stores write one section whose keys are matched without regard to case.
    std::set<std::string> keys;
    auto check = [&](const auto& table) {
        for (const auto& p : table) {
            EXPECT_TRUE(keys.insert(Upper_Ascii(p.key)).second) << p.key;
            EXPECT_EQ(Checked_Setting(p, std::string(p.default_value)), p.default_value) << p.key;
            EXPECT_EQ(Find_Stored_Property(table, p.key), &p);
        }
    };
    check(Frame_Stored_Properties);
    check(Main_Stored_Properties);
    EXPECT_EQ(Find_Stored_Property(Frame_Stored_Properties, "PC_ActivePage"), nullptr);
}

TEST(SettingsStore, CheckedSettingFallsBackOnDamage) {
    const Stored_Property fade = {
        "fb_cnt_T02", "Value", "fb_cnt_T02_Value", "128", Setting_Kind::Number, 64, 255};
    const Stored_Property flag = {"fb_chk_www", "Checked", "fb_chk_www_Checked", "True",
                                  Setting_Kind::Boolean};
    const Stored_Property text = {"fne_SRC", "Text", "fne_SRC_Text", "", Setting_Kind::Text};
    struct Case {
        const Stored_Property* p;
        std::optional<std::string> stored;
        const char* expected;
    } cases[] = {
        {&fade, std::nullopt, "128"},
        {&fade, "200", "200"},
        {&fade, " 70 ", "70"},
        {&fade, "12", "64"},
        {&fade, "99999", "255"},
        {&fade, "-5", "64"},
        {&fade, "", "128"},
        {&fade, "1e3", "128"},
        {&fade, "99999999999", "128"},
        {&flag, "False", "False"},
        {&flag, "True", "True"},
        {&flag, "false", "True"},
        {&flag, "", "True"},
        {&flag, std::nullopt, "True"},
        {&text, "  a b ", "  a b "},
        {&text, "", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Checked_Setting(*c.p, c.stored), c.expected)
            << c.p->key << " <- " << c.stored.value_or("(none)");
}

TEST(SettingsStore, MissingFileGivesEveryDefault) {
    TempDir tmp;
    Settings_Read r = Load_Settings(tmp.dir() + "parvex.INI", "TForm1", Frame_Stored_Properties);
    EXPECT_TRUE(r.status);
    EXPECT_EQ(r.values, Default_Settings(Frame_Stored_Properties));
    EXPECT_EQ(r.values.size(), 78u);
    EXPECT_EQ(r.placement, Window_Placement{});
}

TEST(SettingsStore, DamagedFileGivesWhatCanBeReadAndDefaultsForTheRest) {
    TempDir tmp;
    using namespace std::string_literals;
    tmp.write("parvex.INI", "[TForm1]\r\n"
                            "fb_cnt_T03_Value=0\r\n" // below the range
                            "fb_chk_14_Checked=True\r\n"
                            "fb_chk_www_Checked=maybe\r\n"
                            "\0\x01\x02 junk\r\n"
                            "fb_labX_cLang_Caption=Deutsch\r\n"
                            "fb_se_Days_Value=abc\r\n"
                            "[TForm1\r\n"
                            "fb_lab_19_Caption=31.12.2001\r\n"s);
    Settings_Read r = Load_Settings(tmp.dir() + "parvex.INI", "TForm1", Frame_Stored_Properties);
    EXPECT_TRUE(r.status);
    EXPECT_EQ(r.values["fb_cnt_T03_Value"], "1");
    EXPECT_EQ(r.values["fb_chk_14_Checked"], "True");
    EXPECT_EQ(r.values["fb_chk_www_Checked"], "False");
    EXPECT_EQ(r.values["fb_labX_cLang_Caption"], "Deutsch");
    EXPECT_EQ(r.values["fb_se_Days_Value"], "7");
    EXPECT_EQ(r.values["fb_lab_19_Caption"], "01.01.1980");
    EXPECT_EQ(r.values["fb_PC_ActivePage"], "fb_pcGUI");
}

TEST(SettingsStore, UnreadableFileGivesDefaultsThenIsRewrittenWhole) {
    TempDir tmp;
    const std::string name = tmp.dir() + "parvex.INI";
    std::filesystem::create_directory(name);
    Settings_Read r = Load_Settings(name, "TForm1", Main_Stored_Properties);
    EXPECT_FALSE(r.status);
    EXPECT_EQ(r.values, Default_Settings(Main_Stored_Properties));
    // A folder in the way cannot be replaced: the save says so instead of claiming success.
    EXPECT_FALSE(Save_Settings(name, "TForm1", Main_Stored_Properties, r.values));
}

TEST(SettingsStore, SaveReplacesInPlaceKeepsTheRestAndAppendsInTableOrder) {
    TempDir tmp;
    const std::string name = tmp.dir() + "parvex.INI";
    tmp.write("parvex.INI", "; kept\r\n"
                            "[TForm1]\r\n"
                            "fb_CHK_www_checked=True\r\n"
                            "Unknown_Key=stays\r\n"
                            "fb_PC_ActivePage=fb_pcAbout\r\n"
                            "\r\n"
                            "[Language]\r\n"
                            "Form1=x.Lng\r\n");
    Setting_Values values = Default_Settings(Frame_Stored_Properties);
    values["fb_chk_www_Checked"] = "False";
    values["fb_PC_ActivePage"] = "fb_pcCredits";
    ASSERT_TRUE(Save_Settings(name, "TForm1", Frame_Stored_Properties, values));

    TextList lines = Split_Lines(tmp.read("parvex.INI"));
    ASSERT_EQ(lines.size(), 8u + 76u);
    EXPECT_EQ(lines[0], "; kept");
    EXPECT_EQ(lines[2], "fb_CHK_www_checked=False");
    EXPECT_EQ(lines[3], "Unknown_Key=stays");
    EXPECT_EQ(lines[4], "fb_PC_ActivePage=fb_pcCredits");
    EXPECT_EQ(lines[5], "fb_EDIT_Color_Text=clSilver"); // the first new key, then the others
    EXPECT_EQ(lines[80], "fb_DE_GSnds_Text=");
    EXPECT_EQ(lines[81], "");
    EXPECT_EQ(lines[82], "[Language]");
    EXPECT_EQ(lines[83], "Form1=x.Lng");
}

TEST(SettingsStore, BothStoresAndThePlacementRoundTripThroughOneSection) {
    TempDir tmp;
    const std::string name = tmp.dir() + "parvex.INI";
    Setting_Values main = Default_Settings(Main_Stored_Properties);
    main["fne_SRC_Text"] = " /tmp/with blank/Unit1.pas";
    main["rg_Case_ItemIndex"] = "3";
    main["PCW_ActivePage"] = "pcw_Check";
    Setting_Values frame = Default_Settings(Frame_Stored_Properties);
    frame["fb_DE_GData_Text"] = "/srv/gui=data;x";
    frame["fb_cnt_T01_Value"] = "999";
    frame["fb_chk_PText_Checked"] = "True";
    Window_Placement placement;
    placement.norm_pos = Placement_Pos{10, 20, 810, 620};
    placement.show_cmd = 3;

    ASSERT_TRUE(Save_Settings(name, "TForm1", Main_Stored_Properties, main));
    ASSERT_TRUE(Save_Settings(name, "TForm1", Frame_Stored_Properties, frame, &placement));
    std::string bytes = tmp.read("parvex.INI");
    EXPECT_EQ(bytes.rfind("[TForm1]\r\nPC_ActivePage=PC_Work\r\n", 0), 0u);
    EXPECT_NE(bytes.find("rg_Case_ItemIndex=3\r\nrg_Backup_ItemIndex=0\r\nFormVersion=0\r\n"),
              std::string::npos);

    Settings_Read m = Load_Settings(name, "TForm1", Main_Stored_Properties);
    Settings_Read f = Load_Settings(name, "TForm1", Frame_Stored_Properties);
    EXPECT_EQ(m.values, main);
    EXPECT_EQ(f.values, frame);
    EXPECT_EQ(f.placement, placement);

    // A second save of the same values changes nothing.
    ASSERT_TRUE(Save_Settings(name, "TForm1", Frame_Stored_Properties, frame, &placement));
    EXPECT_EQ(tmp.read("parvex.INI"), bytes);
}

TEST(SettingsStore, LineBreakInAValueIsRefusedAndNamedTheOthersAreStored) {
    IniFile ini = IniFile::parse("[TForm1]\r\nfne_SRC_Text=old.pas\r\n");
    Setting_Values values = Default_Settings(Main_Stored_Properties);
    values["fne_SRC_Text"] = "a\r\n[Evil]\r\nx=y";
    values["ed_ext_1_Text"] = "pp";
    FileResult r = Write_Settings(ini, "TForm1", Main_Stored_Properties, values);
    EXPECT_FALSE(r);
    EXPECT_NE(r.error.find("fne_SRC_Text"), std::string::npos);
    EXPECT_EQ(ini.value("TForm1", "fne_SRC_Text"), "old.pas");
    EXPECT_EQ(ini.value("TForm1", "ed_ext_1_Text"), "pp");
    EXPECT_FALSE(ini.has_section("Evil"));
}

TEST(SettingsStore, DamagedFileIsWrittenWholeAtCloseAndReadsCleanlyNextTime) {
    using namespace std::string_literals;
    TempDir tmp;
    const std::string name = tmp.dir() + "parvex.INI";
    tmp.write("parvex.INI",
              "\xff\xfe[\0T\0F\0o\0r\0m\0001\0]\0\r\0\n\0[TForm1\nfb_chk_14_Checked"s);
    Settings_Read first = Load_Settings(name, "TForm1", Frame_Stored_Properties);
    ASSERT_TRUE(first.status);
    EXPECT_EQ(first.values, Default_Settings(Frame_Stored_Properties));

    first.values["fb_chk_14_Checked"] = "True";
    ASSERT_TRUE(Save_Settings(name, "TForm1", Frame_Stored_Properties, first.values));
    Settings_Read second = Load_Settings(name, "TForm1", Frame_Stored_Properties);
    EXPECT_EQ(second.values, first.values);
}

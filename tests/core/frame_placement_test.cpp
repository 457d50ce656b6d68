#include "frame/window_placement.h"

#include <gtest/gtest.h>

using namespace parvex;

TEST(FramePlacement, ParsesExactlyFourIntegers) {
    struct Case {
        const char* text;
        std::optional<Placement_Pos> pos;
    } cases[] = {
        {"1,2,3,4", Placement_Pos{1, 2, 3, 4}},
        {" -1 , -1,-1, -1 ", Placement_Pos{-1, -1, -1, -1}},
        {"1,2,3", std::nullopt},
        {"1,2,3,4,5", std::nullopt},
        {"1,,3,4", std::nullopt},
        {"a,2,3,4", std::nullopt},
        {"", std::nullopt},
        {"1,2,3,99999999999", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Parse_Placement_Pos(c.text), c.pos) << c.text;
    EXPECT_EQ(Format_Placement_Pos({0, -5, 640, 480}), "0,-5,640,480");
}

TEST(FramePlacement, DamagedKeysKeepTheirDefaults) {
    IniFile ini = IniFile::parse("[TForm1]\n"
                                 "FormVersion=x\n"
                                 "Flags=2\n"
                                 "ShowCmd=77\n"
                                 "PixelsPerInch=0\n"
                                 "MinMaxPos=1,2\n"
                                 "NormPos=100,100,50,400\n" // right left of left
                                 "Visible=True\n");
    Window_Placement p = Read_Placement(ini, "tform1");
    EXPECT_EQ(p.form_version, 0);
    EXPECT_EQ(p.flags, 2);
    EXPECT_EQ(p.show_cmd, 1);
    EXPECT_EQ(p.pixels_per_inch, 96);
    EXPECT_EQ(p.min_max_pos, (Placement_Pos{-1, -1, -1, -1}));
    EXPECT_EQ(p.norm_pos, std::nullopt);
    EXPECT_TRUE(p.visible);

    IniFile far = IniFile::parse("[S]\nNormPos=0,0,5000000,480\n");
    EXPECT_EQ(Read_Placement(far, "S").norm_pos, std::nullopt);
}

TEST(FramePlacement, WritesAllKeysInOrderAndReadsThemBack) {
    Window_Placement p;
    p.norm_pos = Placement_Pos{8, 30, 808, 630};
    p.visible = true;
    IniFile ini;
    Write_Placement(ini, "TForm1", p);
    EXPECT_EQ(ini.text(), "[TForm1]\r\nFormVersion=0\r\nFlags=0\r\nShowCmd=1\r\n"
                          "PixelsPerInch=96\r\nMinMaxPos=-1,-1,-1,-1\r\nNormPos=8,30,808,630\r\n"
                          "Visible=True\r\n");
    EXPECT_EQ(Read_Placement(ini, "TForm1"), p);
}

#include "frame/frame_caption.h"
#include "frame/log_view.h"
#include "frame/setup_log.h"

#include <gtest/gtest.h>

using namespace parvex;

TEST(FrameCaption, SetCaptionTitleVersionAndStatus) {
    Caption_Items c;
    EXPECT_EQ(Caption_Text(c), "Test   Version [ 01-02-03-1234 ]   ");

    Set_Caption(c, "", "", "Zivadu-Zedu Parvex");
    EXPECT_EQ(Caption_Text(c), "  Zivadu-Zedu Parvex   Version [ 02.06.28.2149 ]   ");

    Set_Caption(c, "", "00:00:07", "Zivadu-Zedu Parvex");
    EXPECT_EQ(c.items[Caption_Items::Status], "00:00:07");
    Set_Caption(c, "", "", "Zivadu-Zedu Parvex"); // an empty status leaves it
    EXPECT_EQ(c.items[Caption_Items::Status], "00:00:07");
    Set_Caption(c, "My Title", " ", "Zivadu-Zedu Parvex"); // one blank clears it
    EXPECT_EQ(c.items[Caption_Items::Status], "");
    EXPECT_EQ(c.items[Caption_Items::Title], "My Title");
    EXPECT_EQ(Program_Version, "02.06.28.2149");
}

TEST(FrameSetupLog, ChangedSetupTexts) {
    EXPECT_EQ(Changed_Setup_Title, "Changed SetUp");
    EXPECT_EQ(Setup_Switch_Text(Logged_Switch::Log_All, true), "LogFile=True");
    EXPECT_EQ(Setup_Switch_Text(Logged_Switch::Log_All, false), "LogFile=False");
    EXPECT_EQ(Setup_Switch_Text(Logged_Switch::Speaker, false), "use Sound=False");
    EXPECT_EQ(Setup_Switch_Text(Logged_Switch::News, true), "check Upgrade=True");
    EXPECT_EQ(Color_Setup_Text(true, "Ocean Blue"), "Save Color-SetUp=Ocean Blue");
    EXPECT_EQ(Color_Setup_Text(false, ""), "Load Color-SetUp=");
}

TEST(FrameCaption, WindowTitleNamesTheProgramOnce) {
    Caption_Items c;
    Set_Caption(c, "", " ", "Zivadu-Zedu Parvex");
    const std::string dash = " \u2014 ";
    struct Case {
        std::string title, status, display, expected;
    };
    const Case cases[] = {
        {"", " ", "Zivadu-Zedu Parvex", "Version [ 02.06.28.2149 ]" + dash + "Zivadu-Zedu Parvex"},
        {"", "working 00:00:05", "Zivadu-Zedu Parvex",
         "Version [ 02.06.28.2149 ]   working 00:00:05" + dash + "Zivadu-Zedu Parvex"},
        // Another title: the desktop adds the name itself.
        {"Check", " ", "Zivadu-Zedu Parvex", "Check   Version [ 02.06.28.2149 ]"},
        // No display name: the caption as drawn.
        {"", " ", "", "Zivadu-Zedu Parvex   Version [ 02.06.28.2149 ]"},
    };
    for (const Case& k : cases) {
        Set_Caption(c, k.title, k.status, "Zivadu-Zedu Parvex");
        const std::string t = Window_Title(c, k.display);
        EXPECT_EQ(t, k.expected) << k.title << "|" << k.status;
        EXPECT_EQ(t.find("Zivadu-Zedu Parvex"), t.rfind("Zivadu-Zedu Parvex"));
    }
}

TEST(FrameLogView, TabsBecomeColumnsThatNeverTouch) {
    struct Case {
        std::string line, shown;
    };
    const Case cases[] = {
        {"", ""},
        {"no tabs", "no tabs"},
        {"working\t... collecting data ...", "working         ... collecting data ..."},
        {"1234567\tx", "1234567         x"}, // one blank would be too few: the next stop
        {"123456\tx", "123456  x"},
        {"12345678\tx", "12345678        x"},
        {"\tx", "        x"},
        {"a\t\tb", "a       "
                   "        b"},
    };
    for (const Case& k : cases)
        EXPECT_EQ(Log_View_Line(k.line), k.shown) << k.line;
}

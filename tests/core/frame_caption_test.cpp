#include "frame/frame_caption.h"
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

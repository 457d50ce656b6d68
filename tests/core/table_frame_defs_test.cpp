#include "tables/subs.h"
#include "tables/table_frame_defs.h"

#include <gtest/gtest.h>

using namespace parvex;

TEST(TableFrameDefs, RecordsAreConsistentAndLiveInTheirFolders) {
    struct Case {
        Frame_Table table;
        const char* name;
        const char* file;
        int cols, sort_col, delete_col;
    } cases[] = {
        {Frame_Table::Predef, "fb_SG_Predef", "D/Predef.dat", 37, 0, 36},
        {Frame_Table::Sound, "fb_SG_Sound", "D/Sounds.dat", 7, 2, 6},
        {Frame_Table::SpS, "fb_sg_SpS", "D/SpS.dat", 4, 0, 3},
        {Frame_Table::VE, "fb_sg_VE", "G/VE.dat", 2, -1, -1},
        {Frame_Table::News, "fb_SG_News", "D/HP-News.dat", 8, 2, 7},
        {Frame_Table::Trans, "fb_SG_Trans", "G/Translate.Tmp", 5, 1, 0},
        {Frame_Table::Lang, "fb_sg_Lang", "D/Language.dat", 4, 2, 3},
        {Frame_Table::Test, "fb_SG_test", "D/Language.dat", 4, 0, 3},
    };
    ASSERT_EQ(std::size(cases), std::size(All_Frame_Tables));
    for (const auto& c : cases) {
        SG_Rec rec = Frame_Table_Rec(c.table, "D/", "G/");
        EXPECT_STREQ(Frame_Table_Name(c.table), c.name);
        EXPECT_EQ(rec.File_Name, c.file) << c.name;
        EXPECT_EQ(rec.Col_Count, c.cols) << c.name;
        EXPECT_EQ(rec.Sort_Col, c.sort_col) << c.name;
        EXPECT_EQ(rec.Delete_Col, c.delete_col) << c.name;
        EXPECT_EQ(static_cast<int>(rec.Col_Types.size()), c.cols) << c.name;
        EXPECT_EQ(static_cast<int>(rec.Col_Aligns.size()), c.cols) << c.name;
        EXPECT_EQ(Extract_Word(c.cols, rec.Col_Widths, "|").empty(), false) << c.name;
        EXPECT_EQ(Extract_Word(c.cols + 1, rec.Col_Widths, "|"), "") << c.name;
        if (c.delete_col >= 0 && c.table != Frame_Table::Trans) {
            EXPECT_EQ(Extract_Word(c.delete_col + 1, rec.Col_Heads, "|"), "m4D") << c.name;
            EXPECT_EQ(rec.Col_Types[static_cast<std::size_t>(c.delete_col)], 'L') << c.name;
        }
    }
}

#include "frame/frame_tables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

using namespace parvex;

namespace {

std::size_t fields(std::string_view s) {
    return static_cast<std::size_t>(std::count(s.begin(), s.end(), '|')) + 1;
}

} // namespace

TEST(FrameTables, EightTablesInStartUpOrder) {
    std::vector<std::string_view> names;
    for (const auto& t : Frame_Tables)
        names.push_back(t.grid_name);
    EXPECT_EQ(names, (std::vector<std::string_view>{"fb_SG_Predef", "fb_SG_Sound", "fb_sg_SpS",
                                                    "fb_sg_VE", "fb_SG_News", "fb_SG_Trans",
                                                    "fb_sg_Lang", "fb_SG_test"}));
}

TEST(FrameTables, EveryDescriptionAgreesWithItsColumnCount) {
    for (const auto& t : Frame_Tables) {
        const auto n = static_cast<std::size_t>(t.col_count);
        EXPECT_EQ(t.col_types.size(), n) << t.grid_name;
        EXPECT_EQ(t.col_aligns.size(), n) << t.grid_name;
        EXPECT_EQ(fields(t.col_heads), n) << t.grid_name;
        EXPECT_EQ(fields(t.col_widths), n) << t.grid_name;
        EXPECT_LT(t.sort_col, t.col_count) << t.grid_name;
        EXPECT_LT(t.delete_col, t.col_count) << t.grid_name;
        if (t.delete_col >= 0 && t.grid_name != "fb_SG_Trans") {
            EXPECT_EQ(t.col_types[static_cast<std::size_t>(t.delete_col)], 'L') << t.grid_name;
            EXPECT_TRUE(t.col_heads.ends_with("|m4D")) << t.grid_name;
        }
    }
}

TEST(FrameTables, DescriptionsAsTheStartUpGivesThem) {
    const Frame_Table_Def* predef = Find_Frame_Table("fb_SG_Predef");
    ASSERT_NE(predef, nullptr);
    EXPECT_EQ(predef->col_count, 37);
    EXPECT_EQ(predef->delete_col, 36);
    EXPECT_TRUE(predef->col_heads.starts_with("Title|Plain P.|PU Col 1|"));
    EXPECT_NE(predef->col_heads.find("|Btn-HBG|Grid-1|"), std::string_view::npos);

    const Frame_Table_Def* news = Find_Frame_Table("fb_SG_News");
    ASSERT_NE(news, nullptr);
    EXPECT_EQ(news->col_heads, "Nr.|Program|Version|Action|from|to|what's up|m4D");
    EXPECT_EQ(news->col_widths, "40|99|99|80|300|300|290|40");
    EXPECT_EQ(news->startup, Table_Startup::Load_Purge_Sort_Desc);
    EXPECT_EQ(news->startup_col, 2);

    const Frame_Table_Def* ve = Find_Frame_Table("fb_sg_VE");
    ASSERT_NE(ve, nullptr);
    EXPECT_EQ(ve->startup, Table_Startup::Clear_Six_Rows);
    EXPECT_EQ(ve->sort_col, -1);
    EXPECT_EQ(ve->delete_col, -1);

    const Frame_Table_Def* lang = Find_Frame_Table("fb_sg_Lang");
    const Frame_Table_Def* test = Find_Frame_Table("fb_SG_test");
    ASSERT_TRUE(lang && test);
    EXPECT_EQ(lang->startup, Table_Startup::Load_Sort_By_Type_Desc);
    EXPECT_EQ(lang->sort_col, 2);
    EXPECT_EQ(test->sort_col, 0);
    EXPECT_EQ(test->startup, Table_Startup::Load_Only);
    EXPECT_EQ(test->file, lang->file);
    EXPECT_EQ(test->col_heads, lang->col_heads);

    EXPECT_EQ(Find_Frame_Table("fb_sg_lang"), nullptr); // grid names are exact
}

TEST(FrameTables, DataFolderOverrideMovesAllButVersionHistoryAndTranslations) {
    const std::string data = "/srv/shared/", gui = "/opt/p/GUI/Data/";
    struct Case {
        const char* grid;
        std::string file;
    } cases[] = {
        {"fb_SG_Predef", data + "Predef.dat"}, {"fb_SG_Sound", data + "Sounds.dat"},
        {"fb_sg_SpS", data + "SpS.dat"},       {"fb_sg_VE", gui + "VE.dat"},
        {"fb_SG_News", data + "HP-News.dat"},  {"fb_SG_Trans", gui + "Translate.Tmp"},
        {"fb_sg_Lang", data + "Language.dat"}, {"fb_SG_test", data + "Language.dat"},
    };
    for (const auto& c : cases) {
        const Frame_Table_Def* t = Find_Frame_Table(c.grid);
        ASSERT_NE(t, nullptr) << c.grid;
        EXPECT_EQ(Frame_Table_File(*t, data, gui), c.file) << c.grid;
    }
}

TEST(FrameTables, TheCloseStepSavesFourKnownTables) {
    EXPECT_EQ(Frame_Tables_Saved_At_Close[0], "fb_SG_Sound");
    EXPECT_EQ(Frame_Tables_Saved_At_Close[1], "fb_sg_Lang");
    EXPECT_EQ(Frame_Tables_Saved_At_Close[2], "fb_SG_Predef");
    EXPECT_EQ(Frame_Tables_Saved_At_Close[3], "fb_sg_SpS");
    for (auto name : Frame_Tables_Saved_At_Close)
        EXPECT_NE(Find_Frame_Table(name), nullptr) << name;
}

#include "tables/table_file.h"
#include "tables/table_frame_defs.h"
#include "tables/table_procs.h"

#include "temp_dir.h"

#include <gtest/gtest.h>

using namespace parvex;

namespace {

using Rows = std::vector<std::vector<std::string>>;

// The sounds table: seven columns, sorted by title, "m4D" in column 6.
SG_Rec sound_rec(const std::string& dir) {
    return Frame_Table_Rec(Frame_Table::Sound, dir, dir);
}

Rows data_rows(const Table_Grid& g) {
    Rows rows;
    for (int r = g.Fixed_Rows(); r < g.Row_Count(); ++r) {
        std::vector<std::string> row;
        for (int c = 0; c < g.Col_Count(); ++c)
            row.push_back(g.Cell(c, r));
        rows.push_back(row);
    }
    return rows;
}

std::vector<std::string> column(const Table_Grid& g, int col) {
    std::vector<std::string> out;
    for (int r = g.Fixed_Rows(); r < g.Row_Count(); ++r)
        out.push_back(g.Cell(col, r));
    return out;
}

Table_Grid grid_with(const SG_Rec& rec, Rows rows) {
    Table_Grid g;
    g.SetSG_Record(rec);
    rows.insert(rows.begin(), std::vector<std::string>{});
    g.Assign(std::move(rows), rec.Col_Count);
    return g;
}

} // namespace

TEST(TableProcs, LoadSetsHeadersWidthsAndSortsBySortColumn) {
    test::TempDir dir;
    dir.write("Sounds.dat", "whatever was here\r\n"
                            "DM|1|Zeta|0|z.wav|True|False\r\n"
                            "PS|2|alpha|3|a.wav|False|False\r\n"
                            "PE|1|Mid|2|m.wav|True|False\r\n");
    Table_Grid g;
    g.SetSG_Record(sound_rec(dir.dir()));
    ASSERT_TRUE(Load_Table(g));
    EXPECT_EQ(g.Col_Count(), 7);
    std::vector<std::string> heads;
    for (int c = 0; c < 7; ++c)
        heads.push_back(g.Cell(c, 0));
    EXPECT_EQ(heads, (std::vector<std::string>{"Code", "Mode", "Title", "SpS", "Sound-File",
                                               "use it", "m4D"}));
    // Sorted by title, alphabetic without regard to case; current row at the top.
    EXPECT_EQ(column(g, 2), (std::vector<std::string>{"alpha", "Mid", "Zeta"}));
    EXPECT_EQ(g.Sort_Col(), 2);
    EXPECT_EQ(g.Current_Row(), 1);
    // The widths of the record win over the auto-size of the initial sort.
    EXPECT_EQ(g.Col_Width(4), 200);
    EXPECT_EQ(g.Col_Width(0), 30);
}

TEST(TableProcs, LoadDropsColumnsBeyondTheRecord) {
    test::TempDir dir;
    dir.write("t.dat", "a|b\r\nc|d|e\r\n");
    Table_Grid raw;
    ASSERT_TRUE(Load_Table_File(raw, dir.dir() + "t.dat"));
    EXPECT_EQ(raw.Col_Count(), 3);

    SG_Rec rec;
    rec.File_Name = dir.dir() + "t.dat";
    rec.Col_Count = 2;
    rec.Col_Heads = "H1|H2";
    Table_Grid g;
    g.SetSG_Record(rec);
    ASSERT_TRUE(Load_Table(g));
    EXPECT_EQ(g.Col_Count(), 2);
    EXPECT_EQ(Table_To_Text(g), "H1|H2\r\nc|d\r\n");
}

TEST(TableProcs, EmptyOrMissingFileGivesHeaderAndOneEmptyRow) {
    test::TempDir dir;
    dir.write("empty.dat", "");
    for (const std::string name : {"empty.dat", "missing.dat"}) {
        SG_Rec rec = sound_rec(dir.dir());
        rec.File_Name = dir.dir() + name;
        Table_Grid g;
        g.SetSG_Record(rec);
        ASSERT_TRUE(Load_Table(g)) << name;
        EXPECT_EQ(g.Row_Count(), 2) << name;
        EXPECT_EQ(g.Col_Count(), 7) << name;
        EXPECT_EQ(g.Cell(0, 0), "Code");
        EXPECT_TRUE(Row_Is_Empty(g, 1, 7, -1));
    }
}

TEST(TableProcs, LoadTreatsAFolderLikeAMissingFile) {
    test::TempDir dir;
    dir.write("Sounds.dat/x", "");
    Table_Grid g;
    g.SetSG_Record(sound_rec(dir.dir()));
    FileResult r = Load_Table(g);
    // A folder is not a table file: it is treated like a missing file.
    EXPECT_TRUE(r);
    EXPECT_EQ(g.Cell(6, 0), "m4D");
}

TEST(TableProcs, DamagedFileLoadsSomeRows) {
    test::TempDir dir;
    std::string junk(3000, '|');
    junk += std::string("\r\n\0\0\xff\xfe|\r|||\n", 12);
    junk.push_back('\0');
    dir.write("Sounds.dat", junk);
    Table_Grid g;
    g.SetSG_Record(sound_rec(dir.dir()));
    ASSERT_TRUE(Load_Table(g));
    EXPECT_EQ(g.Col_Count(), 7);
    EXPECT_GE(g.Row_Count(), 2);
    Purge_Table(g);
    EXPECT_GE(g.Row_Count(), 2);
}

TEST(TableProcs, ApplyWidthsSkipsEmptyItemsAndDefaultsToSixty) {
    struct Case {
        const char* widths;
        std::vector<int> expected;
    } cases[] = {
        {"30||40", {30, 40, 60}}, {"30|x|40", {30, 60, 40}}, {"", {60, 60, 60}},
        {"|10", {10, 60, 60}},    {"-5|7|8|9", {0, 7, 8}},
    };
    for (const auto& c : cases) {
        Table_Grid g;
        SG_Rec rec;
        rec.Col_Count = 3;
        rec.Col_Widths = c.widths;
        g.SetSG_Record(rec);
        g.Set_Col_Count(3);
        Apply_Widths(g);
        EXPECT_EQ((std::vector<int>{g.Col_Width(0), g.Col_Width(1), g.Col_Width(2)}), c.expected)
            << c.widths;
    }
}

TEST(TableProcs, HeaderListOfOnlyASeparatorGivesEmptyHeaders) {
    test::TempDir dir;
    Table_Grid g;
    g.SetSG_Record(Frame_Table_Rec(Frame_Table::VE, dir.dir(), dir.dir()));
    ASSERT_TRUE(Load_Table(g));
    EXPECT_EQ(g.Cell(0, 0), "");
    EXPECT_EQ(g.Cell(1, 0), "");
    EXPECT_EQ(g.Sort_Col(), -1);
}

TEST(TableProcs, PurgeRemovesMarkedAndEmptyRowsAndOrdersByFirstColumnDescending) {
    SG_Rec rec = sound_rec("/nowhere/");
    Table_Grid g = grid_with(rec, {
                                      {"AA", "1", "first", "", "", "True", "False"},
                                      {"ZZ", "1", "gone", "", "", "True", "True"},
                                      {"", "", "", "", "", "", ""},      // only an empty mark
                                      {"", "", "", "", "", "", "False"}, // only a mark
                                      {"MM", "", "", "", "", "", ""},    // mark gets "False"
                                      {"", "2", "no code", "", "", "", "False"},
                                  });
    Purge_Table(g);
    EXPECT_EQ(data_rows(g), (Rows{
                                {"MM", "", "", "", "", "", "False"},
                                {"AA", "1", "first", "", "", "True", "False"},
                                {"", "2", "no code", "", "", "", "False"},
                            }));
}

TEST(TableProcs, PurgeWithoutDeleteColumnRemovesEmptyRows) {
    SG_Rec rec;
    rec.File_Name = "/nowhere/x.dat";
    rec.Col_Count = 2;
    Table_Grid g = grid_with(rec, {{"b", "1"}, {"", ""}, {"a", ""}, {"", "True"}});
    Purge_Table(g);
    EXPECT_EQ(data_rows(g), (Rows{{"b", "1"}, {"a", ""}, {"", "True"}}));
}

TEST(TableProcs, SavingAFullyPurgedTableWritesHeaderAndOneEmptyLine) {
    test::TempDir dir;
    Table_Grid g = grid_with(sound_rec(dir.dir()), {{"DM", "1", "t", "", "", "", "True"}});
    ASSERT_TRUE(Load_Table(g));
    ASSERT_TRUE(Save_Table(g));
    EXPECT_EQ(dir.read("Sounds.dat"), "Code|Mode|Title|SpS|Sound-File|use it|m4D\r\n||||||\r\n");
    EXPECT_EQ(g.Row_Count(), 2);
}

TEST(TableProcs, LoadPurgeSaveRoundTripsAnOrderedFileByteForByte) {
    test::TempDir dir;
    const std::string file = "Code|Mode|Title|SpS|Sound-File|use it|m4D\r\n"
                             "PS|0|Program Start|0|/snd/\xe4nfang.wav|True|False\r\n"
                             "eB|1|Error Beep|4|/snd/err.wav|True|False\r\n"
                             "DM|2|Dialog Message|12||False|False\r\n"
                             "CP|1|Change Page|1|/snd/page.wav|False|False\r\n";
    dir.write("Sounds.dat", file);
    Table_Grid g;
    g.SetSG_Record(sound_rec(dir.dir()));
    ASSERT_TRUE(Load_Table(g));
    Purge_Table(g);
    Sort_Options opts;
    Sort_Descending(g, 0, opts);
    ASSERT_TRUE(Save_Table(g));
    EXPECT_EQ(dir.read("Sounds.dat"), file);
}

TEST(TableProcs, SaveAfterAMarkDropsTheRowAndReadsBackInShape) {
    test::TempDir dir;
    dir.write("Sounds.dat", "x\r\nA|1|t|0|f|True|False\r\nB|1|u|0|g|True|False\r\n");
    Table_Grid g;
    g.SetSG_Record(sound_rec(dir.dir()));
    ASSERT_TRUE(Load_Table(g));
    ASSERT_TRUE(Find_Row(g, 0, "B"));
    g.Set_Cell(2, g.Current_Row(), "with|bar\r\nand breaks");
    ASSERT_TRUE(Find_Row(g, 0, "A"));
    g.Set_Cell(6, g.Current_Row(), "True");
    ASSERT_TRUE(Save_Table(g));
    Table_Grid back;
    back.SetSG_Record(sound_rec(dir.dir()));
    ASSERT_TRUE(Load_Table(back));
    EXPECT_EQ(data_rows(back),
              (Rows{{"B", "1", "with bar  and breaks", "0", "g", "True", "False"}}));
}

TEST(TableProcs, SaveFailureComesBackAsText) {
    SG_Rec rec = sound_rec("/nonexistent-folder-for-tables/");
    Table_Grid g;
    g.SetSG_Record(rec);
    ASSERT_TRUE(Load_Table(g)); // a missing file is no failure
    FileResult r = Save_Table(g);
    EXPECT_FALSE(r);
    EXPECT_NE(r.error.find("Sounds.dat"), std::string::npos) << r.error;
}

TEST(TableProcs, ClearAppendFindAndRowTests) {
    SG_Rec rec = sound_rec("/x/");
    Table_Grid g = grid_with(rec, {{"A"}, {"B"}, {"C"}});
    EXPECT_TRUE(Find_Row(g, 0, "B"));
    EXPECT_EQ(g.Current_Row(), 2);
    EXPECT_FALSE(Find_Row(g, 0, "b")); // exact case
    EXPECT_EQ(g.Current_Row(), 2);
    EXPECT_TRUE(In_Data_Row(g));
    EXPECT_TRUE(In_Data_Cell(g));
    EXPECT_FALSE(In_Header_Row(g));
    g.Set_Current_Row(0);
    EXPECT_TRUE(In_Header_Row(g));
    EXPECT_FALSE(In_Data_Cell(g));

    Append_Row(g); // last row has text: a new row
    EXPECT_EQ(g.Row_Count(), 5);
    EXPECT_EQ(g.Current_Row(), 4);
    Append_Row(g); // last row is free: stay there
    EXPECT_EQ(g.Row_Count(), 5);
    EXPECT_EQ(g.Current_Row(), 4);

    EXPECT_TRUE(Row_Is_Empty(g, 4, 7, -1));
    g.Set_Cell(6, 4, "False");
    EXPECT_FALSE(Row_Is_Empty(g, 4, 7, -1));
    EXPECT_TRUE(Row_Is_Empty(g, 4, 7, 6));
    EXPECT_TRUE(Row_Is_Empty(g, 4, 6, -1));

    Clear_Table(g);
    EXPECT_EQ(g.Row_Count(), 2);
    EXPECT_TRUE(Row_Is_Empty(g, 1, 7, -1));
}

TEST(TableProcs, ToggleCellAndLogical) {
    struct Case {
        std::string before, after;
    } cases[] = {{"False", "True"}, {"True", "False"}, {"", "False"}, {"yes", "False"}};
    for (const auto& c : cases) {
        Table_Grid g = grid_with(sound_rec("/x/"), {{"A", "", "", "", "", c.before, ""}});
        g.Set_Current(5, 1);
        Toggle_Logical(g);
        EXPECT_EQ(g.Cell(5, 1), c.after) << c.before;
    }
    Table_Grid g = grid_with(sound_rec("/x/"), {{"A", "x", "", "", "", "", ""}});
    g.Set_Current(1, 1); // type "S": no toggle
    Toggle_Logical(g);
    EXPECT_EQ(g.Cell(1, 1), "x");
    Toggle_Cell(g, "x", "y");
    EXPECT_EQ(g.Cell(1, 1), "y");
    g.Set_Current(5, 0); // header row stays
    g.Set_Cell(5, 0, "use it");
    Toggle_Logical(g);
    EXPECT_EQ(g.Cell(5, 0), "use it");
}

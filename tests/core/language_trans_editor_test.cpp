// The translation editor's table: loading, the Org. test, pending edits, Replace, Replace ALL
// and the lines "Save Language" writes.
#include "language/trans_editor.h"

#include "tables/table_procs.h"
#include "tables/table_sort.h"

#include <gtest/gtest.h>

using namespace parvex;
namespace col = parvex::trans_col;

namespace {

const TextList Builtin = {
    "[Translations]",
    "Form1.fb_btn_News.Caption=Check_NOW",
    "Form1.btn_Cancel.Caption=Cancel",
    "Form1.btn_Abort.Caption=Cancel",
    "Form1.btn_Work.Hint=create_a_list~~of_tokens",
    "[Version-INFO]",
    "Version=02.06.28.2149",
};

TextList german() {
    return {
        "[Translations]",
        "Form1.fb_btn_News.Caption=Check_NOW",
        "Form1.btn_Cancel.Caption=Cancel",
        "Form1.btn_Abort.Caption=Cancel",
        "Form1.btn_Work.Hint=Liste~~erstellen",
        "[Version-INFO]",
        "Version=02.06.28.2100",
    };
}

Table_Grid trans_grid() {
    Table_Grid g;
    SG_Rec rec;
    rec.Col_Types = "NSSSL";
    rec.Col_Heads = "NR.|Group|Text|Key|Org.";
    rec.Col_Count = 5;
    rec.Sort_Col = 1;
    rec.Delete_Col = 0;
    g.SetSG_Record(rec);
    (void)Load_Table(g);
    return g;
}

} // namespace

TEST(TransEditor, LoadFillsOneRowPerEntry) {
    Table_Grid g = trans_grid();
    Trans_Editor e;
    e.Load(g, german(), Builtin);
    ASSERT_EQ(g.Row_Count(), 5);
    EXPECT_EQ(e.Builtin_Version(), "Version=02.06.28.2149");
    EXPECT_EQ(e.Saved_Version(), "Version=02.06.28.2100");
    const std::vector<std::string> row1 = {"1", "Caption", "Check_NOW", "Form1.fb_btn_News.Caption",
                                           "True"};
    EXPECT_EQ(g.Row(1), row1);
    const std::vector<std::string> row4 = {"4", "Hint", "Liste~~erstellen", "Form1.btn_Work.Hint",
                                           "False"};
    EXPECT_EQ(g.Row(4), row4);
    EXPECT_EQ(g.Cell(0, 0), "NR.");
}

TEST(TransEditor, GroupTakesTheLastHit) {
    EXPECT_EQ(Trans_Group("Form1.a.Caption=x"), "Caption");
    EXPECT_EQ(Trans_Group("form1.a.hint=x"), "Hint");
    EXPECT_EQ(Trans_Group("Form1.a.DialogTitle=x"), "DialogTitle");
    EXPECT_EQ(Trans_Group("Form1.a.DialogText=x"), "DialogText");
    EXPECT_EQ(Trans_Group("Form1.a.Caption=see_.HINT=x"), "Hint");
    EXPECT_EQ(Trans_Group("Form1.a.Text=x"), "???");
}

TEST(TransEditor, LinesWithoutEqualSignAndMissingFiles) {
    Table_Grid g = trans_grid();
    Trans_Editor e;
    e.Load(g, {"[Translations]", "broken line", "[Version-INFO]"}, {});
    ASSERT_EQ(g.Row_Count(), 2);
    EXPECT_EQ(g.Cell(col::Key, 1), "");
    EXPECT_EQ(g.Cell(col::Text, 1), "broken line");
    EXPECT_EQ(g.Cell(col::Org, 1), "False");
    // Rows without a key are not written back.
    EXPECT_EQ(e.Save_Lines(g), (TextList{"[Translations]", "[Version-INFO]"}));

    e.Load(g, {}, {});
    EXPECT_EQ(g.Row_Count(), 2); // the header and the one empty row
    EXPECT_EQ(g.Cell(col::Text, 1), "");
}

TEST(TransEditor, LongTextsAreKeptWhole) {
    const std::string text(1200, 'x');
    Table_Grid g = trans_grid();
    Trans_Editor e;
    e.Load(g, {"[Translations]", "Form1.a.Hint=" + text}, {});
    EXPECT_EQ(g.Cell(col::Text, 1).size(), 1200u);
    EXPECT_EQ(e.Save_Lines(g)[1], "Form1.a.Hint=" + text);
}

TEST(TransEditor, ClickOutsideDropsAnUnconfirmedEdit) {
    Table_Grid g = trans_grid();
    Trans_Editor e;
    e.Load(g, german(), Builtin);
    EXPECT_TRUE(e.Click(g, col::Text, 2));
    EXPECT_EQ(e.Source_Text(), "Cancel");
    g.Set_Cell(col::Text, 2, "Abbrechen"); // typed into the cell
    EXPECT_FALSE(e.Click(g, col::Key, 3));
    EXPECT_EQ(g.Cell(col::Text, 2), "Cancel");
    EXPECT_EQ(e.Pending_Row(g), 0);
    EXPECT_EQ(e.Source_Text(), "");
    EXPECT_FALSE(e.Click(g, col::Text, 0)); // the header row
}

TEST(TransEditor, ReplaceChangesOnlyTheEditedRow) {
    Table_Grid g = trans_grid();
    Trans_Editor e;
    e.Load(g, german(), Builtin);
    ASSERT_TRUE(e.Click(g, col::Text, 2));
    g.Set_Cell(col::Text, 2, "Abbrechen");
    e.Replace(g);
    EXPECT_EQ(g.Cell(col::Text, 2), "Abbrechen");
    EXPECT_EQ(g.Cell(col::Org, 2), "False");
    EXPECT_EQ(g.Cell(col::Text, 3), "Cancel");
    EXPECT_EQ(g.Cell(col::Org, 3), "True");
    EXPECT_EQ(e.Source_Text(), "Cancel"); // the label keeps its text
    // Confirmed: the next click keeps the edit.
    e.Click(g, col::Nr, 1);
    EXPECT_EQ(g.Cell(col::Text, 2), "Abbrechen");
}

TEST(TransEditor, ReplaceAllChangesEveryRowWithTheSameText) {
    Table_Grid g = trans_grid();
    Trans_Editor e;
    e.Load(g, german(), Builtin);
    ASSERT_TRUE(e.Click(g, col::Text, 2));
    g.Set_Cell(col::Text, 2, "Abbrechen");
    e.Replace_All(g);
    for (int r : {2, 3}) {
        EXPECT_EQ(g.Cell(col::Text, r), "Abbrechen");
        EXPECT_EQ(g.Cell(col::Org, r), "False");
    }
    EXPECT_EQ(g.Cell(col::Text, 1), "Check_NOW");
    EXPECT_EQ(e.Pending_Row(g), 0);
    // Without a pending row both do nothing.
    e.Replace_All(g);
    e.Replace(g);
    EXPECT_EQ(g.Cell(col::Text, 1), "Check_NOW");
}

TEST(TransEditor, SaveWritesTableOrderWithUnderscoresAndDropsPendingEdits) {
    Table_Grid g = trans_grid();
    Trans_Editor e;
    e.Load(g, german(), Builtin);
    ASSERT_TRUE(e.Click(g, col::Text, 1));
    g.Set_Cell(col::Text, 1, "Jetzt prüfen");
    e.Replace(g);
    ASSERT_TRUE(e.Click(g, col::Text, 2));
    g.Set_Cell(col::Text, 2, "not confirmed");
    const TextList lines = e.Save_Lines(g);
    const TextList expected = {
        "[Translations]",
        "Form1.fb_btn_News.Caption=Jetzt_prüfen",
        "Form1.btn_Cancel.Caption=Cancel",
        "Form1.btn_Abort.Caption=Cancel",
        "Form1.btn_Work.Hint=Liste~~erstellen",
        "[Version-INFO]",
        "Version=02.06.28.2100",
    };
    EXPECT_EQ(lines, expected);
}

TEST(TransEditor, OrgComparesWithUnderscoresAndLetterCase) {
    Table_Grid g = trans_grid();
    Trans_Editor e;
    e.Load(g, german(), Builtin);
    g.Set_Cell(col::Text, 1, "Check NOW"); // typed with a space: still the built-in text
    EXPECT_TRUE(e.Find_Lang_Org(g, 1));
    g.Set_Cell(col::Text, 1, "check_now");
    EXPECT_FALSE(e.Find_Lang_Org(g, 1));
    // The built-in file's first line (its section header) is not an entry.
    Trans_Editor f;
    f.Load(g, {"[Translations]", "Form1.a.Caption=x"}, {"Form1.a.Caption=x", "[Version-INFO]"});
    EXPECT_EQ(g.Cell(col::Org, 1), "False");
}

TEST(TransEditor, PendingRowFollowsASort) {
    Table_Grid g = trans_grid();
    Trans_Editor e;
    e.Load(g, german(), Builtin);
    ASSERT_TRUE(e.Click(g, col::Text, 1)); // Check_NOW
    g.Set_Cell(col::Text, 1, "Jetzt");
    Sort_Options desc;
    desc.direction = Sort_Direction::Descending;
    desc.style = Sort_Style::Numeric;
    g.Sort_Rows(col::Nr, desc);
    const int row = e.Pending_Row(g);
    ASSERT_EQ(row, 4);
    e.Click(g, col::Key, 1);
    EXPECT_EQ(g.Cell(col::Text, 4), "Check_NOW");
    EXPECT_EQ(g.Cell(col::Text, 1), "Liste~~erstellen");
}

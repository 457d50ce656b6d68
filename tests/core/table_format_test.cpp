#include "tables/subs.h"
#include "tables/table_format.h"
#include "tables/table_grid.h"
#include "tables/table_procs.h"

#include <gtest/gtest.h>

using namespace parvex;

namespace {

struct Counting_Observer : Table_Observer {
    int repaints = 0;
    void repaint() override { ++repaints; }
};

Table_Grid sample() {
    SG_Rec rec;
    rec.File_Name = "/t/x.dat";
    rec.Col_Count = 4;
    rec.Col_Aligns = "LCRX";
    Table_Grid g;
    g.SetSG_Record(rec);
    g.Assign({{"a", "b", "c", "d"}, {"1"}, {"2"}, {"3"}, {"4"}}, 4);
    return g;
}

} // namespace

TEST(TableFormat, DefaultGridColours) {
    Grid_Color_Table d = Default_Grid_Colors();
    EXPECT_EQ(d[0], RGB_Color(225, 225, 225));
    EXPECT_EQ(d[2], RGB_Color(191, 255, 255));
    EXPECT_EQ(d[3], RGB_Color(255, 255, 217));
    EXPECT_EQ(d[6], RGB_Color(255, 128, 0));
    EXPECT_EQ(Grid_Color(1), Grid_Colors()[0]);
    EXPECT_EQ(Grid_Color(0), 0u);
}

TEST(TableFormat, FormatCellColoursByRowSortColumnStateAndLastRow) {
    Table_Grid g = sample();
    g.Sort_Rows(1, {});
    g.Set_Current(0, 3);
    Cell_Format first;
    Format_Cell(g, 0, 1, first, Draw_None); // brings Last_Row to the current row
    ASSERT_EQ(g.Last_Row(), 3);

    struct Case {
        int col, row;
        unsigned state;
        std::uint32_t brush;
    } cases[] = {
        {0, 1, Draw_None, Grid_Color(2)},     {0, 2, Draw_None, Grid_Color(1)},
        {1, 2, Draw_None, Grid_Color(4)},     {0, 2, Draw_Focused, RGB_Color(0, 0, 0)},
        {0, 2, Draw_Selected, Grid_Color(3)}, {0, 2, Draw_Selected | Draw_Focused, Grid_Color(1)},
        {1, 3, Draw_None, Grid_Color(3)},     {2, 3, Draw_Focused, Grid_Color(3)},
    };
    for (const auto& c : cases) {
        Cell_Format f;
        Format_Cell(g, c.col, c.row, f, c.state);
        EXPECT_EQ(f.brush, c.brush) << c.col << "," << c.row << " state " << c.state;
        EXPECT_EQ(f.font, Contrast_Color(c.brush));
    }

    // A header cell only gets its alignment.
    Cell_Format head;
    head.brush = 42;
    Format_Cell(g, 2, 0, head, Draw_Fixed);
    EXPECT_EQ(head.brush, 42u);
    EXPECT_EQ(head.align, Cell_Align::Right);

    const Cell_Align aligns[] = {Cell_Align::Left, Cell_Align::Center, Cell_Align::Right,
                                 Cell_Align::Default};
    for (int c = 0; c < 4; ++c) {
        Cell_Format f;
        Format_Cell(g, c, 1, f, Draw_None);
        EXPECT_EQ(f.align, aligns[c]);
    }
}

TEST(TableFormat, FormatCellRepaintsOnceWhenTheCurrentRowMoved) {
    Table_Grid g = sample();
    Counting_Observer obs;
    g.Set_Observer(&obs);
    g.Set_Current_Row(2);
    Cell_Format f;
    Format_Cell(g, 0, 1, f, Draw_None);
    Format_Cell(g, 1, 1, f, Draw_None);
    EXPECT_EQ(obs.repaints, 1);
    EXPECT_EQ(g.Last_Row(), 2);
    Note_Current_Row(g);
    EXPECT_EQ(obs.repaints, 2);

    // Each grid keeps its own remembered row, so two grids never repaint each other in turn.
    Table_Grid other = sample();
    other.Set_Current_Row(4);
    Format_Cell(other, 0, 1, f, Draw_None);
    Format_Cell(g, 0, 1, f, Draw_None);
    EXPECT_EQ(obs.repaints, 2);
    g.Set_Observer(nullptr);
}

TEST(TableFormat, SetCellColorSparesSortColumnAndEvenColumnsOfTheCurrentRow) {
    Table_Grid g = sample();
    g.Sort_Rows(3, {});
    g.Set_Current_Row(2);
    const std::uint32_t mark = Grid_Color(5);
    struct Case {
        int col, row;
        bool applies;
    } cases[] = {
        {-1, 2, true}, {0, 1, true}, {1, 2, true}, {0, 2, false}, {2, 2, false}, {3, 1, false},
    };
    for (const auto& c : cases) {
        Cell_Format f;
        f.brush = 1;
        Set_Cell_Color(g, c.col, c.row, mark, f);
        EXPECT_EQ(f.brush, c.applies ? mark : 1u) << c.col << "," << c.row;
        if (c.applies) {
            EXPECT_EQ(f.font, RGB_Color(0, 255, 255));
        }
    }
}

#include "tables/table_frame_defs.h"
#include "tables/table_procs.h"
#include "widgets/sgx.h"
#include "widgets/sgx_model.h"

#include "png_dump.h"
#include "temp_dir.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace parvex;

namespace {

const char* const Sound_File = "Code|Mode|Title|SpS|Sound-File|use it|m4D\r\n"
                               "PS|0|Program Start|1|GUI/Snds/start.wav|True|False\r\n"
                               "PE|0|Program End|2|GUI/Snds/end.wav|True|False\r\n"
                               "DM|1|Dialog Message|3||False|False\r\n"
                               "eB|1|Error Beep|4|GUI/Snds/error.wav|True|False\r\n"
                               "CP|2|Change Page|0|GUI/Snds/page.wav|False|False\r\n"
                               "WS|2|Work Start|5|GUI/Snds/work.wav|True|False\r\n"
                               "WE|2|Work End|6||True|False\r\n"
                               "QU|1|Question|7|GUI/Snds/ask.wav|False|False\r\n";

std::vector<std::string> column(const Table_Grid& g, int col) {
    std::vector<std::string> out;
    for (int r = 1; r < g.Row_Count(); ++r)
        out.push_back(g.Cell(col, r));
    return out;
}

QPoint header_point(TSGX& grid, int col) {
    QHeaderView* head = grid.horizontalHeader();
    return {head->sectionViewportPosition(col) + head->sectionSize(col) / 2, head->height() / 2};
}

QPoint cell_point(TSGX& grid, int col, int row) {
    return grid.visualRect(grid.Model().index(SGX_Model::Model_Row(row), col)).center();
}

} // namespace

class SgxWidget : public ::testing::Test {
protected:
    void SetUp() override {
        dir.write("Sounds.dat", Sound_File);
        grid.SetSG_Record(Frame_Table_Rec(Frame_Table::Sound, dir.dir(), dir.dir()));
        ASSERT_TRUE(Load_Table(grid.Grid()));
        grid.resize(640, 260);
        tester = std::make_unique<QAbstractItemModelTester>(
            &grid.Model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    }
    test::TempDir dir;
    TSGX grid;
    std::unique_ptr<QAbstractItemModelTester> tester;
};

TEST_F(SgxWidget, LoadShowsHeadersWidthsAndTheSortedColumn) {
    QHeaderView* head = grid.horizontalHeader();
    EXPECT_EQ(grid.Model().headerData(0, Qt::Horizontal).toString(), "Code");
    EXPECT_EQ(grid.columnWidth(2), 130);
    EXPECT_EQ(grid.columnWidth(4), 200);
    EXPECT_EQ(head->sortIndicatorSection(), 2);
    EXPECT_EQ(head->sortIndicatorOrder(), Qt::AscendingOrder);
    EXPECT_EQ(grid.currentIndex().row(), 0);
    EXPECT_EQ(column(grid.Grid(), 2).front(), "Change Page");
}

TEST_F(SgxWidget, HeaderClickSortsAndFlipsTheArrowKeepingTheCurrentRecord) {
    grid.show();
    grid.setCurrentIndex(grid.Model().index(3, 1));
    const std::string current = grid.Grid().Cell(0, grid.Grid().Current_Row());
    QSignalSpy clicked(&grid, &TSGX::headerClicked);

    QTest::mouseClick(grid.horizontalHeader()->viewport(), Qt::LeftButton, {},
                      header_point(grid, 3));
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_EQ(column(grid.Grid(), 3),
              (std::vector<std::string>{"0", "1", "2", "3", "4", "5", "6", "7"}));
    EXPECT_EQ(grid.horizontalHeader()->sortIndicatorSection(), 3);
    EXPECT_EQ(grid.horizontalHeader()->sortIndicatorOrder(), Qt::AscendingOrder);
    EXPECT_EQ(grid.Grid().Cell(0, grid.Grid().Current_Row()), current);
    EXPECT_EQ(SGX_Model::Grid_Row(grid.currentIndex().row()), grid.Grid().Current_Row());

    QTest::mouseClick(grid.horizontalHeader()->viewport(), Qt::LeftButton, {},
                      header_point(grid, 3));
    EXPECT_EQ(column(grid.Grid(), 3).front(), "7");
    EXPECT_EQ(grid.horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
    EXPECT_EQ(grid.Grid().Cell(0, grid.Grid().Current_Row()), current);
}

TEST(SgxSmall, ArrowFollowsTheSortOfASingleDataRow) {
    // With one data row no row moves, yet the grid records the column: so must the arrow.
    TSGX grid;
    grid.SetSG_Record(Frame_Table_Rec(Frame_Table::SpS, "/nonexistent/", "/nonexistent/"));
    (void)Load_Table(grid.Grid());
    grid.Grid().Set_Cell(1, 1, "Beep");
    Purge_Table(grid.Grid()); // sorts by the mark column, then by column 0 descending
    EXPECT_EQ(grid.Grid().Sort_Col(), 0);
    EXPECT_EQ(grid.horizontalHeader()->sortIndicatorSection(), 0);
    EXPECT_EQ(grid.horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
    Sort_By_Type(grid.Grid(), 2, true);
    EXPECT_EQ(grid.horizontalHeader()->sortIndicatorSection(), 2);
    EXPECT_EQ(grid.horizontalHeader()->sortIndicatorOrder(), Qt::AscendingOrder);
}

TEST_F(SgxWidget, ClicksAreReportedInGridRowsAndDoubleClickToggles) {
    grid.show();
    QSignalSpy clicks(&grid, &TSGX::cellClicked);
    QSignalSpy doubles(&grid, &TSGX::cellDoubleClicked);
    QObject::connect(&grid, &TSGX::cellDoubleClicked, &grid,
                     [&](int, int) { Toggle_Logical(grid.Grid()); });
    QObject::connect(&grid, &TSGX::cellClicked, &grid,
                     [&](int, int) { Note_Current_Row(grid.Grid()); });

    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell_point(grid, 5, 2));
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks.at(0).at(0).toInt(), 5);
    EXPECT_EQ(clicks.at(0).at(1).toInt(), 2);
    EXPECT_EQ(grid.Grid().Current_Row(), 2);
    EXPECT_EQ(grid.Grid().Last_Row(), 2);

    const std::string before = grid.Grid().Cell(5, 2);
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, cell_point(grid, 5, 2));
    ASSERT_EQ(doubles.count(), 1);
    EXPECT_EQ(grid.Grid().Cell(5, 2), before == "True" ? "False" : "True");
    EXPECT_FALSE(grid.Editor_Open()); // no editor on a logical cell
}

TEST_F(SgxWidget, InPlaceEditorRefusesRowSplittingCharactersAndCanBeSwitchedOff) {
    grid.show();
    const QModelIndex title = grid.Model().index(0, 2);
    grid.setCurrentIndex(title);
    grid.edit(title);
    auto* editor = grid.findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, "New|Title");
    EXPECT_EQ(editor->text(), "NewTitle");
    QSignalSpy edited(&grid, &TSGX::cellEdited);
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents(); // the view commits the editor through a queued call
    EXPECT_EQ(grid.Grid().Cell(2, 1), "NewTitle");
    EXPECT_EQ(edited.count(), 1);

    grid.Set_Editing(false);
    EXPECT_FALSE(grid.Editing());
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, cell_point(grid, 2, 2));
    EXPECT_FALSE(grid.Editor_Open());
}

TEST_F(SgxWidget, ProceduresMoveTheViewsCurrentRowAndWidths) {
    ASSERT_TRUE(Find_Row(grid.Grid(), 0, "QU"));
    EXPECT_EQ(SGX_Model::Grid_Row(grid.currentIndex().row()), grid.Grid().Current_Row());
    grid.Auto_Size();
    EXPECT_EQ(grid.columnWidth(0), grid.Grid().Col_Width(0));
    EXPECT_LT(grid.columnWidth(4), 200);
    grid.setColumnWidth(1, 77); // the user drags a column border
    EXPECT_EQ(grid.Grid().Col_Width(1), 77);
}

TEST_F(SgxWidget, AutoSizeLeavesEveryHeaderItsTextAndArrow) {
    // "m4D" and "SpS" are narrower than the header needs once the sort arrow sits beside them.
    Sort_By_Type(grid.Grid(), 6, false);
    QHeaderView* head = grid.horizontalHeader();
    for (int c = 0; c < grid.Grid().Col_Count(); ++c)
        EXPECT_GE(grid.columnWidth(c), head->sectionSizeHint(c) + Auto_Size_Margin) << c;
}

// The table records give narrow columns ("Code", "SpS"); the view never shows a column
// narrower than its header text beside the sort arrow, and a drag stops there too.
TEST_F(SgxWidget, ColumnsAreNeverNarrowerThanTheirHeader) {
    QHeaderView* head = grid.horizontalHeader();
    const QFontMetrics fm(head->font());
    bool some_record_narrower = false;
    for (int c = 0; c < grid.Grid().Col_Count(); ++c) {
        const QString text = grid.Model().headerData(c, Qt::Horizontal).toString();
        // The text, two margins and an arrow at least as wide as a line of text is high.
        const int needed = fm.horizontalAdvance(text) + fm.height();
        EXPECT_GE(grid.Min_Col_Width(c), needed) << text.toStdString();
        EXPECT_GE(grid.columnWidth(c), grid.Min_Col_Width(c)) << text.toStdString();
        some_record_narrower |= grid.Grid().Col_Width(c) < grid.Min_Col_Width(c);
    }
    EXPECT_TRUE(some_record_narrower); // the fixture shows the fault
    grid.Grid().Set_Col_Width(0, 30);  // a procedure sets a narrow width
    EXPECT_EQ(grid.columnWidth(0), grid.Min_Col_Width(0));
    head->resizeSection(3, 5); // the user drags a border far to the left
    EXPECT_EQ(grid.columnWidth(3), grid.Min_Col_Width(3));
    EXPECT_EQ(grid.Grid().Col_Width(3), grid.Min_Col_Width(3));
    grid.show();
    test::save_png(grid, "sgx_header_widths");
}

TEST_F(SgxWidget, CellFormatEventColoursCellsAndTheDemoLooksFinished) {
    Sort_By_Type(grid.Grid(), 2, true);
    // Marks of the owner: a missing sound file is faulty data, sounds in use are group 1.
    grid.Set_Format_Cell_Handler([](TSGX& g, int col, int row, Cell_Format& f, unsigned state) {
        Format_Cell(g.Grid(), col, row, f, state);
        if (col == 4 && g.Grid().Cell(4, row).empty())
            Set_Cell_Color(g.Grid(), col, row, Grid_Color(5), f);
        if (col == 1 && g.Grid().Cell(1, row) == "2")
            Set_Cell_Color(g.Grid(), col, row, Grid_Color(7), f);
    });
    grid.Grid().Set_Current(3, 4);
    Note_Current_Row(grid.Grid());

    ASSERT_EQ(grid.Grid().Cell(0, 2), "DM"); // the row without a sound file
    Cell_Format missing = grid.Run_Format_Cell(4, 2, Draw_None);
    EXPECT_EQ(missing.brush, Grid_Color(5));
    EXPECT_EQ(missing.font, RGB_Color(0, 255, 255));
    Cell_Format sorted = grid.Run_Format_Cell(2, 1, Draw_None);
    EXPECT_EQ(sorted.brush, Grid_Color(4));
    Cell_Format current = grid.Run_Format_Cell(3, 4, Draw_None);
    EXPECT_EQ(current.brush, Grid_Color(3));

    QWidget window;
    window.setWindowTitle("Sounds");
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(6, 6, 6, 6);
    grid.setParent(&window);
    layout->addWidget(&grid);
    window.resize(660, 280);
    window.show();
    window.activateWindow();
    grid.setFocus();
    QApplication::processEvents();
    QString file = test::save_png(window, "sgx_sound_table");
    EXPECT_TRUE(QFile::exists(file));
    grid.setParent(nullptr);
}

TEST(SgxLarge, ThousandsOfRowsSortByHeaderClick) {
    TSGX grid;
    SG_Rec rec = Frame_Table_Rec(Frame_Table::SpS, "/tables/", "/tables/");
    grid.SetSG_Record(rec);
    std::vector<std::vector<std::string>> rows{{"Nr.", "Speakersound", "free", "m4D"}};
    for (int i = 0; i < 4000; ++i)
        rows.push_back(
            {std::to_string((i * 7919) % 4000), "tune " + std::to_string(i), "", "False"});
    grid.Grid().Assign(std::move(rows), 4);
    grid.resize(400, 300);
    grid.show();
    QTest::mouseClick(grid.horizontalHeader()->viewport(), Qt::LeftButton, {},
                      header_point(grid, 0));
    EXPECT_EQ(grid.Model().rowCount(), 4000);
    EXPECT_EQ(grid.Grid().Cell(0, 1), "0");
    EXPECT_EQ(grid.Grid().Cell(0, 4000), "3999"); // numeric, not alphabetic
    grid.scrollToBottom();
    QImage shot = grid.grab().toImage();
    EXPECT_FALSE(shot.isNull());
}

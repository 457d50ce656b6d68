#include "tables/table_frame_defs.h"
#include "tables/table_procs.h"
#include "widgets/sgx_model.h"
#include "widgets/sgx_text.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace parvex;

namespace {

Table_Grid sound_grid() {
    Table_Grid g;
    g.SetSG_Record(Frame_Table_Rec(Frame_Table::Sound, "/tables/", "/tables/"));
    g.Assign({{"Code", "Mode", "Title", "SpS", "Sound-File", "use it", "m4D"},
              {"DM", "1", "Message", "3", "m.wav", "True", "False"},
              {"PS", "0", "Start", "1", "", "False", "False"},
              {"eB", "2", "Error", "2", "e.wav", "True", "True"}},
             7);
    return g;
}

} // namespace

TEST(SgxModel, StaysConsistentThroughTheTableProcedures) {
    Table_Grid g = sound_grid();
    SGX_Model model(g);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.columnCount(), 7);
    EXPECT_EQ(model.headerData(2, Qt::Horizontal).toString(), "Title");
    EXPECT_EQ(model.data(model.index(0, 2)).toString(), "Message");

    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    Sort_By_Type(g, 2, true);
    EXPECT_EQ(model.data(model.index(0, 2)).toString(), "Error");
    Purge_Table(g); // drops the marked row
    EXPECT_EQ(model.rowCount(), 2);
    Append_Row(g);
    EXPECT_EQ(model.rowCount(), 3);
    Clear_Table(g);
    EXPECT_EQ(model.rowCount(), 1);
    g.Set_Col_Count(3);
    EXPECT_EQ(model.columnCount(), 3);
    EXPECT_GE(resets.count(), 5);
}

TEST(SgxModel, CellAndHeaderChangesAreSignalled) {
    Table_Grid g = sound_grid();
    SGX_Model model(g);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy data(&model, &QAbstractItemModel::dataChanged);
    QSignalSpy heads(&model, &QAbstractItemModel::headerDataChanged);
    g.Set_Current(5, 2);
    Toggle_Logical(g);
    ASSERT_EQ(data.count(), 1);
    EXPECT_EQ(data.at(0).at(0).toModelIndex(), model.index(1, 5));
    g.Set_Cell(1, 0, "Modus");
    EXPECT_EQ(heads.count(), 1);
}

TEST(SgxModel, EditsKeepBytesAndNeverSplitARow) {
    Table_Grid g = sound_grid();
    g.Set_Cell(2, 1, "Gr\xfc\xdf");         // Latin-1
    g.Set_Cell(2, 2, "Gr\xc3\xbc\xc3\x9f"); // UTF-8
    SGX_Model model(g);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(model.data(model.index(0, 2)).toString(), QString::fromUtf8("Grüß"));
    EXPECT_EQ(model.data(model.index(1, 2)).toString(), QString::fromUtf8("Grüß"));

    // Writing back what is shown leaves the bytes alone.
    EXPECT_TRUE(model.setData(model.index(0, 2), QString::fromUtf8("Grüß")));
    EXPECT_EQ(g.Cell(2, 1), "Gr\xfc\xdf");
    // A changed Latin-1 cell stays Latin-1, a changed UTF-8 cell stays UTF-8.
    EXPECT_TRUE(model.setData(model.index(0, 2), QString::fromUtf8("Grüße")));
    EXPECT_EQ(g.Cell(2, 1), "Gr\xfc\xdf"
                            "e");
    EXPECT_TRUE(model.setData(model.index(1, 2), QString::fromUtf8("Grüße")));
    EXPECT_EQ(g.Cell(2, 2), "Gr\xc3\xbc\xc3\x9f"
                            "e");

    QSignalSpy edited(&model, &SGX_Model::cellEdited);
    EXPECT_TRUE(model.setData(model.index(2, 0), QStringLiteral("a|b\r\nc")));
    EXPECT_EQ(g.Cell(0, 3), "a b  c");
    ASSERT_EQ(edited.count(), 1);
    EXPECT_EQ(edited.at(0).at(1).toInt(), 3);
}

TEST(SgxModel, LogicalColumnsAndSwitchedOffEditingAreNotEditable) {
    Table_Grid g = sound_grid();
    SGX_Model model(g);
    EXPECT_TRUE(model.flags(model.index(0, 2)) & Qt::ItemIsEditable);
    EXPECT_FALSE(model.flags(model.index(0, 5)) & Qt::ItemIsEditable);
    model.Set_Editable(false);
    EXPECT_FALSE(model.flags(model.index(0, 2)) & Qt::ItemIsEditable);
}

TEST(SgxText, CellTextCheck) {
    EXPECT_TRUE(Is_Cell_Text(QStringLiteral("plain text")));
    EXPECT_FALSE(Is_Cell_Text(QStringLiteral("a|b")));
    EXPECT_FALSE(Is_Cell_Text(QStringLiteral("a\nb")));
    EXPECT_FALSE(Is_Cell_Text(QStringLiteral("a\rb")));
    EXPECT_EQ(To_QColor(0x00FF8000u), QColor(0, 128, 255));
}

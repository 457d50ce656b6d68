#pragma once
// TSGX, the grid of the frame's tables: a table view over one core table (header row fixed,
// widths from the table record, sort on a header click with an arrow), whose owner colours the
// cells through the cell-format event and runs the table procedures on Grid().

#include "tables/table_format.h"
#include "tables/table_grid.h"

#include <QTableView>

#include <functional>

namespace parvex {

class SGX_Model;

class TSGX : public QTableView {
    Q_OBJECT
public:
    explicit TSGX(QWidget* parent = nullptr);
    ~TSGX() override;

    Table_Grid& Grid() { return grid_; }
    const Table_Grid& Grid() const { return grid_; }
    SGX_Model& Model() { return *model_; }
    SG_Rec GetSG_Record() const { return grid_.GetSG_Record(); }
    void SetSG_Record(const SG_Rec& rec);

    // In-place editing of the cells (logical columns excepted); on by default.
    void Set_Editing(bool on);
    bool Editing() const;
    bool Editor_Open() const { return state() == QAbstractItemView::EditingState; }

    // The cell-format event: called for every data cell that is drawn, with the grid's column
    // and row (data rows from 1) and the draw state; the handler may change the format. Without
    // a handler the grid runs the standard Format_Cell.
    using Format_Cell_Handler =
        std::function<void(TSGX& grid, int col, int row, Cell_Format& format, unsigned state)>;
    void Set_Format_Cell_Handler(Format_Cell_Handler handler);
    Cell_Format Run_Format_Cell(int col, int row, unsigned state);

    // Every column as wide as its content plus the 5-pixel margin.
    void Auto_Size();
    // The narrowest a column is shown: its header text, the header's margins and the arrow.
    int Min_Col_Width(int col) const;

    // A short table (a few narrow columns) is never shown narrower than all its columns, so
    // the layout around it makes room instead of hiding the last ones; off by default.
    void Set_Show_All_Columns(bool on);
    QSize minimumSizeHint() const override;

signals:
    void cellClicked(int col, int row);
    void cellDoubleClicked(int col, int row);
    void headerClicked(int col);
    void cellEdited(int col, int row);

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    void sort_by_header(int col);
    void follow_table();
    void show_sort_indicator();
    void apply_widths();
    void show_current();

    Table_Grid grid_;
    SGX_Model* model_ = nullptr;
    Format_Cell_Handler format_handler_;
    bool editing_ = true;
    bool syncing_ = false; // the view is being brought in line with the table
    bool show_all_columns_ = false;
};

} // namespace parvex

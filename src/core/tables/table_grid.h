#pragma once
// The plain table model behind a grid: string cells by column and row, one fixed header row,
// the current cell, the sort column, column widths and the table record. No widget code: the
// grid widget observes it and supplies text measuring and the open-editor check through hooks.

#include "tables/table_rec.h"
#include "tables/table_sort.h"

#include <functional>
#include <string>
#include <vector>

namespace parvex {

// Told about changes, so a view can follow. Structure changes come as a begin/end pair.
class Table_Observer {
public:
    virtual ~Table_Observer() = default;
    virtual void table_about_to_reset() {}
    virtual void table_reset() {}
    virtual void cell_changed(int /*col*/, int /*row*/) {}
    virtual void current_changed() {}
    virtual void widths_changed() {}
    virtual void repaint() {}
};

class Table_Grid {
public:
    Table_Grid();

    // ---- record ----
    SG_Rec GetSG_Record() const { return rec_; }
    void SetSG_Record(const SG_Rec& rec) { rec_ = rec; }
    const SG_Rec& Record() const { return rec_; }

    // ---- size and cells (cells are addressed column first, as in the table procedures) ----
    int Row_Count() const { return static_cast<int>(rows_.size()); }
    int Col_Count() const { return col_count_; }
    int Fixed_Rows() const { return 1; }
    int Fixed_Cols() const { return 0; }
    int Last_Row_Index() const { return Row_Count() - 1; }
    void Set_Row_Count(int rows);
    void Set_Col_Count(int cols);
    const std::string& Cell(int col, int row) const;
    void Set_Cell(int col, int row, std::string text);
    void Clear_Cells();
    void Add_Row();
    // Whole table at once: rows may be shorter than `cols`; missing cells read as empty.
    void Assign(std::vector<std::vector<std::string>> rows, int cols);
    const std::vector<std::string>& Row(int row) const { return rows_[row]; }

    // ---- current cell ----
    int Current_Row() const { return cur_row_; }
    int Current_Col() const { return cur_col_; }
    void Set_Current(int col, int row);
    void Set_Current_Row(int row) { Set_Current(cur_col_, row); }
    // Set by the view when the user moves: records the cell without telling the observer back.
    void Note_Current_From_View(int col, int row);

    // ---- sorting ----
    int Sort_Col() const { return sort_col_; }
    Sort_Direction Sort_Dir() const { return sort_dir_; }
    bool Case_Sensitive() const { return case_sensitive_; }
    void Set_Case_Sensitive(bool on) { case_sensitive_ = on; }
    // Sorts the data rows by one column and records it as the sort column. Does nothing while a
    // cell editor is open; with at most one data row only the column is recorded. An automatic
    // style is resolved from the column's contents. When `follow_current` is set the current
    // row moves with its record, else the current row number stays.
    void Sort_Rows(int col, const Sort_Options& options, bool follow_current = false);

    // ---- widths ----
    int Col_Width(int col) const;
    void Set_Col_Width(int col, int width);
    // Every column as wide as its widest text (header included) plus the margin.
    void Auto_Size_Columns(int margin);

    // ---- per-grid remembered row, used to mark the row last clicked ----
    int Last_Row() const { return last_row_; }
    void Set_Last_Row(int row) { last_row_ = row; }

    // ---- hooks ----
    void Set_Observer(Table_Observer* observer) { observer_ = observer; }
    Table_Observer* Observer() const { return observer_; }
    // Pixel width of a text; the default counts 7 pixels per byte.
    std::function<int(const std::string&)> text_width;
    // Pixel width a header cell needs (its text, the header's padding and the sort arrow), or
    // a negative value to measure the header text like any cell. Unset: like any cell.
    std::function<int(int col)> header_width;
    // True while an in-place editor is open.
    std::function<bool()> editor_open;
    void Repaint();

private:
    void clamp_current();
    void about_to_reset();
    void reset_done();

    SG_Rec rec_;
    std::vector<std::vector<std::string>> rows_;
    int col_count_ = 1;
    std::vector<int> widths_;
    int cur_row_ = 1;
    int cur_col_ = 0;
    int sort_col_ = -1;
    Sort_Direction sort_dir_ = Sort_Direction::Ascending;
    bool case_sensitive_ = false;
    int last_row_ = 0;
    Table_Observer* observer_ = nullptr;
};

} // namespace parvex

#include "tables/table_grid.h"

#include <algorithm>

namespace parvex {

namespace {
const std::string empty_cell;
}

Table_Grid::Table_Grid() : rows_(2), widths_(1, Default_Col_Width) {
    text_width = [](const std::string& s) { return static_cast<int>(s.size()) * 7; };
}

void Table_Grid::about_to_reset() {
    if (observer_)
        observer_->table_about_to_reset();
}

void Table_Grid::reset_done() {
    clamp_current();
    if (observer_)
        observer_->table_reset();
}

void Table_Grid::clamp_current() {
    cur_row_ = std::clamp(cur_row_, 0, std::max(0, Row_Count() - 1));
    cur_col_ = std::clamp(cur_col_, 0, std::max(0, col_count_ - 1));
}

void Table_Grid::Set_Row_Count(int rows) {
    rows = std::max(rows, 1);
    if (rows == Row_Count())
        return;
    about_to_reset();
    rows_.resize(static_cast<std::size_t>(rows));
    reset_done();
}

void Table_Grid::Set_Col_Count(int cols) {
    cols = std::max(cols, 1);
    if (cols == col_count_)
        return;
    about_to_reset();
    col_count_ = cols;
    for (auto& row : rows_)
        if (static_cast<int>(row.size()) > cols)
            row.resize(static_cast<std::size_t>(cols));
    widths_.resize(static_cast<std::size_t>(cols), Default_Col_Width);
    if (sort_col_ >= cols)
        sort_col_ = -1;
    reset_done();
}

const std::string& Table_Grid::Cell(int col, int row) const {
    if (row < 0 || row >= Row_Count() || col < 0 || col >= col_count_)
        return empty_cell;
    const auto& r = rows_[static_cast<std::size_t>(row)];
    if (static_cast<std::size_t>(col) >= r.size())
        return empty_cell;
    return r[static_cast<std::size_t>(col)];
}

void Table_Grid::Set_Cell(int col, int row, std::string text) {
    if (row < 0 || row >= Row_Count() || col < 0 || col >= col_count_)
        return;
    auto& r = rows_[static_cast<std::size_t>(row)];
    if (static_cast<std::size_t>(col) >= r.size()) {
        if (text.empty())
            return;
        r.resize(static_cast<std::size_t>(col) + 1);
    }
    if (r[static_cast<std::size_t>(col)] == text)
        return;
    r[static_cast<std::size_t>(col)] = std::move(text);
    if (observer_)
        observer_->cell_changed(col, row);
}

void Table_Grid::Clear_Cells() {
    about_to_reset();
    for (auto& row : rows_)
        row.clear();
    reset_done();
}

void Table_Grid::Add_Row() {
    about_to_reset();
    rows_.emplace_back();
    reset_done();
}

void Table_Grid::Assign(std::vector<std::vector<std::string>> rows, int cols) {
    about_to_reset();
    rows_ = std::move(rows);
    if (rows_.empty())
        rows_.emplace_back();
    col_count_ = std::max(cols, 1);
    for (auto& row : rows_)
        if (static_cast<int>(row.size()) > col_count_)
            row.resize(static_cast<std::size_t>(col_count_));
    widths_.resize(static_cast<std::size_t>(col_count_), Default_Col_Width);
    if (sort_col_ >= col_count_)
        sort_col_ = -1;
    reset_done();
}

void Table_Grid::Set_Current(int col, int row) {
    int old_row = cur_row_, old_col = cur_col_;
    cur_row_ = row;
    cur_col_ = col;
    clamp_current();
    if ((old_row != cur_row_ || old_col != cur_col_) && observer_)
        observer_->current_changed();
}

void Table_Grid::Note_Current_From_View(int col, int row) {
    cur_row_ = row;
    cur_col_ = col;
    clamp_current();
}

void Table_Grid::Sort_Rows(int col, const Sort_Options& options, bool follow_current) {
    if (col < 0 || col >= col_count_)
        return;
    if (editor_open && editor_open())
        return;
    const int first = Fixed_Rows();
    const int data_rows = Row_Count() - first;
    sort_col_ = col;
    sort_dir_ = options.direction;
    if (data_rows <= 1) {
        Repaint();
        return;
    }
    std::vector<std::string_view> keys;
    keys.reserve(static_cast<std::size_t>(data_rows));
    for (int r = first; r < Row_Count(); ++r)
        keys.emplace_back(Cell(col, r));
    std::vector<std::size_t> order = Sort_Order(keys, options);

    about_to_reset();
    std::vector<std::vector<std::string>> sorted;
    sorted.reserve(rows_.size());
    for (int r = 0; r < first; ++r)
        sorted.push_back(std::move(rows_[static_cast<std::size_t>(r)]));
    int new_current = cur_row_;
    for (std::size_t i = 0; i < order.size(); ++i) {
        int from = static_cast<int>(order[i]) + first;
        if (follow_current && from == cur_row_)
            new_current = static_cast<int>(i) + first;
        sorted.push_back(std::move(rows_[static_cast<std::size_t>(from)]));
    }
    rows_ = std::move(sorted);
    cur_row_ = new_current;
    reset_done();
}

int Table_Grid::Col_Width(int col) const {
    if (col < 0 || col >= static_cast<int>(widths_.size()))
        return Default_Col_Width;
    return widths_[static_cast<std::size_t>(col)];
}

void Table_Grid::Set_Col_Width(int col, int width) {
    if (col < 0 || col >= static_cast<int>(widths_.size()))
        return;
    widths_[static_cast<std::size_t>(col)] = std::max(width, 0);
    if (observer_)
        observer_->widths_changed();
}

void Table_Grid::Auto_Size_Columns(int margin) {
    for (int c = 0; c < col_count_; ++c) {
        int widest = 0;
        for (int r = 0; r < Row_Count(); ++r) {
            const std::string& text = Cell(c, r);
            if (text.empty())
                continue;
            const int header = r < Fixed_Rows() && header_width ? header_width(c) : -1;
            widest = std::max(widest, header >= 0 ? header : text_width(text));
        }
        widths_[static_cast<std::size_t>(c)] = widest + margin;
    }
    if (observer_)
        observer_->widths_changed();
}

void Table_Grid::Repaint() {
    if (observer_)
        observer_->repaint();
}

} // namespace parvex

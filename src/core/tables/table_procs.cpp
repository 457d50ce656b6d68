#include "tables/table_procs.h"

#include "tables/subs.h"
#include "tables/table_file.h"

#include <cctype>

namespace parvex {

namespace {

std::string list_word(const std::string& list, int n) {
    return Extract_Word(n, list, std::string_view("|", 1));
}

} // namespace

FileResult Load_Table(Table_Grid& grid) {
    const SG_Rec& rec = grid.Record();
    FileResult result = FileResult::success();
    bool loaded = false;
    if (!rec.File_Name.empty() && File_Exists(rec.File_Name)) {
        std::string bytes;
        result = Read_File(rec.File_Name, bytes);
        if (result) {
            Table_Text text = Parse_Table_Text(bytes);
            if (text.rows.size() == 1)
                text.rows.emplace_back();
            // One step straight to the record's column count: a damaged file with a huge line
            // never makes the grid that wide.
            grid.Assign(std::move(text.rows), rec.Col_Count);
            loaded = true;
        }
    }
    if (!loaded) {
        if (grid.Row_Count() == 1)
            grid.Set_Row_Count(2);
        grid.Set_Col_Count(rec.Col_Count);
    }
    for (int c = 0; c < rec.Col_Count; ++c)
        grid.Set_Cell(c, 0, list_word(rec.Col_Heads, c + 1));
    Initial_Sort(grid);
    Apply_Widths(grid);
    return result;
}

FileResult Save_Table(Table_Grid& grid) {
    Purge_Table(grid);
    return Save_Table_File(grid, grid.Record().File_Name);
}

bool Row_Is_Empty(const Table_Grid& grid, int row, int col_count, int skip_col) {
    for (int c = 0; c < col_count; ++c)
        if (c != skip_col && !grid.Cell(c, row).empty())
            return false;
    return true;
}

void Purge_Table(Table_Grid& grid) {
    const SG_Rec& rec = grid.Record();
    const int del = rec.Delete_Col;
    Sort_Options options;
    if (del >= 0)
        Sort_Column(grid, del, true, options, false, false, true);

    // Rows that are to go are dropped at once rather than emptied and sorted to the end: a kept
    // row with an empty first cell could otherwise sort behind an emptied one and keep it alive.
    std::vector<std::vector<std::string>> kept;
    for (int r = 0; r < grid.Fixed_Rows(); ++r)
        kept.push_back(grid.Row(r));
    for (int r = grid.Fixed_Rows(); r < grid.Row_Count(); ++r) {
        bool goes;
        if (del >= 0) {
            if (grid.Cell(del, r).empty())
                grid.Set_Cell(del, r, "False");
            goes = Is_True(grid.Cell(del, r)) || Row_Is_Empty(grid, r, rec.Col_Count, del);
        } else {
            goes = Row_Is_Empty(grid, r, rec.Col_Count, -1);
        }
        if (!goes)
            kept.push_back(grid.Row(r));
    }
    if (static_cast<int>(kept.size()) == grid.Fixed_Rows())
        kept.emplace_back(); // a table always keeps one (empty) data row
    grid.Assign(std::move(kept), grid.Col_Count());

    options.direction = Sort_Direction::Descending;
    grid.Sort_Rows(0, options);
}

void Clear_Table(Table_Grid& grid) {
    grid.Set_Row_Count(2);
    for (int c = 0; c < grid.Record().Col_Count; ++c)
        grid.Set_Cell(c, 1, "");
}

void Append_Row(Table_Grid& grid) {
    grid.Set_Current_Row(grid.Last_Row_Index());
    if (!grid.Cell(0, grid.Last_Row_Index()).empty()) {
        grid.Add_Row();
        grid.Set_Current_Row(grid.Last_Row_Index());
    }
}

void Apply_Widths(Table_Grid& grid) {
    const SG_Rec& rec = grid.Record();
    for (int i = 1; i <= rec.Col_Count; ++i)
        grid.Set_Col_Width(i - 1, Str_To_Int_Def(list_word(rec.Col_Widths, i), Default_Col_Width));
}

bool Find_Row(Table_Grid& grid, int col, std::string_view text) {
    for (int r = grid.Fixed_Rows(); r < grid.Row_Count(); ++r) {
        if (grid.Cell(col, r) == text) {
            grid.Set_Current_Row(r);
            return true;
        }
    }
    return false;
}

bool In_Header_Row(const Table_Grid& grid) {
    return grid.Current_Row() < grid.Fixed_Rows();
}

bool In_Data_Row(const Table_Grid& grid) {
    return grid.Current_Row() >= grid.Fixed_Rows();
}

bool In_Data_Cell(const Table_Grid& grid) {
    return In_Data_Row(grid) && grid.Current_Col() >= grid.Fixed_Cols();
}

void Sort_Column(Table_Grid& grid, int col, bool ascending, Sort_Options& options, bool go_top,
                 bool auto_size, bool do_sort) {
    if (grid.Record().File_Name.empty())
        return;
    if (auto style = Style_For_Type(Col_Type(grid.Record(), col)))
        options.style = *style;
    options.case_sensitive = grid.Case_Sensitive();
    if (do_sort)
        options.direction = ascending ? Sort_Direction::Ascending : Sort_Direction::Descending;
    if (!do_sort)
        return;
    grid.Sort_Rows(col, options);
    if (auto_size)
        grid.Auto_Size_Columns(Auto_Size_Margin);
    grid.Set_Current_Row(go_top ? 1 : grid.Last_Row_Index());
}

void Initial_Sort(Table_Grid& grid) {
    if (grid.Record().Sort_Col >= 0) {
        Sort_Options fresh;
        Sort_Column(grid, grid.Record().Sort_Col, true, fresh, true, true, true);
    }
}

void Sort_Descending(Table_Grid& grid, int col, Sort_Options& options) {
    Sort_Column(grid, col, false, options, true, true, true);
}

void Sort_By_Spec(Table_Grid& grid, int col, std::string_view sort_text) {
    auto letter = [&](std::size_t i) -> char {
        return i < sort_text.size()
                   ? static_cast<char>(std::toupper(static_cast<unsigned char>(sort_text[i])))
                   : '\0';
    };
    Sort_Options options;
    if (letter(0) == 'D')
        options.direction = Sort_Direction::Descending;
    switch (letter(1)) {
    case 'S':
        options.style = Sort_Style::Alphabetic;
        break;
    case 'N':
        options.style = Sort_Style::Numeric;
        break;
    case 'D':
        options.style = Sort_Style::Date_Time;
        break;
    case 'T':
        options.style = Sort_Style::Time;
        break;
    default:
        break;
    }
    options.case_sensitive = letter(2) == 'C';
    grid.Sort_Rows(col, options);
    // A fourth letter "A" asks for a second auto-size, which would give the same widths.
    grid.Auto_Size_Columns(Auto_Size_Margin);
    if (letter(4) == 'T')
        grid.Set_Current_Row(1);
    else if (letter(4) == 'B')
        grid.Set_Current_Row(grid.Last_Row_Index());
}

void Sort_By_Type(Table_Grid& grid, int col, bool ascending) {
    std::string sort_text(ascending ? "A" : "D");
    char type = Col_Type(grid.Record(), col);
    sort_text += type == '\0' ? 'A' : type;
    sort_text += "NNT";
    Sort_By_Spec(grid, col, sort_text);
}

void Note_Current_Row(Table_Grid& grid) {
    grid.Set_Last_Row(grid.Current_Row());
    grid.Repaint();
}

void Toggle_Cell(Table_Grid& grid, std::string_view first, std::string_view second) {
    if (!In_Data_Row(grid))
        return;
    const std::string& cell = grid.Cell(grid.Current_Col(), grid.Current_Row());
    grid.Set_Cell(grid.Current_Col(), grid.Current_Row(),
                  std::string(cell == first ? second : first));
}

void Toggle_Logical(Table_Grid& grid) {
    if (In_Data_Row(grid) && Col_Type(grid.Record(), grid.Current_Col()) == 'L')
        Toggle_Cell(grid, "False", "True");
}

} // namespace parvex

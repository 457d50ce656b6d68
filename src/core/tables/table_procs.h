#pragma once
// The table procedures the frame runs on its grids: loading and saving the table file,
// purging marked and empty rows, sorting by column type or sort text, row look-up and the
// toggling of logical cells. Each takes the grid first.

#include "platform/text_file.h"
#include "tables/table_grid.h"
#include "tables/table_sort.h"

#include <string>
#include <string_view>

namespace parvex {

// Loads the file (a missing file keeps the rows), then headers, initial sort and widths.
// Fails only when the file exists and cannot be read; the grid is still set up then.
[[nodiscard]] FileResult Load_Table(Table_Grid& grid);
// Purges, then writes the file; a failed write leaves the old file as it was. A grid without
// a file name is purged and the result says that there is nothing to write to.
[[nodiscard]] FileResult Save_Table(Table_Grid& grid);
void Purge_Table(Table_Grid& grid);
void Clear_Table(Table_Grid& grid);
void Append_Row(Table_Grid& grid);
void Apply_Widths(Table_Grid& grid);
bool Find_Row(Table_Grid& grid, int col, std::string_view text);
bool In_Header_Row(const Table_Grid& grid);
bool In_Data_Row(const Table_Grid& grid);
bool In_Data_Cell(const Table_Grid& grid);
bool Row_Is_Empty(const Table_Grid& grid, int row, int col_count, int skip_col);

void Sort_Column(Table_Grid& grid, int col, bool ascending, Sort_Options& options, bool go_top,
                 bool auto_size, bool do_sort);
void Initial_Sort(Table_Grid& grid);
void Sort_Descending(Table_Grid& grid, int col, Sort_Options& options);
// Five letters: direction A/D, style A/S/N/D/T, case C/N, auto-size A/N, current row T/B.
void Sort_By_Spec(Table_Grid& grid, int col, std::string_view sort_text);
void Sort_By_Type(Table_Grid& grid, int col, bool ascending);

void Note_Current_Row(Table_Grid& grid);
void Toggle_Logical(Table_Grid& grid);
void Toggle_Cell(Table_Grid& grid, std::string_view first, std::string_view second);

} // namespace parvex

#pragma once
// The "|"-separated table file: one line per grid row (header first), cells joined by "|",
// CR LF after every line, no quoting. The column count on reading is that of the longest line.

#include "platform/text_file.h"

#include <string>
#include <string_view>
#include <vector>

namespace parvex {

class Table_Grid;

struct Table_Text {
    std::vector<std::vector<std::string>> rows; // at least one row
    int cols = 1;                               // the most cells on any line, at least 1
};

// Any bytes give some rows: damaged or binary files are read like any other text.
Table_Text Parse_Table_Text(std::string_view bytes);
// A cell as it can be written: "|", CR and LF would split the row, so each becomes a blank.
std::string Clean_Cell(std::string_view cell);
// Every row of the grid, each with the grid's column count of cells.
std::string Table_To_Text(const Table_Grid& grid);

// Replaces the grid's rows and columns with the file's.
[[nodiscard]] FileResult Load_Table_File(Table_Grid& grid, const std::string& name);
// Writes the whole grid; the old file stays as it was when the write fails.
[[nodiscard]] FileResult Save_Table_File(const Table_Grid& grid, const std::string& name);

} // namespace parvex

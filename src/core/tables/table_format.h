#pragma once
// How grid cells are coloured: the seven grid colours shared by all grids, and the cell-format
// step that gives each drawn cell its alignment, background and contrasting font colour.

#include "tables/table_rec.h"

#include <array>
#include <cstdint>

namespace parvex {

class Table_Grid;

// Colours are platform values 00BBGGRR.
constexpr std::uint32_t RGB_Color(unsigned r, unsigned g, unsigned b) {
    return (r & 0xFFu) | ((g & 0xFFu) << 8) | ((b & 0xFFu) << 16);
}

// 1 even data rows, 2 odd data rows, 3 current row, 4 sorted column, 5 faulty data,
// 6 data group 1, 7 data group 2. Index 0 is colour 1.
using Grid_Color_Table = std::array<std::uint32_t, 7>;
Grid_Color_Table Default_Grid_Colors();
// The one table all grids read; the colour set-up overwrites it.
Grid_Color_Table& Grid_Colors();
std::uint32_t Grid_Color(int number); // number 1 .. 7

enum Draw_State : unsigned { Draw_None = 0, Draw_Selected = 1, Draw_Focused = 2, Draw_Fixed = 4 };

struct Cell_Format {
    std::uint32_t brush = RGB_Color(255, 255, 255);
    std::uint32_t font = 0;
    Cell_Align align = Cell_Align::Default;
};

// Alignment and colours of one drawn cell (column, row in grid numbering, header row 0).
void Format_Cell(Table_Grid& grid, int col, int row, Cell_Format& format, unsigned state);
// Background and contrasting font colour; with a real column the sort column and the even
// columns of the current row keep what the standard formatting gave them.
void Set_Cell_Color(const Table_Grid& grid, int col, int row, std::uint32_t color,
                    Cell_Format& format);

} // namespace parvex

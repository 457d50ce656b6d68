#include "tables/table_format.h"

#include "tables/subs.h"
#include "tables/table_grid.h"

namespace parvex {

Grid_Color_Table Default_Grid_Colors() {
    return {RGB_Color(225, 225, 225), RGB_Color(255, 255, 255), RGB_Color(191, 255, 255),
            RGB_Color(255, 255, 217), RGB_Color(255, 0, 0),     RGB_Color(0, 0, 255),
            RGB_Color(255, 128, 0)};
}

Grid_Color_Table& Grid_Colors() {
    static Grid_Color_Table colors = Default_Grid_Colors();
    return colors;
}

std::uint32_t Grid_Color(int number) {
    if (number < 1 || number > 7)
        return 0;
    return Grid_Colors()[static_cast<std::size_t>(number - 1)];
}

void Set_Cell_Color(const Table_Grid& grid, int col, int row, std::uint32_t color,
                    Cell_Format& format) {
    if (col >= 0) {
        if (col == grid.Sort_Col())
            return;
        if (row == grid.Current_Row() && col % 2 == 0)
            return;
    }
    format.brush = color;
    format.font = Contrast_Color(color);
}

void Format_Cell(Table_Grid& grid, int col, int row, Cell_Format& format, unsigned state) {
    if (grid.Last_Row() != grid.Current_Row()) {
        grid.Set_Last_Row(grid.Current_Row());
        grid.Repaint();
    }
    format.align = Col_Align(grid.Record(), col);
    if (state == Draw_Fixed)
        return;
    Set_Cell_Color(grid, -1, row, row % 2 != 0 ? Grid_Color(2) : Grid_Color(1), format);
    if (col == grid.Sort_Col())
        Set_Cell_Color(grid, -1, row, Grid_Color(4), format);
    if (state == Draw_Focused)
        Set_Cell_Color(grid, -1, row, RGB_Color(0, 0, 0), format);
    if (state == Draw_Selected)
        Set_Cell_Color(grid, -1, row, Grid_Color(3), format);
    if (row == grid.Last_Row())
        Set_Cell_Color(grid, -1, row, Grid_Color(3), format);
}

} // namespace parvex

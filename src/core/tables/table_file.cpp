#include "tables/table_file.h"

#include "tables/table_grid.h"
#include "tables/table_rec.h"

#include <algorithm>

namespace parvex {

Table_Text Parse_Table_Text(std::string_view bytes) {
    Table_Text out;
    TextList lines = Split_Lines(bytes);
    if (lines.empty())
        lines.emplace_back();
    out.rows.reserve(lines.size());
    for (const std::string& line : lines) {
        std::vector<std::string> cells;
        std::size_t start = 0;
        for (;;) {
            std::size_t sep = line.find(Field_Sep, start);
            if (sep == std::string::npos) {
                cells.emplace_back(line.substr(start));
                break;
            }
            cells.emplace_back(line.substr(start, sep - start));
            start = sep + 1;
        }
        out.cols = std::max(out.cols, static_cast<int>(cells.size()));
        // Trailing empty cells cost nothing to drop: a missing cell reads as empty.
        while (!cells.empty() && cells.back().empty())
            cells.pop_back();
        out.rows.push_back(std::move(cells));
    }
    return out;
}

std::string Clean_Cell(std::string_view cell) {
    std::string out(cell);
    for (char& c : out)
        if (c == Field_Sep || c == '\r' || c == '\n')
            c = ' ';
    return out;
}

std::string Table_To_Text(const Table_Grid& grid) {
    std::string out;
    for (int r = 0; r < grid.Row_Count(); ++r) {
        for (int c = 0; c < grid.Col_Count(); ++c) {
            if (c > 0)
                out += Field_Sep;
            const std::string& cell = grid.Cell(c, r);
            if (cell.find_first_of("|\r\n") == std::string::npos)
                out += cell;
            else
                out += Clean_Cell(cell);
        }
        out += "\r\n";
    }
    return out;
}

FileResult Load_Table_File(Table_Grid& grid, const std::string& name) {
    std::string bytes;
    FileResult r = Read_File(name, bytes);
    if (!r)
        return r;
    Table_Text text = Parse_Table_Text(bytes);
    grid.Assign(std::move(text.rows), text.cols);
    return r;
}

FileResult Save_Table_File(const Table_Grid& grid, const std::string& name) {
    if (name.empty())
        return FileResult::failure("Cannot write a table without a file name");
    return Write_File_Atomic(name, Table_To_Text(grid));
}

} // namespace parvex

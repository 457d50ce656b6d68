#include "language/trans_editor.h"

#include "language/lang_codec.h"
#include "tables/file_routines.h"
#include "tables/subs.h"
#include "tables/table_procs.h"

namespace parvex {

namespace {

std::string spaces_to_underscores(std::string s) {
    for (char& c : s)
        if (c == ' ')
            c = '_';
    return s;
}

std::string first_line(const TextList& lines) {
    return lines.empty() ? std::string() : lines.front();
}

} // namespace

std::string Trans_Group(std::string_view line) {
    const std::string upper = Upper_Ascii(line);
    std::string group = "???";
    for (std::string_view property : Lang_Properties)
        if (upper.find("." + Upper_Ascii(property) + "=") != std::string::npos)
            group = std::string(property);
    return group;
}

void Trans_Editor::Load(Table_Grid& grid, const TextList& current_file,
                        const TextList& builtin_file) {
    Clear_Table(grid);
    source_.clear();
    pending_nr_.clear();

    TextList tmp;
    Extract_Section(Version_Section, builtin_file, tmp);
    builtin_version_ = first_line(tmp);
    Extract_Section(Version_Section, current_file, tmp);
    saved_version_ = first_line(tmp);
    TextList lines;
    Extract_Section(Translations_Section, current_file, lines);

    builtin_lines_.clear();
    for (std::size_t i = 1; i < builtin_file.size(); ++i)
        builtin_lines_.insert(builtin_file[i]);

    std::vector<std::vector<std::string>> rows;
    rows.reserve(lines.size() + 1);
    rows.push_back(grid.Row(0));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        std::vector<std::string> row(5);
        row[trans_col::Nr] = std::to_string(i + 1);
        row[trans_col::Group] = Trans_Group(line);
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos) {
            row[trans_col::Text] = line;
        } else {
            row[trans_col::Key] = line.substr(0, eq);
            row[trans_col::Text] = line.substr(eq + 1);
        }
        rows.push_back(std::move(row));
    }
    if (rows.size() == 1)
        rows.emplace_back(5); // the one empty data row of a cleared table
    grid.Assign(std::move(rows), grid.Col_Count() > 5 ? grid.Col_Count() : 5);
    if (!lines.empty())
        for (int r = 1; r < grid.Row_Count(); ++r)
            grid.Set_Cell(trans_col::Org, r, Bool_To_Str(Find_Lang_Org(grid, r)));
    grid.Set_Current(trans_col::Text, 1);
    loaded_ = true;
}

bool Trans_Editor::Find_Lang_Org(const Table_Grid& grid, int row) const {
    if (row < 1 || row >= grid.Row_Count())
        return false;
    const std::string line = grid.Cell(trans_col::Key, row) + "=" +
                             spaces_to_underscores(grid.Cell(trans_col::Text, row));
    return builtin_lines_.count(line) > 0;
}

int Trans_Editor::Pending_Row(const Table_Grid& grid) const {
    if (pending_nr_.empty())
        return 0;
    for (int r = 1; r < grid.Row_Count(); ++r)
        if (grid.Cell(trans_col::Nr, r) == pending_nr_)
            return r;
    return 0;
}

void Trans_Editor::Drop_Pending(Table_Grid& grid) {
    if (const int row = Pending_Row(grid); row > 0)
        grid.Set_Cell(trans_col::Text, row, source_);
    source_.clear();
    pending_nr_.clear();
}

bool Trans_Editor::Click(Table_Grid& grid, int col, int row) {
    Drop_Pending(grid);
    // The NR. identifies the row also after a sort; a row without one cannot be pending.
    if (col != trans_col::Text || row < 1 || row >= grid.Row_Count() ||
        grid.Cell(trans_col::Nr, row).empty())
        return false;
    source_ = grid.Cell(trans_col::Text, row);
    pending_nr_ = grid.Cell(trans_col::Nr, row);
    return true;
}

void Trans_Editor::Replace(Table_Grid& grid) {
    const int row = Pending_Row(grid);
    if (row == 0)
        return;
    grid.Set_Cell(trans_col::Org, row, "False");
    pending_nr_.clear();
    grid.Repaint();
}

void Trans_Editor::Replace_All(Table_Grid& grid) {
    const int row = Pending_Row(grid);
    if (row == 0)
        return;
    grid.Set_Cell(trans_col::Org, row, "False");
    const std::string edited = grid.Cell(trans_col::Text, row);
    for (int r = 1; r < grid.Row_Count(); ++r)
        if (grid.Cell(trans_col::Text, r) == source_) {
            grid.Set_Cell(trans_col::Text, r, edited);
            grid.Set_Cell(trans_col::Org, r, "False");
        }
    pending_nr_.clear();
    grid.Repaint();
}

TextList Trans_Editor::Save_Lines(Table_Grid& grid) {
    Drop_Pending(grid);
    TextList lines;
    lines.push_back("[" + std::string(Translations_Section) + "]");
    for (int r = 1; r < grid.Row_Count(); ++r) {
        const std::string& key = grid.Cell(trans_col::Key, r);
        if (key.empty())
            continue;
        lines.push_back(key + "=" + spaces_to_underscores(grid.Cell(trans_col::Text, r)));
    }
    lines.push_back("[" + std::string(Version_Section) + "]");
    if (!saved_version_.empty())
        lines.push_back(saved_version_);
    return lines;
}

} // namespace parvex

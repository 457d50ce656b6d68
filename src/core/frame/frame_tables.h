#pragma once
// The frame's eight tables as plain data: grid name, file, column description and what the
// start-up does with each, plus the four the close step saves. The table grid takes these over
// into its own table record.

#include <array>
#include <string>
#include <string_view>

namespace parvex {

// Where a table's file lies: the data folder (which "GUI-Data Directory" may redirect) or
// always "GUI/Data/" under the program folder.
enum class Table_Folder { Data, GUI_Data };

// What the start-up runs on a table after giving it its description.
enum class Table_Startup {
    Load_Purge,             // Load_Table, then Purge_Table
    Clear_Six_Rows,         // Clear_Table, then six rows; the file is not read here
    Load_Purge_Sort_Desc,   // Load_Table, Purge_Table, then Sort_Descending on `startup_col`
    Load_Sort_By_Type_Desc, // Load_Table, then Sort_By_Type on `startup_col`, descending
    Load_Only,              // Load_Table
};

struct Frame_Table_Def {
    std::string_view grid_name;
    Table_Folder folder;
    std::string_view file; // file name inside the folder
    std::string_view col_types;
    std::string_view col_aligns;
    std::string_view col_heads;  // separated by "|"
    std::string_view col_widths; // separated by "|"
    int col_count;
    int sort_col;   // -1: none
    int delete_col; // -1: none
    Table_Startup startup;
    int startup_col = -1; // the column the start-up sorts on, where it sorts
};

// In the order the start-up sets them up.
extern const std::array<Frame_Table_Def, 8> Frame_Tables;

// Grid names of the tables the close step saves, in that order.
inline constexpr std::array<std::string_view, 4> Frame_Tables_Saved_At_Close{
    "fb_SG_Sound", "fb_sg_Lang", "fb_SG_Predef", "fb_sg_SpS"};

const Frame_Table_Def* Find_Frame_Table(std::string_view grid_name);

// The table's full file name for the given folders (both ending in "/").
std::string Frame_Table_File(const Frame_Table_Def& table, std::string_view data_dir,
                             std::string_view gui_data_dir);

} // namespace parvex

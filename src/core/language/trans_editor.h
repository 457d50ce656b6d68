#pragma once
// The translation editor's table and editing state: one row per entry of the current language
// file (NR., Group, Text, Key, Org.), the row whose Text is being edited, and the lines written
// back by "Save Language". The window binds it to its grid, buttons and labels.

#include "platform/text_file.h"
#include "tables/table_grid.h"

#include <string>
#include <string_view>
#include <unordered_set>

namespace parvex {

namespace trans_col {
inline constexpr int Nr = 0;
inline constexpr int Group = 1;
inline constexpr int Text = 2;
inline constexpr int Key = 3;
inline constexpr int Org = 4;
} // namespace trans_col

// "Caption", "Hint", "DialogTitle", "DialogText" or "???"; a later hit in the line wins.
std::string Trans_Group(std::string_view line);

class Trans_Editor {
public:
    // Fills the grid from the current language file and the built-in language file (their whole
    // lines; a missing file is an empty list). Texts are kept whole, however long.
    void Load(Table_Grid& grid, const TextList& current_file, const TextList& builtin_file);
    bool Loaded() const { return loaded_; }

    // The first line of "[Version-INFO]" of the built-in file and of the current file.
    const std::string& Builtin_Version() const { return builtin_version_; }
    const std::string& Saved_Version() const { return saved_version_; }

    // Key=Text (spaces of Text as "_") is a line of the built-in file after its first line.
    bool Find_Lang_Org(const Table_Grid& grid, int row) const;

    // A click into a cell: an unconfirmed edit is dropped; a Text cell of a data row becomes the
    // pending one. True when that cell may now be edited.
    bool Click(Table_Grid& grid, int col, int row);
    // Drops an unconfirmed edit (as a click outside the Text cells does).
    void Drop_Pending(Table_Grid& grid);
    // The pending row's grid row (0 when none); it follows the row when the table is sorted.
    int Pending_Row(const Table_Grid& grid) const;
    const std::string& Source_Text() const { return source_; }

    // "Replace": the pending row keeps its edit and is marked translated.
    void Replace(Table_Grid& grid);
    // "Replace ALL": every row whose Text equals the source text takes the pending row's Text.
    void Replace_All(Table_Grid& grid);

    // The file "Save Language" writes, in table order; rows without a key are left out and an
    // unconfirmed edit is dropped first.
    TextList Save_Lines(Table_Grid& grid);

private:
    std::unordered_set<std::string> builtin_lines_;
    std::string builtin_version_;
    std::string saved_version_;
    std::string source_;
    std::string pending_nr_; // NR. of the pending row; "" when none
    bool loaded_ = false;
};

} // namespace parvex

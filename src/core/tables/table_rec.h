#pragma once
// The description a grid carries of its table: file, column types, headers, widths, alignments,
// column count, initial sort column and delete-mark column; plus the constants of table files.

#include <cstdint>
#include <string>

namespace parvex {

struct SG_Rec {
    std::string File_Name;  // full path of the table file; empty = the table has no file
    std::string Col_Types;  // one type letter per column: S, N, D, T, L
    std::string Col_Heads;  // header texts, "|"-separated
    std::string Col_Widths; // widths in pixels, "|"-separated
    std::string Col_Aligns; // one alignment letter per column: L, C, R
    std::int32_t Col_Count = 1;
    std::int32_t Sort_Col = -1;   // sorted ascending after loading; -1 = none
    std::int32_t Delete_Col = -1; // the "m4D" column; -1 = none

    bool operator==(const SG_Rec&) const = default;
};

inline constexpr char Field_Sep = '|';
inline constexpr int Auto_Size_Margin = 5;
inline constexpr int Default_Col_Width = 60;
inline constexpr const char* Delete_Mark_Head = "m4D";

enum class Cell_Align { Default, Left, Center, Right };

// The type letter of a column ("" when the record names none) and its alignment.
char Col_Type(const SG_Rec& rec, int col);
Cell_Align Col_Align(const SG_Rec& rec, int col);

} // namespace parvex

#include "tables/table_rec.h"

namespace parvex {

char Col_Type(const SG_Rec& rec, int col) {
    if (col < 0 || static_cast<std::size_t>(col) >= rec.Col_Types.size())
        return '\0';
    return rec.Col_Types[static_cast<std::size_t>(col)];
}

Cell_Align Col_Align(const SG_Rec& rec, int col) {
    if (col < 0 || static_cast<std::size_t>(col) >= rec.Col_Aligns.size())
        return Cell_Align::Default;
    switch (rec.Col_Aligns[static_cast<std::size_t>(col)]) {
    case 'L':
        return Cell_Align::Left;
    case 'C':
        return Cell_Align::Center;
    case 'R':
        return Cell_Align::Right;
    default:
        return Cell_Align::Default;
    }
}

} // namespace parvex

#pragma once
// Colour edits: a line edit whose background is a colour, whose text is that colour's name and
// whose text colour contrasts with it; and the colour dialog that picks a new one.

#include <QString>
#include <cstdint>

class QColorDialog;
class QLineEdit;

namespace parvex {

// Opens the dialog preset to `color`; the chosen colour when the user confirms, else `color`.
std::uint32_t Choose_Color(std::uint32_t color, QColorDialog& dialog);

// Sets the edit to the colour named by `name` (a table name or a number). A text that names no
// colour leaves the edit unchanged and gives false.
[[nodiscard]] bool Set_Edit_Color(QLineEdit& edit, const QString& name);
void Set_Edit_Color_Value(QLineEdit& edit, std::uint32_t color);
// The edit's colour value (its background); clWhite when it was never set.
std::uint32_t Edit_Color(const QLineEdit& edit);
void Pick_Edit_Color(QLineEdit& edit, QColorDialog& dialog);

} // namespace parvex

#pragma once
// Which Qt property stands for the translated properties "Caption", "Hint", "DialogTitle" and
// "DialogText" on each kind of widget. Texts a user types (edits, combo boxes) have none.

#include <QString>

#include <optional>
#include <string_view>

class QObject;

namespace parvex {

// Caption: a tab page's tab text, a label's or a button's text, a group box's title.
// Hint: a widget's or an action's tool tip. TextHint: a field's placeholder text. DialogTitle /
// DialogText: a file or folder edit's dialog title and its filter or dialog text (a "dialogTitle" /
// "dialogText" or "filter" property). Nothing when the object has no such property.
std::optional<QString> Read_Lang_Property(const QObject* object, std::string_view property);

// Sets the text; false when the object has no such property. Labels are switched to plain
// text and tool tips are shown literally, so a language file cannot inject rich text.
bool Write_Lang_Property(QObject* object, std::string_view property, const QString& text);

} // namespace parvex

#pragma once
// Reads and writes a persisted property on the component of that name: texts of edits and
// labels, colour values of colour edits, values of spin edits and sliders, checked states of
// switches and the active page of page controls.

#include "frame/stored_property.h"

#include <QString>
#include <optional>

class QObject;

namespace parvex {

// The property's current text, or nothing when the window has no such component or the
// component has no such property.
std::optional<QString> Read_Stored(const QObject& root, const Stored_Property& property);
// Sets the property from its stored text; false when the component is missing or the text does
// not fit it (the component then keeps its value).
bool Write_Stored(QObject& root, const Stored_Property& property, const QString& value);

} // namespace parvex

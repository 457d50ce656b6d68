#pragma once
// Gives every button of a window that is pressed by Alt + a letter its letter for the caption it
// shows now: after a language was applied a caption keeps its letter where it holds it, else it
// gets a free one, and no two buttons shown at the same time share a letter.

class QWidget;

namespace parvex {

void Assign_Mnemonics(QWidget* window);

} // namespace parvex

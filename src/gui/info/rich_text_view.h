#pragma once
// Puts a rich-text document of the core reader into a text view. The view's own link following
// stays off: addresses are handed on by whoever listens to its anchorClicked signal.

#include "richtext/rich_document.h"

class QTextEdit;

namespace parvex {

// Replaces the view's text with the document. With `links` the runs that carry an address are
// shown and work as links; without, they are plain text in their own style.
void Show_Rich_Document(QTextEdit* view, const rich::Document& doc, bool links);

} // namespace parvex

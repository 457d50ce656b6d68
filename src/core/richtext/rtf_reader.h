#pragma once
// Reads the rich-text subset that common editors write (groups, paragraphs, line breaks, tabs,
// bold, italic, underline, font size, colour table, alignment, hex and Unicode escapes and
// HYPERLINK fields) into the neutral document; every other destination and control word is
// skipped. One pass over the bytes with an explicit group stack: no recursion, so no input can
// exhaust the call stack, and both nesting and size are capped.

#include "richtext/rich_document.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace parvex::rich {

struct Reader_Limits {
    std::size_t max_bytes = 4u << 20; // input beyond this is not read
    std::size_t max_depth = 200;      // deeper groups are read in the style of the deepest one
};

// Reads the document up to the brace that closes its outermost group; anything after it (the
// checksum line of a shipped page) is not part of the document. Input that does not begin with
// "{\rtf" is taken as plain Windows-1252 text, one paragraph per line.
Document Read_Rtf(std::string_view bytes, const Reader_Limits& limits = {});

// Splits every run without a link at the plain addresses it contains ("http://", "https://",
// "www." and "mailto:"), so they become links the way a rich-edit control shows them; "www."
// addresses link to "http://" + the text.
void Link_Plain_Addresses(Document& doc);

// The code point of a Windows-1252 byte (bytes 0x80..0x9F that have no character give U+FFFD).
char32_t Windows_1252(unsigned char byte);
void Append_Utf8(std::string& out, char32_t code_point);

} // namespace parvex::rich

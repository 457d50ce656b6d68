#pragma once
// Text for the cross-reference site: the one escaping of text placed into HTML, the one of paths
// placed into links, strings for its data scripts, and the form in which a source's bytes are
// shown (UTF-8, control characters made visible).

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace parvex::site {

// Text for an HTML element or a quoted attribute: & < > " ' escaped.
std::string Html_Escape(std::string_view text);
// A relative path for a link: every byte but letters, digits, "-._~" and "/" as %XX, so that
// names with blanks, "#", "%", "?", quotes or any other byte lead to the file they name.
std::string Url_Escape(std::string_view path);
// Appends the text as a double-quoted JavaScript string; the text is UTF-8. Other control
// characters than CR, LF and NUL go in as they are (the pages use a few as markers).
void Append_Js_String(std::string& out, std::string_view utf8);

// The bytes of a line or a name as the site shows them: as they are when the whole text is
// valid UTF-8 (`utf8`), else read as Latin-1; control characters but TAB as their pictures
// (U+2400 on), so that a page shows them and no marker of the page's own can be forged.
void Append_Display(std::string& out, std::string_view bytes, bool utf8);
std::string Display_Name(std::string_view bytes);

// ASCII letters in capitals, as the token index compares words.
void Append_Upper_Ascii(std::string& out, std::string_view text);

// The number the pages give a key (FNV-1a over its UTF-16 code units): the site's scripts work
// it out the same way to find the data file of a word.
std::uint32_t Key_Hash(std::string_view utf8);

// A number in the site's occurrence streams: five bits to a character, the low bits first; the
// last character of a number comes from another alphabet than the ones before it.
void Append_Varint(std::string& out, std::uint64_t value);
// Reads one number at `at` (moved past it); false at the end or on a foreign character.
bool Read_Varint(std::string_view text, std::size_t& at, std::uint64_t& value);

// The occurrences of one key, as the site stores them: for each file in order an odd number
// (twice the step from the file before, less one; the first file steps from -1), the first line,
// then twice the step to each further line. Cut into parts of about `part_bytes`, each starting
// with a whole file and readable on its own.
std::vector<std::string> Cut_Occurrences(std::string_view stream, std::size_t part_bytes);
// The files and lines of such a stream.
std::vector<std::pair<std::uint32_t, std::vector<std::uint32_t>>>
Occurrence_Groups(std::string_view stream);

} // namespace parvex::site

#pragma once
// The difference between a source and its new text as a unified diff with three lines of
// context, the way `diff -u` prints it, so that `patch -p1` applies it.

#include <string>
#include <string_view>

namespace parvex::cli {

// Empty when the texts are equal. Lines are compared with their line ends; `name` follows
// "a/" and "b/" in the header. Lines are paired by number (a listing never adds or removes
// one); where the counts differ, the rest forms one hunk.
// With `colour`, terminal colours mark the headers, the hunks and the lines taken out and put
// in; each colour ends before the line's end, so the text of every line stays as it was.
std::string Unified_Diff(std::string_view name, std::string_view old_text,
                         std::string_view new_text, bool colour = false);

} // namespace parvex::cli

#pragma once
// How the log viewer shows a log line: its TAB-separated fields set apart in columns.

#include <string>
#include <string_view>

namespace parvex {

inline constexpr int Log_View_Tab_Width = 8;
inline constexpr int Log_View_Min_Gap = 2;

// Every TAB goes to the next multiple of Log_View_Tab_Width that leaves at least
// Log_View_Min_Gap blanks, so neighbouring fields never touch. Columns count bytes; a field
// with multi-byte characters may look a little narrower, never joined to the next.
std::string Log_View_Line(std::string_view line);

} // namespace parvex

#pragma once
// File names in line-based output, quoted as git quotes them: a name holding a control
// character, a double quote or a backslash is put in double quotes with C-style escapes
// ("a\tb.pas", "new\nline.pas", "\033x.pas"), so that one line is one name. Other names,
// UTF-8 ones included, stay as they are.

#include <string>
#include <string_view>

namespace parvex::cli {

std::string Quote_Name(std::string_view name);

// The control characters of a message (a system error naming a file) escaped the same way,
// without quotes around it: a message stays on its line.
std::string Escape_Controls(std::string_view text);

} // namespace parvex::cli

#pragma once
// The desktop program's own command line: --help and --version answered before any window,
// unknown options refused, and the file names that are taken in as if dropped.

#include <QStringList>
#include <string>

namespace parvex {

struct Command_Line {
    enum class Action { Run, Print };
    Action action = Action::Run;
    std::string output; // what to print for Action::Print
    int exit_code = 0;
};

// Looks only at our own options; Qt's (-platform, -style, ...) are left to QApplication.
Command_Line Parse_Command_Line(int argc, char** argv);
// The help text (the manual page parvex.1 says the same at more length).
std::string Help_Text();
// File names made absolute, options and empty names left out.
QStringList Absolute_File_Names(const QStringList& args);

} // namespace parvex

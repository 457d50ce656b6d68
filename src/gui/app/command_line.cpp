#include "app/command_line.h"

#include <QFileInfo>
#include <string_view>

namespace parvex {

std::string Help_Text() {
    return "Usage: parvex [OPTION]... [FILE]...\n"
           "\n"
           "The desktop program of Zivadu-Zedu Parvex: lists Pascal sources. Every identifier\n"
           "and keyword is rewritten in one letter case, the END of each routine gets a\n"
           "\"{ of Name }\" remark, and string literals, numbers and tokens are collected with\n"
           "their line numbers. Each FILE is taken in as if it were dropped on the window\n"
           "(the first one is selected for the next run).\n"
           "\n"
           "Options:\n"
           "  -h, --help     show this help and exit\n"
           "  --version      show the program version and exit\n"
           "\n"
           "Qt's own options (-platform NAME, -style NAME, ...) are accepted too.\n"
           "\n"
           "Files:\n"
           "  When the program's folder can be written (a build or portable copy), the\n"
           "  settings file parvex.INI and the folders Dont/, Data/ and GUI/ lie beside the\n"
           "  program. Installed, the settings file lies in $XDG_CONFIG_HOME/parvex/\n"
           "  (~/.config/parvex/) and the folders in $XDG_DATA_HOME/parvex/\n"
           "  (~/.local/share/parvex/), copied from the installation data at the first start.\n";
}

Command_Line Parse_Command_Line(int argc, char** argv) {
    Command_Line cl;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            cl.action = Command_Line::Action::Print;
            cl.output = Help_Text();
            return cl;
        }
        if (arg == "--version") {
            cl.action = Command_Line::Action::Print;
            cl.output = std::string("parvex ") + PARVEX_VERSION + "\n";
            return cl;
        }
        if (arg == "--")
            break;
        // Qt's options take one dash; two dashes are ours, and we have no others.
        if (arg.size() > 2 && arg.substr(0, 2) == "--") {
            cl.action = Command_Line::Action::Print;
            cl.output = "parvex: unknown option " + std::string(arg) + " (see parvex --help)\n";
            cl.exit_code = 2;
            return cl;
        }
    }
    return cl;
}

QStringList Absolute_File_Names(const QStringList& args) {
    QStringList files;
    bool options_done = false;
    for (const QString& arg : args) {
        if (!options_done && arg == QLatin1String("--")) {
            options_done = true;
            continue;
        }
        if (arg.isEmpty() || (!options_done && arg.startsWith(QLatin1Char('-'))))
            continue;
        files << QFileInfo(arg).absoluteFilePath();
    }
    return files;
}

} // namespace parvex

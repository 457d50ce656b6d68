#pragma once
// Without a display Qt ends the program with an abort and a page of plugin names. The window
// asks first, and turns a display that cannot be opened into one line and exit status 2.

#include "frame/app_folders.h"

#include <string>

namespace parvex {

// The line to print when there is plainly no display to open the window on, or "" when the
// window may try: a display is named, or the user chose Qt's platform (QT_QPA_PLATFORM,
// -platform), which is left to Qt.
std::string No_Display_Line(int argc, char** argv, const Env_Lookup& env);

// Called around the making of QApplication: a platform that fails to start ends the program
// with one line naming the display and exit status 2; what Qt said meanwhile is printed only
// once the start succeeded.
void Watch_Display_Start();
void End_Display_Watch();

} // namespace parvex

#pragma once
// SIGTERM and SIGINT close the program's windows the polite way (a session logout, `kill`), so
// the settings are saved as at a normal close.

namespace parvex {

void Close_On_Term_Signal(); // call once, after the QApplication exists
bool Term_Signal_Received(); // a signal came in (also before any window was up)

} // namespace parvex

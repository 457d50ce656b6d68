#pragma once
// SIGTERM and SIGINT close the program's windows the polite way (a session logout, `kill`), so
// the settings are saved as at a normal close.

#include <functional>

class QWidget;

namespace parvex {

// Call once, after the QApplication exists; the windows close once `ready` says so.
void Close_On_Term_Signal(std::function<bool()> ready);
bool Term_Signal_Received(); // a signal came in (also before any window was up)
// Ends the event loop once the main window has closed, whatever other window is still up.
void Quit_When_Closed(QWidget* main_window);

} // namespace parvex

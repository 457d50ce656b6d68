#pragma once
// A message the engine hands to its caller: which façade operation shows it, title and text (the
// text may carry the dialog mark-up "^C:", "^F:...^", "^P:...^").

#include <string>

namespace parvex {

enum class MessageKind {
    Mess,          // shown for `seconds` (0: stays up while the caller works)
    M_Mess,        // medium display time
    L_Mess,        // long display time
    L_Error,       // error look, long display time
    General_Error, // the general error report (a message box)
};

struct EngineMessage {
    MessageKind kind = MessageKind::Mess;
    std::string title;
    std::string text;
    int seconds = 0; // only for Mess

    bool operator==(const EngineMessage&) const = default;
};

// The error text for a source name that names no readable file: a folder is called a folder,
// anything else does not exist.
std::string Missing_Source_Text(const std::string& file_name);

} // namespace parvex

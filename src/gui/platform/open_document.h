#pragma once
// Hands a web or mail address, or an existing local document, to the system's opener. Anything
// else (a command line, an unknown scheme, a program file) is refused with a reason.

#include <QString>
#include <QUrl>
#include <functional>

namespace parvex {

struct [[nodiscard]] Open_Result {
    bool ok = true;
    QString error; // the message for the user when refused or when the system failed
    explicit operator bool() const { return ok; }
};

// An empty path does nothing and succeeds.
Open_Result Open_Document(const QString& path);

// Test hook: replaces the system's opener (QDesktopServices::openUrl); pass {} to restore it.
void Set_Document_Opener(std::function<bool(const QUrl&)> opener);

} // namespace parvex

#pragma once
// Table cells are 8-bit bytes; the grid shows them as UTF-8 when they are valid UTF-8, else as
// Latin-1, and turns edited text back into bytes without touching cells the user left alone.

#include <QColor>
#include <QString>

#include <cstdint>
#include <string>

namespace parvex {

QString Bytes_To_Text(const std::string& bytes);
// The bytes for an edited text: the original bytes when the text still shows them, else UTF-8
// (Latin-1 when the original was not UTF-8 and the text fits in Latin-1).
std::string Text_To_Bytes(const QString& text, const std::string& original);
// True when the text has no character that would split a table row ("|", CR, LF).
bool Is_Cell_Text(const QString& text);

// Platform colour values are 00BBGGRR.
inline QColor To_QColor(std::uint32_t c) {
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                  static_cast<int>((c >> 16) & 0xFF));
}

} // namespace parvex

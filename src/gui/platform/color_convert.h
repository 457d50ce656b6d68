#pragma once
// Platform colour values (00BBGGRR, system colours as $80000000 + number) to and from QColor.

#include <QColor>
#include <cstdint>

namespace parvex {

// System colours resolve through the application palette; clNone gives a transparent colour.
QColor To_QColor(std::uint32_t value);
std::uint32_t From_QColor(const QColor& color);
inline QColor Rgb(int r, int g, int b) {
    return QColor(r, g, b);
}

} // namespace parvex

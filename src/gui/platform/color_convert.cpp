#include "platform/color_convert.h"

#include "tables/color_names.h"

#include <QApplication>
#include <QPalette>

namespace parvex {

namespace {

QColor system_color(int number) {
    const QPalette pal = QApplication::palette();
    switch (number) {
    case 0:  // scroll bar
    case 15: // button face
    case 4:  // menu
    case 30: // menu bar
        return pal.color(QPalette::Button);
    case 1:  // desktop
    case 12: // application work space
        return pal.color(QPalette::Dark);
    case 2:  // active caption
    case 13: // highlight
    case 29: // menu highlight
        return pal.color(QPalette::Highlight);
    case 3:  // inactive caption
    case 28: // gradient inactive caption
        return pal.color(QPalette::Inactive, QPalette::Highlight).lighter(130);
    case 27: // gradient active caption
        return pal.color(QPalette::Highlight).lighter(160);
    case 5: // window
        return pal.color(QPalette::Base);
    case 6:  // window frame
    case 21: // 3D dark shadow
        return pal.color(QPalette::Shadow);
    case 7:  // menu text
    case 8:  // window text
    case 18: // button text
        return pal.color(QPalette::WindowText);
    case 9:  // caption text
    case 14: // highlight text
        return pal.color(QPalette::HighlightedText);
    case 10: // active border
    case 11: // inactive border
        return pal.color(QPalette::Window);
    case 16: // button shadow
        return pal.color(QPalette::Mid);
    case 17: // grey text
        return pal.color(QPalette::Disabled, QPalette::WindowText);
    case 19: // inactive caption text
        return pal.color(QPalette::Disabled, QPalette::HighlightedText);
    case 20: // button highlight
        return pal.color(QPalette::Light);
    case 22: // 3D light
        return pal.color(QPalette::Midlight);
    case 23: // info text
        return pal.color(QPalette::ToolTipText);
    case 24: // info background
        return pal.color(QPalette::ToolTipBase);
    case 26: // hot light
        return pal.color(QPalette::Link);
    default:
        return pal.color(QPalette::Window);
    }
}

} // namespace

QColor To_QColor(std::uint32_t value) {
    if (value == clNone)
        return QColor(Qt::transparent);
    if (value == clDefault)
        return QApplication::palette().color(QPalette::Window);
    if (Is_System_Color(value))
        return system_color(System_Color_Number(value));
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

std::uint32_t From_QColor(const QColor& color) {
    QColor c = color.toRgb();
    return static_cast<std::uint32_t>(c.red()) | (static_cast<std::uint32_t>(c.green()) << 8) |
           (static_cast<std::uint32_t>(c.blue()) << 16);
}

} // namespace parvex

#include "platform/color_edit.h"

#include "platform/color_convert.h"
#include "tables/color_names.h"
#include "tables/subs.h"

#include <QColorDialog>
#include <QLineEdit>
#include <QVariant>

namespace parvex {

namespace {

constexpr const char* color_property = "colorValue";

} // namespace

std::uint32_t Choose_Color(std::uint32_t color, QColorDialog& dialog) {
    dialog.setCurrentColor(To_QColor(color));
    if (dialog.exec() == QDialog::Accepted && dialog.selectedColor().isValid())
        return From_QColor(dialog.selectedColor());
    return color;
}

void Set_Edit_Color_Value(QLineEdit& edit, std::uint32_t color) {
    edit.setProperty(color_property, QVariant::fromValue<quint32>(color));
    QPalette pal = edit.palette();
    QColor background = To_QColor(color);
    pal.setColor(QPalette::Base, background);
    // The contrast of a system colour is taken from the colour it stands for here.
    pal.setColor(QPalette::Text, To_QColor(Contrast_Color(From_QColor(background))));
    edit.setPalette(pal);
    edit.setText(QString::fromStdString(Color_To_Name(color)));
}

bool Set_Edit_Color(QLineEdit& edit, const QString& name) {
    std::optional<std::uint32_t> value = Name_To_Color(name.trimmed().toStdString());
    if (!value)
        return false;
    Set_Edit_Color_Value(edit, *value);
    return true;
}

std::uint32_t Edit_Color(const QLineEdit& edit) {
    QVariant v = edit.property(color_property);
    return v.isValid() ? v.value<quint32>() : 0x00FFFFFFu;
}

void Pick_Edit_Color(QLineEdit& edit, QColorDialog& dialog) {
    std::uint32_t current = Edit_Color(edit);
    std::uint32_t chosen = Choose_Color(current, dialog);
    // Cancelling keeps the colour, including a system colour's name.
    Set_Edit_Color_Value(edit, chosen);
}

} // namespace parvex

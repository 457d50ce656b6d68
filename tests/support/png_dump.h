#pragma once
// Saves a picture of a widget into the build's png/ folder, so a person can look at it.

#include <QDir>
#include <QString>
#include <QWidget>

namespace parvex::test {

inline QString save_png(QWidget& widget, const QString& name) {
    QDir().mkpath(QStringLiteral(PARVEX_PNG_DIR));
    QString file = QStringLiteral(PARVEX_PNG_DIR) + "/" + name + ".png";
    widget.grab().save(file);
    return file;
}

} // namespace parvex::test

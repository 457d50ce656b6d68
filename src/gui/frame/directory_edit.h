#pragma once
// A directory edit: a line edit for a folder name with a button that opens the folder chooser.

#include <QLineEdit>

namespace parvex {

class DirectoryEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit DirectoryEdit(QWidget* parent = nullptr);

    void setDialogTitle(const QString& title) { dialog_title_ = title; }
    QString dialogTitle() const { return dialog_title_; }
    // Opens the folder chooser at the current text; a chosen folder replaces the text.
    void browse();

private:
    QString dialog_title_ = QStringLiteral("Select a Directory");
};

} // namespace parvex

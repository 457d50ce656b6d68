#include "frame/directory_edit.h"

#include <QAction>
#include <QFileDialog>
#include <QStyle>

namespace parvex {

DirectoryEdit::DirectoryEdit(QWidget* parent) : QLineEdit(parent) {
    QAction* open =
        addAction(style()->standardIcon(QStyle::SP_DirOpenIcon), QLineEdit::TrailingPosition);
    open->setToolTip(QStringLiteral("Browse ..."));
    connect(open, &QAction::triggered, this, &DirectoryEdit::browse);
    setClearButtonEnabled(true);
}

void DirectoryEdit::browse() {
    QString dir = QFileDialog::getExistingDirectory(this, dialog_title_, text());
    if (dir.isEmpty())
        return;
    if (!dir.endsWith('/'))
        dir += '/';
    setText(dir);
    emit editingFinished(); // a chosen folder is entered as if typed and confirmed
}

} // namespace parvex

#include "frame/directory_edit.h"

#include <QAction>
#include <QFileDialog>
#include <QStyle>

namespace parvex {

DirectoryEdit::DirectoryEdit(QWidget* parent) : QLineEdit(parent) {
    QAction* open =
        addAction(style()->standardIcon(QStyle::SP_DirOpenIcon), QLineEdit::TrailingPosition);
    open->setToolTip(QStringLiteral("Browse ..."));
    // Named after its edit once that has a name, so a language file can reach its tool tip.
    connect(this, &QObject::objectNameChanged, open,
            [open](const QString& name) { open->setObjectName(name + QStringLiteral("_Browse")); });
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

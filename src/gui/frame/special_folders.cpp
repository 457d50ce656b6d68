// The folder settings of "other Details" that redirect what the program reads: a folder is
// taken only when it holds what the program's own folder holds, so one setting can never lock
// the user out of the program.
#include "frame/directory_edit.h"
#include "frame/form_base.h"
#include "frame/frame_dirs.h"
#include "tables/subs.h"

namespace parvex {

namespace {

QString to_qt(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QString name_list(const std::vector<std::string>& names) {
    QStringList out;
    for (const std::string& n : names)
        out << to_qt(n);
    return out.join(QStringLiteral(", "));
}

// The folder in the dialog's file strip, the text below it; codes such as "^C:" come first.
QString folder_message(const QString& codes, const QString& folder, const QString& text) {
    return codes + QStringLiteral("^F:") + folder + QStringLiteral("^") + text;
}

} // namespace

TFormBase::Special_Folder* TFormBase::special_folder(const DirectoryEdit* edit) {
    if (special_folders_.empty()) {
        // Named after the program title, which the caption holds from the creation step on.
        const std::string title =
            to_qt(caption_.items[Caption_Items::Title]).trimmed().toStdString();
        special_folders_.push_back(
            {fb_DE_GData, gui_data_dir(), Data_Folder_Files(title), QString(), QString()});
        special_folders_.push_back(
            {fb_DE_GHelp, program_dir_ + "help/", {"index.htm"}, QString(), QString()});
    }
    for (Special_Folder& f : special_folders_)
        if (f.edit == edit)
            return &f;
    return nullptr;
}

const TFormBase::Special_Folder* TFormBase::special_folder(const DirectoryEdit* edit) const {
    return const_cast<TFormBase*>(this)->special_folder(edit);
}

std::string TFormBase::special_dir(const DirectoryEdit* edit) const {
    const Special_Folder* f = special_folder(edit);
    if (!f)
        return {};
    if (!f->refused.isEmpty() && edit->text() == f->refused)
        return f->default_dir;
    return fb_Special_Dir(f->default_dir, edit);
}

QString TFormBase::refused_folder(const DirectoryEdit* edit) const {
    const Special_Folder* f = special_folder(edit);
    return f ? f->refused : QString();
}

void TFormBase::check_special_folders_at_start() {
    for (DirectoryEdit* edit : {fb_DE_GData, fb_DE_GHelp}) {
        Special_Folder* f = special_folder(edit);
        const QString text = edit->text();
        f->refused.clear();
        f->accepted = text;
        if (text.isEmpty())
            continue;
        const Folder_Check check =
            Check_Special_Folder(text.toStdString(), f->default_dir, f->files);
        if (check.usable())
            continue;
        // Said once, and only here: the setting stays (the folder may be a drive not mounted
        // yet), the program's own folder stands in for it until the next start.
        f->refused = text;
        f->accepted.clear();
        const QString why = check.exists
                                ? QStringLiteral("lacks the files\r\n") + name_list(check.missing)
                                : QStringLiteral("does not exist.");
        facade_.M_Error(edit->dialogTitle(),
                        folder_message(QStringLiteral("^C:"), text,
                                       QStringLiteral("This folder ") + why +
                                           QStringLiteral("\r\nThe program's own folder is "
                                                          "used this time;\r\nthe setting "
                                                          "is kept.")));
    }
}

void TFormBase::fb_DE_Exit(DirectoryEdit* edit) {
    Special_Folder* f = special_folder(edit);
    // A question takes the focus from the edit, which ends its editing once more.
    if (!f || checking_folder_)
        return;
    const QString text = edit->text();
    if (text == f->accepted)
        return;
    checking_folder_ = true;
    const QString title = edit->dialogTitle();
    auto refuse = [&] { edit->setText(f->accepted); };
    const Folder_Check check =
        text.isEmpty() ? Folder_Check{true, {}}
                       : Check_Special_Folder(text.toStdString(), f->default_dir, f->files);
    if (!check.exists) {
        facade_.M_Error(title, folder_message(QStringLiteral("^C:"), text,
                                              QStringLiteral("This folder does not exist.\r\n"
                                                             "The setting is not changed.")));
        refuse();
    } else if (!check.missing.empty()) {
        const bool copy = facade_.Question(
            title, folder_message(QString(), text,
                                  QStringLiteral("This folder lacks the files\r\n") +
                                      name_list(check.missing) +
                                      QStringLiteral("\r\nCopy the program's own there ?")));
        if (!copy) {
            refuse();
        } else if (FileResult r =
                       Copy_Folder_Files(f->default_dir, text.toStdString(), check.missing);
                   !r) {
            facade_.M_Error(title, folder_message(QStringLiteral("^C:"), text,
                                                  QStringLiteral("The files could not be "
                                                                 "copied:\r\n") +
                                                      to_qt(r.error)));
            refuse();
        }
    }
    if (edit->text() == text) {
        f->accepted = text;
        f->refused.clear();
    }
    checking_folder_ = false;
}

} // namespace parvex

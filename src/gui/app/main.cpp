// parvex: the desktop program. Decides where its data lives, creates the dialog, the main window
// and the splash, holds the splash for its five seconds, takes in the files named on the command
// line as if they were dropped, and runs the event loop until the main window closes.

#include "app/command_line.h"
#include "app/display_check.h"
#include "app/term_signal.h"
#include "dialogs/tdlgs.h"
#include "frame/app_folders.h"
#include "info/info_pages.h"
#include "language/language_pages.h"
#include "news/news_page.h"
#include "platform/single_instance.h"
#include "splash/splash_link_label.h"
#include "splash/tsplash.h"
#include "tables/subs.h"
#include "widgets/gradient_panel.h"
#include "window/form1.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>

namespace {

// Problems with the user's folders are told once, without stopping the program.
void report_folder_problems(QWidget* parent, const parvex::Seed_Report& report) {
    if (report.problems.empty())
        return;
    QString text = report.writable ? QStringLiteral("Some installation data is missing; the "
                                                    "built-in defaults are used for it.\n\n")
                                   : QStringLiteral("The program's data folder cannot be "
                                                    "written: settings, tokens and the log are "
                                                    "kept in memory only and are lost at the "
                                                    "end.\n\n");
    for (const std::string& line : report.problems)
        text += QString::fromStdString(line) + QLatin1Char('\n');
    auto* box = new QMessageBox(QMessageBox::Warning, QApplication::applicationDisplayName(), text,
                                QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

// Files a later start handed over: the window comes to the front and takes them as a drop,
// once its start-up is through.
void Take_Handed_Files(parvex::TForm1& form, const QStringList& files) {
    if (!form.startup_complete()) {
        QTimer::singleShot(200, &form, [&form, files] { Take_Handed_Files(form, files); });
        return;
    }
    form.setWindowState(form.windowState() & ~Qt::WindowMinimized);
    form.show();
    form.raise();
    form.activateWindow();
    if (!files.isEmpty())
        form.Drop_Files_Handler({}, files);
}

} // namespace

int main(int argc, char** argv) {
    // --help and --version answer without a display.
    const parvex::Command_Line early = parvex::Parse_Command_Line(argc, argv);
    if (early.action != parvex::Command_Line::Action::Run) {
        std::fputs(early.output.c_str(), early.exit_code == 0 ? stdout : stderr);
        return early.exit_code;
    }

    if (const std::string line = parvex::No_Display_Line(argc, argv, parvex::Process_Env());
        !line.empty()) {
        std::fputs(line.c_str(), stderr);
        return 2;
    }
    parvex::Watch_Display_Start();
    QApplication app(argc, argv);
    parvex::End_Display_Watch();
    QApplication::setApplicationName(QStringLiteral("Zivadu-Zedu Parvex"));
    QApplication::setApplicationDisplayName(QStringLiteral("Zivadu-Zedu Parvex"));

    const parvex::App_Folders folders = parvex::Decide_App_Folders();
    parvex::Set_Current_App_Folders(folders);
    const parvex::Seed_Report seeded = parvex::Seed_User_Data(folders);

    // One program per settings folder: a later start hands its files to the running one, which
    // comes to the front, and ends here.
    const QStringList files = parvex::Absolute_File_Names(QApplication::arguments().mid(1));
    parvex::Single_Instance instance(QString::fromStdString(folders.config_dir));
    if (instance.hand_over(files))
        return 0;
    if (!instance.listen())
        std::fputs("parvex: a later start cannot hand its files to this one\n", stderr);

    // The frame needs its dialog from the first moment, so the dialog is made first and handed
    // to the main window; the splash follows.
    parvex::TDlgs dialog;
    parvex::TForm1 form(folders.data_home, &dialog);
    if (!seeded.writable)
        form.keep_settings_in_memory();
    dialog.setMainWindow(&form);
    // The program ends with its main window: a message the close steps show on the dialog
    // window must not keep an invisible program running.
    dialog.setAttribute(Qt::WA_QuitOnClose, false);
    new parvex::Info_Pages(form); // owned by the window: About, to-do and credits pages
    new parvex::News_Page(form);  // owned by the window: "News / Upgrade"
    // The window's texts as built are its built-in language; the pages belong to the window.
    new parvex::Language_Pages(form);
    // A polite end waits until the start-up steps are through, so they never run on behind a
    // closed window.
    parvex::Close_On_Term_Signal([&form] { return form.startup_complete(); });
    parvex::Quit_When_Closed(&form);
    parvex::TSplash splash;
    form.hooks().splash_content = [&splash, &form]() -> QWidget* {
        splash.moveContentTo(form.fb_GP_SC2);
        return splash.content();
    };

    splash.showAndPaint();
    splash.close(); // waits until the splash has been up for five seconds
    if (parvex::Term_Signal_Received())
        return 0; // asked to end before the window was up: nothing to keep yet
    form.show();
    report_folder_problems(&form, seeded);
    // The files of the command line arrive once the window is up, as a drop would.
    if (!files.isEmpty())
        QTimer::singleShot(0, &form, [&form, files] { form.Drop_Files_Handler({}, files); });
    QObject::connect(&instance, &parvex::Single_Instance::filesReceived, &form,
                     [&form](const QStringList& handed) { Take_Handed_Files(form, handed); });
    return QApplication::exec();
}

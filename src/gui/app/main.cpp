// parvex: the desktop program. Creates the dialog, the main window and the splash, holds the
// splash for its five seconds, and runs the event loop until the main window closes.

#include "dialogs/tdlgs.h"
#include "language/language_pages.h"
#include "splash/splash_link_label.h"
#include "splash/tsplash.h"
#include "tables/subs.h"
#include "widgets/gradient_panel.h"
#include "window/form1.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zivadu-Zedu Parvex"));
    QApplication::setApplicationDisplayName(QStringLiteral("Zivadu-Zedu Parvex"));

    // The frame needs its dialog from the first moment, so the dialog is made first and handed
    // to the main window; the splash follows.
    parvex::TDlgs dialog;
    parvex::TForm1 form(parvex::Exe_Dir(), &dialog);
    dialog.setMainWindow(&form);
    // The window's texts as built are its built-in language; the pages belong to the window.
    new parvex::Language_Pages(form);
    parvex::TSplash splash;
    form.hooks().splash_content = [&splash, &form]() -> QWidget* {
        splash.moveContentTo(form.fb_GP_SC2);
        return splash.content();
    };

    splash.showAndPaint();
    splash.close(); // waits until the splash has been up for five seconds
    form.show();
    return QApplication::exec();
}

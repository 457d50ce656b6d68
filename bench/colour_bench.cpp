// The colour applier on the whole main window: one walk, and one preset load (which fires some
// 35 change handlers and must still cost one walk).
// Usage: parvex-colour-bench [ROUNDS]   (runs offscreen unless QT_QPA_PLATFORM says otherwise)

#include "dialogs/tdlgs.h"
#include "frame/color_state.h"
#include "window/form1.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    QTemporaryDir dir;
    const std::filesystem::path exe_dir =
        std::filesystem::path(QCoreApplication::applicationDirPath().toStdString());
    std::filesystem::create_directories(dir.path().toStdString() + "/GUI/Data");
    std::filesystem::copy_file(exe_dir / "GUI/Data/Predef.dat",
                               dir.path().toStdString() + "/GUI/Data/Predef.dat");
    parvex::TDlgs dialog;
    parvex::TForm1 form(dir.path().toStdString() + "/", &dialog);
    dialog.setMainWindow(&form);
    form.show();
    QApplication::processEvents();

    const int widgets = static_cast<int>(form.findChildren<QWidget*>().size());
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < rounds; ++i)
        form.fb_btn_do_PPClick();
    const double walk_ms = static_cast<double>(t.nsecsElapsed()) / 1e6 / rounds;

    const int walks_before = form.color_state().walks;
    t.restart();
    for (int i = 0; i < rounds; ++i) {
        const int index = i % form.fb_cb_Predef->count();
        form.fb_cb_Predef->setCurrentIndex(index);
        form.fb_cb_PredefChange();
    }
    const double load_ms = static_cast<double>(t.nsecsElapsed()) / 1e6 / rounds;
    const double walks_per_load =
        static_cast<double>(form.color_state().walks - walks_before) / rounds;
    std::printf("widgets in the window     %8d\n", widgets);
    std::printf("one walk                  %8.2f ms\n", walk_ms);
    std::printf("one preset load           %8.2f ms  (%.2f walks each)\n", load_ms, walks_per_load);
    form.close();
    return 0;
}

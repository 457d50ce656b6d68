// The listing run in the window against parvex-list on the same generated 100,000-line file.
// Usage: parvex-window-bench [LINES]   (runs offscreen unless QT_QPA_PLATFORM says otherwise)

#include "dialogs/tdlgs.h"
#include "tables/subs.h"
#include "window/form1.h"
#include "window/text_list_view.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>

namespace {

std::string generated_unit(int lines) {
    std::string text = "unit Generated;\ninterface\nimplementation\n";
    int k = 0, written = 3;
    while (written < lines - 9) {
        written += 9;
        k = k % 64 + 1;
        const std::string n = std::to_string(k);
        text += "procedure TWorker" + n + ".Step" + n +
                "(const AValue: Integer);\n"
                "var i: Integer; S: String; { locals }\nbegin\n"
                "  for i := 0 to 10 do begin\n"
                "    S := 'Item ' + IntToStr(i) + #13#10; // text\n"
                "    if i mod 2 = 0 then Inc(Count" +
                n + ");\n  end;\nend;\n\n";
    }
    return text + "end.\n";
}

double best_of(int runs, const std::function<void()>& job) {
    double best = 1e9;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        job();
        best = std::min(best, static_cast<double>(t.nsecsElapsed()) / 1e9);
    }
    return best;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int lines = argc > 1 ? std::atoi(argv[1]) : 100000;
    QTemporaryDir dir;
    const std::string prog = dir.path().toStdString() + "/";
    const std::string file = prog + "big.pas";
    std::ofstream(file, std::ios::binary) << generated_unit(lines);

    std::ofstream(prog + "empty.dat");
    const std::string cli_cmd = parvex::Exe_Dir() + "parvex-list --quiet --stdout --personal " +
                                prog + "empty.dat " + file + " > /dev/null";
    double cli_s = best_of(3, [&] { (void)std::system(cli_cmd.c_str()); });
    // The window also collects literals, numbers and tokens, which --stdout leaves out; a save
    // into a folder is the command line's run with the same collecting (plus the writing).
    const std::string out_cmd = parvex::Exe_Dir() + "parvex-list --quiet --out " + prog +
                                "out --personal " + prog + "empty.dat " + file;
    double out_s = best_of(3, [&] { (void)std::system(out_cmd.c_str()); });

    parvex::TDlgs dialog;
    parvex::TForm1 form(prog, &dialog);
    dialog.setMainWindow(&form);
    dialog.setModalHook([](parvex::TDlgs& d) { d.xdlg_btn_OK->click(); });
    form.show();
    QApplication::processEvents();
    form.ui.fne_SRC->setText(QString::fromStdString(file));
    double window_s = best_of(3, [&] { form.btn_WorkClick(); });

    std::printf("%d lines: window run %.3f s; parvex-list --stdout %.3f s (%.2f x), "
                "--out %.3f s (%.2f x); %d lines shown\n",
                lines, window_s, cli_s, window_s / cli_s, out_s, window_s / out_s,
                form.tlb_SRC_O->count());
    form.close();
    return 0;
}

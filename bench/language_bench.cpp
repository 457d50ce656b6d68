// What the language costs the main window: the walk that writes "Language.Lng", applying a
// language file, and the translation table filled by "Load Language".
// Usage: parvex-language-bench [ROUNDS]   (runs offscreen unless QT_QPA_PLATFORM says otherwise)

#include "dialogs/tdlgs.h"
#include "language/language_pages.h"
#include "tables/subs.h"
#include "widgets/sgx.h"
#include "window/form1.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
    QTemporaryDir dir;
    const std::string prog = dir.path().toStdString() + "/";
    const std::string data = parvex::Exe_Dir() + "GUI/Lang/German.Lng";

    parvex::TDlgs dialog;
    parvex::TForm1 form(prog, &dialog);
    QElapsedTimer t;
    t.start();
    auto* pages = new parvex::Language_Pages(form);
    const double capture_ms = static_cast<double>(t.nsecsElapsed()) / 1e6;
    std::filesystem::create_directories(prog + "GUI/Lang");
    std::filesystem::copy_file(data, prog + "GUI/Lang/German.Lng");
    const std::string builtin = prog + "GUI/Lang/Language.Lng";

    t.restart();
    for (int i = 0; i < rounds; ++i)
        if (!pages->language().Write_Language_File(builtin))
            return 2;
    const double write_ms = static_cast<double>(t.nsecsElapsed()) / 1e6 / rounds;

    t.restart();
    for (int i = 0; i < rounds; ++i)
        (void)pages->language().LoadLanguage(
            prog + (i % 2 ? "GUI/Lang/Language.Lng" : "GUI/Lang/German.Lng"));
    const double apply_ms = static_cast<double>(t.nsecsElapsed()) / 1e6 / rounds;

    parvex::TextList current, original;
    (void)parvex::Load_Lang_Lines(prog + "GUI/Lang/German.Lng", current);
    (void)parvex::Load_Lang_Lines(builtin, original);
    t.restart();
    for (int i = 0; i < rounds; ++i)
        pages->editor().Load(form.fb_SG_Trans->Grid(), current, original);
    const double load_ms = static_cast<double>(t.nsecsElapsed()) / 1e6 / rounds;

    std::printf("entries written %zu\n", pages->language().Walk_Entries().size());
    std::printf("capture at construction  %8.2f ms\n", capture_ms);
    std::printf("write Language.Lng       %8.2f ms per file\n", write_ms);
    std::printf("apply a language file    %8.2f ms per file\n", apply_ms);
    std::printf("fill translation table   %8.2f ms per load\n", load_ms);
    return 0;
}

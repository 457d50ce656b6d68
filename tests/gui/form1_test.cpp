// The main window as a user meets it: start, choose a file, run, check, save, close, start again.
#include "window/form1.h"

#include "frame/ini_file.h"
#include "png_dump.h"
#include "temp_dir.h"
#include "widgets/radio_group.h"
#include "widgets/shadow_label.h"
#include "widgets/speed_button.h"
#include "window/text_list_view.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QTimer>
#include <gtest/gtest.h>

using namespace parvex;
using parvex::test::TempDir;

namespace {

struct Messages {
    std::vector<QString> titles, texts;
};

// One program start in `prog`: dialog and main window, modal messages answered at once.
struct Program {
    TDlgs dialog;
    TForm1 form;
    Messages shown;
    std::vector<QString> general_errors;

    explicit Program(const TempDir& prog) : form(prog.dir(), &dialog) {
        dialog.setMainWindow(&form);
        dialog.setModalHook([this](TDlgs& d) {
            shown.titles.push_back(d.windowTitle());
            (d.xdlg_btn_break_OK->isVisible() ? d.xdlg_btn_break_OK : d.xdlg_btn_OK)->click();
        });
        form.setGeneralErrorReport([this](const QString& t) { general_errors.push_back(t); });
        form.show();
        QApplication::processEvents();
    }
    ~Program() {
        form.close();
        dialog.setModalHook({});
    }
};

} // namespace

TEST(Form1, RoadOfOneFile) {
    TempDir prog, src;
    prog.write("Dont/Tokens-Personal.dat", "WriteLn\r\n");
    auto file = src.write("Unit1.pas", "procedure P;\nbegin\n  writeln('x', 1);\nend;\n");
    {
        Program p(prog);
        TForm1& f = p.form;
        ASSERT_TRUE(f.startup_complete());
        EXPECT_EQ(f.ui.lab_Nr_Tokens->text(), "1");
        EXPECT_EQ(f.clb_Personal->count(), 1);
        EXPECT_FALSE(f.ui.PCW->isTabVisible(f.ui.PCW->indexOf(f.ui.pcw_NoShow)));

        f.ui.fne_SRC->setText(QString::fromStdString(file.string()));
        EXPECT_EQ(f.tlb_SRC_O->count(), 4); // pre-loaded
        f.ui.rg_Case->setItemIndex(0);
        f.ui.btn_Work->click();
        EXPECT_FALSE(f.working());
        ASSERT_EQ(f.tlb_SRC_O->count(), 4);
        EXPECT_EQ(f.tlb_SRC_O->lines()[2], "  WRITELN('x', 1);");
        EXPECT_EQ(f.tlb_SRC_O->lines()[3], "END; { of P }");
        EXPECT_EQ(f.ui.PCW->currentWidget(), f.ui.pcw_Work);
        EXPECT_EQ(f.tlb_T_Cref->count(), 0); // filled when its page is shown
        f.ui.PCW->setCurrentWidget(f.ui.pcw_Const);
        EXPECT_EQ(f.tlb_T_Cref->count(), 5);

        f.ui.PCW->setCurrentWidget(f.ui.pcw_Check);
        f.ui.btn_Check->click();
        EXPECT_EQ(f.tlb_SRC_tmp->count(), 4);
        f.resize(1000, 720);
        test::save_png(f, "form1_check");
        f.ui.PCW->setCurrentWidget(f.ui.pcw_Const);
        test::save_png(f, "form1_constant");
        f.ui.PCW->setCurrentWidget(f.ui.pcw_Work);
        test::save_png(f, "form1_work");

        f.ui.btn_to_SRCPath->click();
        EXPECT_EQ(src.read("Unit1.pas"),
                  "PROCEDURE P;\nBEGIN\n  WRITELN('x', 1);\nEND; { of P }\n");
        EXPECT_EQ(f.tlb_SRC_O->count(), 0);
        EXPECT_TRUE(p.general_errors.empty());
        f.ui.PCW->setCurrentWidget(f.ui.pcw_Check);
        f.ui.se_Nr_Lines->setValue(3); // not stored
    }
    // Second start: stored settings come back, the file name is shown but not loaded.
    Program again(prog);
    TForm1& f = again.form;
    EXPECT_EQ(f.ui.fne_SRC->text(), QString::fromStdString(file.string()));
    EXPECT_EQ(f.tlb_SRC_O->count(), 0);
    EXPECT_EQ(f.ui.rg_Case->itemIndex(), 0);
    EXPECT_EQ(f.ui.PCW->currentWidget(), f.ui.pcw_Check);
    EXPECT_EQ(f.ui.se_Nr_Lines->value(), 10);
    // Tokens.dat was written at close (the default of "NEVER SAVE the cumulated Tokens").
    EXPECT_EQ(prog.read("Dont/Tokens.dat"), "WriteLn\r\n");
}

TEST(Form1, CollectOptionsDriveTheirResultBoxes) {
    TempDir prog;
    Program p(prog);
    TForm1& f = p.form;
    f.ui.chk_col_A->setChecked(false);
    EXPECT_FALSE(f.ui.chk_ext[2]->isChecked());
    EXPECT_FALSE(f.ui.chk_ext[4]->isEnabled());
    f.ui.chk_col_A->setChecked(true);
    EXPECT_TRUE(f.ui.chk_ext[4]->isEnabled());
    EXPECT_FALSE(f.ui.chk_ext[4]->isChecked()); // enabled again, not checked again
    f.ui.chk_col_T->setChecked(false);
    EXPECT_FALSE(f.ui.chk_ext[6]->isEnabled());
}

TEST(Form1, DropsAndMissingFiles) {
    TempDir prog, src;
    auto file = src.write("unit1.pas", "x;\n");
    Program p(prog);
    TForm1& f = p.form;
    f.Drop_Files_Handler({}, {QString::fromStdString(src.dir() + "notes.txt"),
                              QString::fromStdString(file.string())});
    EXPECT_TRUE(f.ui.fne_SRC->text().isEmpty()); // the first name decides
    f.Drop_Files_Handler({}, {QString::fromStdString(file.string())});
    EXPECT_EQ(f.ui.fne_SRC->text(), QString::fromStdString(file.string()));
    EXPECT_EQ(f.tlb_SRC_O->count(), 1);

    f.ui.fne_SRC->setText(QString::fromStdString(src.dir() + "gone.pas"));
    f.ui.btn_Work->click();
    EXPECT_FALSE(f.working());
    EXPECT_EQ(f.tlb_SRC_O->count(), 0);
    f.ui.btn_Check->click(); // nothing to check: a message, no crash
    EXPECT_EQ(f.tlb_SRC_tmp->count(), 0);
}

TEST(Form1, ConfirmedEscapeStopsTheRun) {
    TempDir prog, src;
    std::string text;
    for (int i = 0; i < 200000; ++i)
        text += "x := x + 1;\n";
    auto file = src.write("big.pas", text);
    Program p(prog);
    TForm1& f = p.form;
    f.ui.fne_SRC->setText(QString::fromStdString(file.string()));
    // As soon as the window is busy, Escape arrives and "OK" confirms the stop.
    bool pressed = false;
    QTimer escape;
    escape.setInterval(0);
    QObject::connect(&escape, &QTimer::timeout, &f, [&] {
        if (!f.working())
            return;
        escape.stop();
        pressed = true;
        f.FormKeyDown(Qt::Key_Escape);
    });
    escape.start();
    f.ui.btn_Work->click();
    EXPECT_TRUE(pressed);
    EXPECT_FALSE(f.working());
    EXPECT_EQ(f.tlb_SRC_O->count(), 0); // nothing half-done stays to be saved
    f.ui.btn_to_Work->click();
    EXPECT_FALSE(std::filesystem::exists(prog.path() / "Data/big.pas"));
}

TEST(Form1, PagesAfterARealRun) {
    const std::string real = "/usr/share/fpcsrc/3.2.2/packages/fcl-base/src/inifiles.pp";
    ASSERT_TRUE(std::filesystem::exists(real))
        << "scripts/install-deps installs the Free Pascal sources";
    TempDir prog, src;
    prog.write("Dont/Tokens-Personal.dat",
               parvex::test::read_bytes(std::filesystem::path(PARVEX_DATA_DIR) /
                                        "Dont/Tokens-Personal.dat"));
    auto file = src.write("IniFiles.pas", parvex::test::read_bytes(real));
    Program p(prog);
    TForm1& f = p.form;
    f.resize(1100, 760);
    f.ui.rg_Case->setItemIndex(2);
    f.ui.fne_SRC->setText(QString::fromStdString(file.string()));
    f.ui.btn_Work->click();
    ASSERT_GT(f.tlb_SRC_O->count(), 1000);
    f.ui.btn_Check->click();
    f.tlb_SRC_O->scrollRowToTop(60);
    struct Shot {
        QWidget* page;
        const char* name;
    } shots[] = {{f.ui.pcw_Setup, "form1_real_setup"},
                 {f.ui.pcw_Token, "form1_real_tokens"},
                 {f.ui.pcw_Work, "form1_real_work"},
                 {f.ui.pcw_Const, "form1_real_constant"},
                 {f.ui.pcw_Check, "form1_real_check"}};
    for (const Shot& s : shots) {
        f.ui.PCW->setCurrentWidget(s.page);
        QApplication::processEvents();
        test::save_png(f, s.name);
    }
}

TEST(Form1, AFailedSaveIsReportedAndLosesNothing) {
    TempDir prog, src;
    auto file = src.write("u.pas", "begin end.\n");
    src.write("u.pas-SAVED/blocker", "a folder where the backup should go");
    Program p(prog);
    TForm1& f = p.form;
    f.ui.fne_SRC->setText(QString::fromStdString(file.string()));
    f.ui.btn_Work->click();
    f.ui.btn_to_SRCPath->click();
    // The message names the backup that is in the way.
    EXPECT_TRUE(p.dialog.messageText().contains("u.pas-SAVED"))
        << p.dialog.messageText().toStdString();
    EXPECT_EQ(src.read("u.pas"), "begin end.\n");
    // The run is still there: the user can save it elsewhere.
    EXPECT_EQ(f.tlb_SRC_O->count(), 1);
    f.ui.btn_to_Work->click();
    EXPECT_EQ(prog.read("Data/u.pas"), "begin end.\n");
    EXPECT_TRUE(p.general_errors.empty());
}

TEST(Form1, PaneWidthsComeBackAtTheNextStart) {
    TempDir prog;
    std::string settings;
    int alpha = 0, original = 0;
    {
        Program p(prog);
        TForm1& f = p.form;
        settings = f.settings_file();
        f.resize(1000, 720);
        f.ui.PCW->setCurrentWidget(f.ui.pcw_Const);
        QApplication::processEvents();
        f.ui.const_splitter->setSizes({400, 260, 300});
        f.ui.PCW->setCurrentWidget(f.ui.pcw_Check);
        QApplication::processEvents();
        f.ui.check_splitter->setSizes({380, 560});
        QApplication::processEvents();
        alpha = f.ui.GP_KA->width();
        original = f.ui.GP10->width();
        EXPECT_GT(alpha, 202);
        EXPECT_GT(original, 306);
    }
    IniFile ini;
    ASSERT_TRUE(IniFile::load(settings, ini));
    EXPECT_EQ(ini.read("TForm1", "GP_KA_Width", ""), std::to_string(alpha));
    EXPECT_EQ(ini.read("TForm1", "GP10_Width", ""), std::to_string(original));
    Program again(prog);
    TForm1& f = again.form;
    f.resize(1000, 720);
    QApplication::processEvents();
    EXPECT_EQ(f.ui.GP10->width(), original); // the Check page is shown again
    f.ui.PCW->setCurrentWidget(f.ui.pcw_Const);
    QApplication::processEvents();
    EXPECT_EQ(f.ui.GP_KA->width(), alpha);
}

TEST(Form1, ADropDuringARunWaitsForTheRunToEnd) {
    TempDir prog, src;
    std::string text;
    for (int i = 0; i < 200000; ++i)
        text += "x := x + 1;\n";
    auto big = src.write("big.pas", text);
    auto other = src.write("other.pas", "y;\n");
    Program p(prog);
    TForm1& f = p.form;
    f.ui.fne_SRC->setText(QString::fromStdString(big.string()));
    // While the window is busy a file arrives: the run's lists must not be pulled away.
    bool dropped = false;
    QTimer drop;
    drop.setInterval(0);
    QObject::connect(&drop, &QTimer::timeout, &f, [&] {
        if (!f.working())
            return;
        drop.stop();
        dropped = true;
        f.Drop_Files_Handler({}, {QString::fromStdString(other.string())});
    });
    drop.start();
    f.ui.btn_Work->click();
    ASSERT_TRUE(dropped);
    EXPECT_EQ(f.ui.fne_SRC->text(), QString::fromStdString(big.string()));
    EXPECT_EQ(f.tlb_SRC_O->count(), 200000);
    EXPECT_EQ(f.tlb_SRC_O->lines()[199999], "x := x + 1;");
}

TEST(Form1, BothSavesRefuseADamagedNewTextWithAnErrorMessageAndALogLine) {
    TempDir prog, src;
    const std::string text = "procedure P;\nbegin\n  s := 'abc';\nend;\n";
    auto file = src.write("u.pas", text);
    Program p(prog);
    TForm1& f = p.form;
    p.dialog.log().Log_Enabled = true;
    f.ui.fne_SRC->setText(QString::fromStdString(file.string()));
    for (int button = 0; button < 2; ++button) {
        f.ui.btn_Work->click();
        f.session().lists().src_o[2] = "  s := 'ABC';"; // a literal re-cased
        (button == 0 ? f.ui.btn_to_SRCPath : f.ui.btn_to_Work)->click();
        const QString shown = p.dialog.xdlg_Lab2->text();
        EXPECT_TRUE(shown.contains("u.pas:3: refused: letter case changed inside a literal"))
            << shown.toStdString();
        EXPECT_TRUE(p.general_errors.empty());
        EXPECT_EQ(src.read("u.pas"), text);
        EXPECT_FALSE(std::filesystem::exists(src.path() / "u.pas-SAVED"));
        EXPECT_FALSE(std::filesystem::exists(prog.path() / "Data/u.pas"));
        const TextList& log = p.dialog.log().Lines();
        EXPECT_TRUE(std::any_of(log.begin(), log.end(), [](const std::string& l) {
            return l.find("refused: letter case changed") != std::string::npos;
        })) << "not logged";
        test::save_png(p.dialog, "form1_refused_save");
    }
}

// The main window's saves: a save needs a run, an unchanged text is said to be unchanged,
// extensions that would lose a source are refused on Setup / Files and at the save.
#include "window/form1.h"

#include "png_dump.h"
#include "temp_dir.h"
#include "widgets/radio_group.h"
#include "widgets/speed_button.h"
#include "window/text_list_view.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <gtest/gtest.h>

#include <filesystem>

using namespace parvex;
using parvex::test::TempDir;
namespace fs = std::filesystem;

namespace {

// One program start in `prog`, modal messages answered at once.
struct SaveProgram {
    TDlgs dialog;
    TForm1 form;
    std::vector<QString> general_errors;

    explicit SaveProgram(const TempDir& prog) : form(prog.dir(), &dialog) {
        dialog.setMainWindow(&form);
        dialog.setModalHook([](TDlgs& d) {
            (d.xdlg_btn_break_OK->isVisible() ? d.xdlg_btn_break_OK : d.xdlg_btn_OK)->click();
        });
        form.setGeneralErrorReport([this](const QString& t) { general_errors.push_back(t); });
        form.show();
        QApplication::processEvents();
    }
    ~SaveProgram() {
        form.close();
        dialog.setModalHook({});
    }
    std::string message() const { return dialog.messageText().toStdString(); }
    void choose(const fs::path& file) {
        form.ui.fne_SRC->setText(QString::fromStdString(file.string()));
    }
};

std::vector<std::string> names_in(const TempDir& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir.path()))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(Form1Save, APreloadedTextIsNotSavedWithoutARun) {
    TempDir prog, src;
    auto file = src.write("a.pas", "begin x end.\n");
    src.write("a.pas-SAVED", "the true original\n");
    SaveProgram p(prog);
    TForm1& f = p.form;
    p.choose(file);
    ASSERT_EQ(f.tlb_SRC_O->count(), 1); // pre-loaded and shown
    f.ui.btn_to_SRCPath->click();
    EXPECT_NE(p.message().find("no conversion has been done !"), std::string::npos) << p.message();
    EXPECT_EQ(src.read("a.pas-SAVED"), "the true original\n");
    EXPECT_EQ(src.read("a.pas"), "begin x end.\n");
    EXPECT_EQ(f.tlb_SRC_O->count(), 1); // still shown
}

TEST(Form1Save, ASecondSaveOfTheSameTextSaysItIsUnchanged) {
    TempDir prog, src;
    auto file = src.write("a.pas", "procedure p;\nbegin\nend;\n");
    SaveProgram p(prog);
    TForm1& f = p.form;
    p.choose(file);
    f.ui.btn_Work->click();
    f.ui.btn_to_SRCPath->click();
    EXPECT_EQ(p.message().find("text unchanged"), std::string::npos) << p.message();
    const std::string listed = src.read("a.pas");
    p.choose(file);
    f.ui.btn_Work->click();
    f.ui.btn_to_SRCPath->click();
    EXPECT_NE(p.message().find("text unchanged"), std::string::npos) << p.message();
    EXPECT_EQ(src.read("a.pas-SAVED"), "procedure p;\nbegin\nend;\n");
    EXPECT_EQ(src.read("a.pas"), listed);
    EXPECT_TRUE(p.general_errors.empty());
}

TEST(Form1Save, AnIncludeOrPpSourceKeepsItsNameInTheWindowToo) {
    TempDir prog, src;
    auto file = src.write("ctypes.pp", "unit ctypes; end.\n");
    SaveProgram p(prog);
    TForm1& f = p.form;
    f.ui.rg_Case->setItemIndex(0);
    p.choose(file);
    f.ui.btn_Work->click();
    f.ui.btn_to_SRCPath->click();
    EXPECT_EQ(src.read("ctypes.pp"), "UNIT CTYPES; END.\n");
    EXPECT_EQ(src.read("ctypes.pp-SAVED"), "unit ctypes; end.\n");
    EXPECT_TRUE(fs::exists(src.path() / "ctypes.pp-Token-Cross-Ref"));
    EXPECT_FALSE(fs::exists(src.path() / "ctypes.pas"));
}

TEST(Form1Save, ExtensionsThatWouldLoseTheSourceAreRefusedOnThePageAndAtTheSave) {
    TempDir prog, src;
    auto file = src.write("x.pas", "begin end.\n");
    SaveProgram p(prog);
    TForm1& f = p.form;
    f.ui.PCW->setCurrentWidget(f.ui.pcw_Setup);
    f.ui.PCWS->setCurrentWidget(f.ui.pcws_Files);
    QLineEdit* text_ext = f.ui.ed_ext[0];
    QLineEdit* saved_ext = f.ui.ed_ext[1];
    // Entered on the page: the field gets its old text back and a message names the setting.
    struct Entry {
        QLineEdit* field;
        const char* value;
        const char* kept;
    } entries[] = {{saved_ext, "pas", "pas-SAVED"},
                   {text_ext, "pas-SAVED", "pas"},
                   {f.ui.ed_ext[4], "inc", "Alpha-Cross-Ref"},
                   {text_ext, "txt", "txt"},
                   {saved_ext, "pas", "pas-SAVED"},
                   {saved_ext, "txt-SAVED", "txt-SAVED"}};
    for (const Entry& e : entries) {
        e.field->setFocus();
        e.field->setText(QString::fromLatin1(e.value));
        emit e.field->editingFinished();
        EXPECT_EQ(e.field->text().toStdString(), e.kept) << e.value;
        if (std::string(e.value) != e.kept) {
            EXPECT_NE(p.message().find(e.field == saved_ext ? "\"Saved Original\"" : "\""),
                      std::string::npos)
                << p.message();
        }
    }
    saved_ext->setText(QStringLiteral("pas"));
    emit saved_ext->editingFinished();
    test::save_png(f, "form1_setup_files_refused");
    test::save_png(p.dialog, "form1_setup_files_refused_message");

    // Settings that reach the save anyway (an old settings file): nothing is written.
    text_ext->setText(QStringLiteral("pas"));
    saved_ext->setText(QStringLiteral("pas"));
    p.choose(file);
    f.ui.btn_Work->click();
    f.ui.btn_to_SRCPath->click();
    EXPECT_NE(p.message().find("Nothing was saved"), std::string::npos) << p.message();
    EXPECT_NE(p.message().find("\"Saved Original\""), std::string::npos) << p.message();
    EXPECT_EQ(names_in(src), std::vector<std::string>{"x.pas"});
    text_ext->setText(QStringLiteral("txt"));
    f.ui.btn_to_SRCPath->click(); // the run is still there
    EXPECT_EQ(names_in(src), std::vector<std::string>{"x.pas"});
    EXPECT_EQ(src.read("x.pas"), "begin end.\n");
}

TEST(Form1Save, AnEditOnDiskAfterTheRunIsKeptByBothSaveButtons) {
    // Edits made in an editor between the run and a save button: appended, and one of equal
    // size that changes only letter case with the file's time set back (the second reader alone
    // would take the new text for a listing of it).
    struct Edit {
        const char* what;
        const char* after;
        bool time_set_back;
    } edits[] = {{"appended", "procedure p;\nbegin\nend;\n{ my edit }\n", false},
                 {"same size", "PROCEDURE p;\nbegin\nend;\n", true}};
    for (const Edit& e : edits) {
        SCOPED_TRACE(e.what);
        TempDir prog, src;
        auto file = src.write("a.pas", "procedure p;\nbegin\nend;\n");
        SaveProgram p(prog);
        TForm1& f = p.form;
        f.ui.rg_Case->setItemIndex(1);
        p.choose(file);
        f.ui.btn_Work->click();
        ASSERT_GT(f.tlb_SRC_O->count(), 0);
        const auto time = fs::last_write_time(file);
        src.write("a.pas", e.after);
        if (e.time_set_back)
            fs::last_write_time(file, time);
        for (SpeedButton* save : {f.ui.btn_to_SRCPath, f.ui.btn_to_Work}) {
            save->click();
            EXPECT_NE(p.message().find("changed while listed, not saved"), std::string::npos)
                << p.message();
            EXPECT_NE(p.message().find("Run the listing again"), std::string::npos);
        }
        EXPECT_EQ(src.read("a.pas"), e.after);
        EXPECT_EQ(names_in(src), std::vector<std::string>{"a.pas"});
        EXPECT_FALSE(fs::exists(prog.path() / "Data/a.pas"));
        EXPECT_TRUE(p.general_errors.empty());
        // A new run takes the edit in, and its save goes through.
        f.ui.btn_Work->click();
        f.ui.btn_to_SRCPath->click();
        EXPECT_EQ(src.read("a.pas-SAVED"), e.after);
    }
}

TEST(Form1Save, NumberedBackupsChosenOnSetupFilesKeepEveryOriginalAndTheChoiceIsStored) {
    TempDir prog, src;
    auto file = src.write("a.pas", "procedure p;\nbegin\nend;\n");
    {
        SaveProgram p(prog);
        TForm1& f = p.form;
        EXPECT_EQ(f.ui.rg_Backup->itemIndex(), 0); // one backup, as saving always worked
        f.ui.rg_Backup->setItemIndex(1);
        for (int output_case : {0, 1}) {
            f.ui.rg_Case->setItemIndex(output_case);
            p.choose(file);
            f.ui.btn_Work->click();
            f.ui.btn_to_SRCPath->click();
        }
        EXPECT_EQ(src.read("a.pas-SAVED.~1~"), "procedure p;\nbegin\nend;\n");
        EXPECT_EQ(src.read("a.pas-SAVED.~2~"), "PROCEDURE P;\nBEGIN\nEND; { of P }\n");
        EXPECT_FALSE(fs::exists(src.path() / "a.pas-SAVED"));
    }
    SaveProgram again(prog);
    EXPECT_EQ(again.form.ui.rg_Backup->itemIndex(), 1);
}

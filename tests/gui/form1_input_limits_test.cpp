// The main window meets a binary file, one beyond the size limit and a binary token file: each
// is said to be so, and nothing of it reaches the panes or the token index.
#include "window/form1.h"

#include "platform/input_read.h"
#include "temp_dir.h"
#include "widgets/speed_button.h"
#include "window/text_list_view.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include <filesystem>

using namespace parvex;
using parvex::test::TempDir;

namespace {

struct Program {
    TDlgs dialog;
    TForm1 form;
    std::vector<QString> titles, texts, general_errors;

    explicit Program(const TempDir& prog) : form(prog.dir(), &dialog) {
        dialog.setMainWindow(&form);
        dialog.setModalHook([this](TDlgs& d) {
            titles.push_back(d.windowTitle());
            texts.push_back(d.messageText());
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

TEST(Form1InputLimits, BinaryAndHugeSourcesAreRefusedWithAMessage) {
    TempDir prog, src;
    const auto huge = src.write_sparse("huge.inc", test::text_of_size(2 * Binary_Probe_Size),
                                       std::uintmax_t{40} << 30);
    const auto zeros = src.write_sparse("zeros.pas", "", std::uintmax_t{2} << 30);
    struct Case {
        std::filesystem::path file;
        QString says;
    } cases[] = {
        {huge, "larger than the limit of 64 MiB (40 GiB), not listed"},
        {zeros, "binary or UTF-16 file, not listed"},
    };
    Program p(prog);
    TForm1& f = p.form;
    for (const auto& c : cases) {
        p.general_errors.clear();
        p.texts.clear();
        f.ui.fne_SRC->setText(QString::fromStdString(c.file.string()));
        ASSERT_EQ(p.general_errors.size(), 1u) << c.file;
        EXPECT_TRUE(p.general_errors[0].contains(c.says)) << p.general_errors[0].toStdString();
        EXPECT_EQ(f.tlb_SRC_O->count(), 0); // nothing pre-loaded
        f.ui.btn_Work->click();
        EXPECT_FALSE(f.working());
        ASSERT_FALSE(p.texts.empty()) << c.file;
        EXPECT_TRUE(p.texts.back().contains(c.says, Qt::CaseInsensitive))
            << p.texts.back().toStdString();
        EXPECT_EQ(f.tlb_SRC_O->count(), 0);
    }
    EXPECT_EQ(std::filesystem::file_size(huge), std::uintmax_t{40} << 30);
}

TEST(Form1InputLimits, ABinaryPersonalTokenFileLoadsNoToken) {
    TempDir prog;
    prog.write("Dont/Tokens-Personal.dat", std::string("WriteLn\r\n\0\x01\x02", 12));
    Program p(prog);
    ASSERT_EQ(p.general_errors.size(), 1u);
    EXPECT_TRUE(
        p.general_errors[0].contains("Tokens-Personal.dat: binary or UTF-16 file, not loaded"))
        << p.general_errors[0].toStdString();
    EXPECT_EQ(p.form.ui.lab_Nr_Tokens->text(), "0");
    EXPECT_EQ(p.form.clb_Personal->count(), 0);
}

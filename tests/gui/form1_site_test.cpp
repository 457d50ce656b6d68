// The main window's cross-reference in the browser: offered after a run of the selected file,
// written into the work-data folder, opened with the desktop's browser, and where no browser can
// be started the message says where the site is.
#include "window/form1.h"

#include "platform/open_document.h"
#include "png_dump.h"
#include "temp_dir.h"
#include "widgets/speed_button.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QUrl>
#include <gtest/gtest.h>

#include <filesystem>

using namespace parvex;
using parvex::test::TempDir;
namespace fs = std::filesystem;

TEST(Form1Site, OffersTheListedSourceInTheBrowser) {
    TempDir prog, src;
    const auto file = src.write("unit1.pas", "unit Unit1;\nprocedure P;\nbegin\nend;\nend.\n");
    TDlgs dialog;
    TForm1 form(prog.dir(), &dialog);
    dialog.setMainWindow(&form);
    dialog.setModalHook([](TDlgs& d) { d.xdlg_btn_OK->click(); });
    form.show();
    QApplication::processEvents();
    std::vector<QUrl> opened;
    bool browser = true;
    Set_Document_Opener([&](const QUrl& url) {
        opened.push_back(url);
        return browser;
    });
    form.ui.fne_SRC->setText(QString::fromStdString(file.string()));
    EXPECT_FALSE(form.ui.btn_XRef->isEnabled()); // nothing listed yet
    form.ui.btn_Work->click();
    ASSERT_TRUE(form.ui.btn_XRef->isEnabled());
    test::save_png(form, "form1-site-button");
    form.ui.btn_XRef->click();
    const fs::path page = fs::path(form.session().data_dir()) / "Cross-Reference/s/unit1.pas.html";
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(QString::fromStdString(page.string())));
    EXPECT_TRUE(fs::exists(page));
    EXPECT_TRUE(fs::exists(page.parent_path().parent_path() / "index.html"));
    // No browser: the message names the page, and the site stays.
    browser = false;
    form.ui.btn_XRef->click();
    EXPECT_NE(dialog.messageText().toStdString().find(page.string()), std::string::npos)
        << dialog.messageText().toStdString();
    EXPECT_NE(dialog.messageText().toStdString().find("No Browser could be started"),
              std::string::npos);
    EXPECT_TRUE(fs::exists(page));
    // Another file: offered again only after its run.
    const auto other = src.write("unit2.pas", "unit Unit2;\nend.\n");
    form.ui.fne_SRC->setText(QString::fromStdString(other.string()));
    EXPECT_FALSE(form.ui.btn_XRef->isEnabled());
    Set_Document_Opener({});
    dialog.setModalHook({});
    form.close();
}

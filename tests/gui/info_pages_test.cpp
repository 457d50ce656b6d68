// The About, to-do and credits pages: the shipped files pass their test and show, an altered or
// missing file stops the program, the data-folder override, reloads and address clicks.
#include "frame_stand_in.h"

#include "frame/ini_file.h"
#include "info/info_pages.h"
#include "platform/open_document.h"
#include "png_dump.h"
#include "tables/file_routines.h"
#include "temp_dir.h"

#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

#include <filesystem>

using namespace parvex;
using parvex::test::StandInForm;
namespace fs = std::filesystem;

namespace {

const char* const Page_Files[] = {"About.rtf", "Zivadu-Zedu Parvex-ToDo.rtf", "Credits_L.rtf",
                                  "Credits_R.rtf"};

struct InfoPagesTest : ::testing::Test {
    test::TempDir prog;
    TDlgs dlg;
    std::vector<QString> titles, texts, files;
    int end_requests = 0;
    std::vector<QUrl> opened;

    InfoPagesTest() {
        dlg.setModalHook([this](TDlgs& d) {
            titles.push_back(d.titleText());
            texts.push_back(d.messageText());
            files.push_back(d.fileName());
            (d.xdlg_btn_break_OK->isVisible() ? d.xdlg_btn_break_OK : d.xdlg_btn_OK)->click();
        });
        Set_Document_Opener([this](const QUrl& u) {
            opened.push_back(u);
            return true;
        });
    }
    ~InfoPagesTest() override {
        Set_Document_Opener({});
        dlg.setModalHook({});
        dlg.hide();
    }

    // The shipped pages, copied into `dir` (default: the program's "GUI/Data/").
    void ship_pages(const fs::path& dir) const {
        fs::create_directories(dir);
        for (const char* name : Page_Files)
            fs::copy_file(fs::path(PARVEX_DATA_DIR) / "GUI/Data" / name, dir / name,
                          fs::copy_options::overwrite_existing);
    }
    fs::path gui_data() const { return prog.path() / "GUI/Data"; }

    std::unique_ptr<StandInForm> form;
    Info_Pages* pages = nullptr;
    void start() {
        form = std::make_unique<StandInForm>(prog.dir(), &dlg);
        pages = new Info_Pages(*form);
        pages->setEndRequest([this] { ++end_requests; });
        form->show();
        QCoreApplication::processEvents();
    }
    std::vector<QTextBrowser*> views() const {
        return {form->fb_re_About, form->fb_re_todo, form->fb_re_crL, form->fb_re_crR};
    }
    int serious_errors() const {
        return static_cast<int>(std::count(titles.begin(), titles.end(), "Serious ERROR"));
    }
};

} // namespace

TEST_F(InfoPagesTest, ShippedPagesPassAndShowOnAFreshStart) {
    for (const char* name : Page_Files) {
        std::string key;
        TextList lines;
        FileResult r = Check_Data_File(
            false, false, std::string(PARVEX_DATA_DIR) + "/GUI/Data/" + name, key, lines);
        EXPECT_TRUE(r) << name << ": " << r.error;
    }
    ship_pages(gui_data());
    start();
    EXPECT_EQ(end_requests, 0);
    EXPECT_EQ(serious_errors(), 0);
    EXPECT_EQ(pages->todo_file_name(), "Zivadu-Zedu Parvex-ToDo.rtf");
    for (QTextBrowser* v : views()) {
        EXPECT_FALSE(v->toPlainText().trimmed().isEmpty()) << v->objectName().toStdString();
        // Only the document shows: the checksum line after it does not.
        EXPECT_FALSE(v->toPlainText().contains(QChar(0xFF))) << v->objectName().toStdString();
        EXPECT_FALSE(v->openLinks());
    }
    EXPECT_TRUE(form->fb_re_About->toPlainText().contains("Zivadu-Zedu Parvex"));
    EXPECT_EQ(form->fb_tlb_PW->count(), 0);
    // The right credits text links its addresses, field or plain.
    QStringList hrefs;
    for (QTextBlock b = form->fb_re_crR->document()->begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isAnchor())
                hrefs << it.fragment().charFormat().anchorHref();
    EXPECT_TRUE(hrefs.contains("https://www.qt.io"));
    EXPECT_TRUE(hrefs.contains("https://www.parvex.example.org/"));
    EXPECT_TRUE(hrefs.contains("mailto:team@parvex.example.org"));

    struct Shot {
        QWidget* page;
        const char* name;
    } shots[] = {{form->fb_pcAbout, "info_about"},
                 {form->fb_PCtodo, "info_todo"},
                 {form->fb_pcCredits, "info_credits"}};
    for (const Shot& s : shots) {
        form->Show_Page(s.page);
        QCoreApplication::processEvents();
        EXPECT_FALSE(test::save_png(*form, s.name).isEmpty());
    }
}

TEST_F(InfoPagesTest, AlteredOrMissingPageStopsAfterAllFourAreTested) {
    ship_pages(gui_data());
    // One byte changed in a covered line of the left credits, the to-do page gone.
    std::string bytes = test::read_bytes(gui_data() / "Credits_L.rtf");
    const std::size_t at = bytes.find("Qt 6");
    ASSERT_NE(at, std::string::npos);
    bytes[at + 3] = '5';
    test::write_bytes(gui_data() / "Credits_L.rtf", bytes);
    fs::remove(gui_data() / "Zivadu-Zedu Parvex-ToDo.rtf");
    start();
    ASSERT_EQ(serious_errors(), 2);
    EXPECT_EQ(end_requests, 2);
    const std::string dir = (gui_data() / "").string();
    EXPECT_EQ(texts[0].toStdString(), "Some VITAL Files have been changed\r\n"
                                      "The Program must STOP the execution");
    EXPECT_EQ(files[0].toStdString(), dir + "Zivadu-Zedu Parvex-ToDo.rtf");
    EXPECT_EQ(files[1].toStdString(), dir + "Credits_L.rtf");
    // The pages that passed show; the failing ones stay empty.
    EXPECT_FALSE(form->fb_re_About->toPlainText().isEmpty());
    EXPECT_TRUE(form->fb_re_todo->toPlainText().isEmpty());
    EXPECT_TRUE(form->fb_re_crL->toPlainText().isEmpty());
    EXPECT_FALSE(form->fb_re_crR->toPlainText().isEmpty());
}

TEST_F(InfoPagesTest, EmptyOrCutPagesAreErrorsNotCrashes) {
    ship_pages(gui_data());
    test::write_bytes(gui_data() / "About.rtf", "");
    std::string right = test::read_bytes(gui_data() / "Credits_R.rtf");
    test::write_bytes(gui_data() / "Credits_R.rtf", right + "\r\n"); // a blank line after it
    start();
    EXPECT_EQ(serious_errors(), 2);
    EXPECT_TRUE(form->fb_re_About->toPlainText().isEmpty());
    EXPECT_FALSE(form->fb_re_todo->toPlainText().isEmpty());
}

TEST_F(InfoPagesTest, DataFolderOverrideMovesThePages) {
    test::TempDir other;
    ship_pages(other.path());
    IniFile ini;
    ASSERT_TRUE(ini.set("TForm1", "fb_DE_GData_Text", other.dir()));
    ASSERT_TRUE(ini.save(prog.dir() + "parvex_gui_tests.INI"));
    start();
    ASSERT_EQ(form->data_dir(), other.dir());
    EXPECT_EQ(serious_errors(), 0);
    EXPECT_FALSE(form->fb_re_crL->toPlainText().isEmpty());
    // Altering the page in the override folder is what counts now.
    std::string bytes = test::read_bytes(other.path() / "About.rtf");
    bytes[bytes.find("What it does")] = 'w';
    test::write_bytes(other.path() / "About.rtf", bytes);
    EXPECT_FALSE(pages->fb_re_AboutChange());
    EXPECT_EQ(serious_errors(), 1);
}

TEST_F(InfoPagesTest, AChangedTextReloadsOnceWithoutSettingOffAnother) {
    ship_pages(gui_data());
    start();
    const QString shown = form->fb_re_todo->toPlainText();
    const int loads = pages->load_count();
    EXPECT_EQ(loads, 4);
    form->fb_re_todo->setPlainText("scribbled over");
    EXPECT_EQ(pages->load_count(), loads + 1);
    EXPECT_EQ(form->fb_re_todo->toPlainText(), shown);
    EXPECT_EQ(serious_errors(), 0);
}

TEST_F(InfoPagesTest, AddressClicksInTheRightCredits) {
    ship_pages(gui_data());
    start();
    pages->fb_re_crRURLClick("https://www.debian.org", Qt::RightButton);
    EXPECT_TRUE(titles.empty());
    EXPECT_TRUE(opened.empty());

    pages->fb_re_crRURLClick("https://www.debian.org", Qt::LeftButton);
    ASSERT_EQ(titles.size(), 1u);
    EXPECT_EQ(titles[0], "Start Browser");
    EXPECT_TRUE(texts[0].contains("loading ..."));
    EXPECT_TRUE(texts[0].contains("https://www.debian.org"));
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl("https://www.debian.org"));

    // Only web and mail addresses are opened.
    test::TempDir docs;
    auto local = docs.write("note.txt", "x");
    pages->fb_re_crRURLClick(QString::fromStdString("file://" + local.string()), Qt::LeftButton);
    EXPECT_EQ(opened.size(), 1u);
    EXPECT_EQ(titles.back(), "Start Browser");

    // A real click on a link of the page.
    form->Show_Page(form->fb_pcCredits);
    QCoreApplication::processEvents();
    QTextCursor found = form->fb_re_crR->document()->find("https://cmake.org");
    ASSERT_FALSE(found.isNull());
    QTextCursor at(form->fb_re_crR->document());
    at.setPosition(found.selectionStart() + 3);
    const QPoint pos = form->fb_re_crR->cursorRect(at).center();
    QTest::mouseClick(form->fb_re_crR->viewport(), Qt::LeftButton, {}, pos);
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[1], QUrl("https://cmake.org"));
    QTest::mouseClick(form->fb_re_crR->viewport(), Qt::RightButton, {}, pos);
    EXPECT_EQ(opened.size(), 2u);
}

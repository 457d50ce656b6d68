// The folder settings of "other Details": one setting naming an empty folder must never lock the
// user out. A stored folder that lacks the data is reported once and the program's own folder
// serves; a folder typed in is checked first and filled only when the user agrees.
#include "frame/directory_edit.h"
#include "frame/ini_file.h"
#include "info/info_pages.h"
#include "language/language_pages.h"
#include "news/news_page.h"
#include "temp_dir.h"
#include "widgets/sgx.h"
#include "window/form1.h"

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QTextBrowser>
#include <gtest/gtest.h>

#include <filesystem>

using namespace parvex;
using parvex::test::TempDir;
namespace fs = std::filesystem;

namespace {

struct Shown {
    QString title, text;
};

// A program start with the installation data, the pages main() adds, and every message answered
// at once ("OK", or "NO" to a question while answer_no is set).
struct Program {
    TDlgs dialog;
    TForm1 form;
    std::vector<Shown> shown;
    int end_requests = 0;
    bool answer_no = false;

    explicit Program(const TempDir& prog) : form(prog.dir(), &dialog) {
        dialog.setMainWindow(&form);
        auto* info = new Info_Pages(form);
        info->setEndRequest([this] { ++end_requests; });
        new News_Page(form);
        new Language_Pages(form);
        dialog.setModalHook([this](TDlgs& d) {
            shown.push_back({d.titleText(), d.messageText() + " " + d.fileName()});
            if (answer_no && d.xdlg_btn_No->isVisible())
                d.xdlg_btn_No->click();
            else
                (d.xdlg_btn_break_OK->isVisible() ? d.xdlg_btn_break_OK : d.xdlg_btn_OK)->click();
        });
        form.show();
        QApplication::processEvents();
    }
    ~Program() {
        form.close();
        dialog.setModalHook({});
    }
    int count(const QString& part) const {
        int n = 0;
        for (const Shown& s : shown)
            n += (s.title + " " + s.text).contains(part) ? 1 : 0;
        return n;
    }
    std::string messages() const {
        std::string all;
        for (const Shown& s : shown)
            all += (s.title + " | " + s.text + "\n").toStdString();
        return all;
    }
    void enter(DirectoryEdit* edit, const std::string& folder) {
        edit->setText(QString::fromStdString(folder));
        emit edit->editingFinished();
    }
};

void install_data(const TempDir& prog) {
    fs::copy(PARVEX_DATA_DIR, prog.path(), fs::copy_options::recursive);
}

std::vector<std::string> names_in(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string stored(const TempDir& prog, const char* key) {
    IniFile ini;
    EXPECT_TRUE(IniFile::load(prog.dir() + "parvex_gui_tests.INI", ini));
    return ini.read("TForm1", key, "<none>");
}

} // namespace

TEST(SpecialFolders, AStoredDataFolderWithoutTheDataIsToldOnceAndTheOwnFolderServes) {
    TempDir prog, elsewhere;
    install_data(prog);
    const std::string empty = elsewhere.dir() + "empty";
    fs::create_directory(empty);
    const std::string missing = elsewhere.dir() + "unmounted";
    prog.write("parvex_gui_tests.INI", "[TForm1]\r\nfb_DE_GData_Text=" + empty +
                                           "\r\nfb_DE_GHelp_Text=" + missing + "\r\n");
    for (int start = 0; start < 2; ++start) {
        Program p(prog);
        TForm1& f = p.form;
        ASSERT_TRUE(f.startup_complete());
        EXPECT_EQ(p.end_requests, 0) << p.messages();
        EXPECT_EQ(p.count("Serious ERROR"), 0) << p.messages();
        EXPECT_EQ(p.count("not found"), 0) << p.messages(); // no sound shortcut is missing
        // One message per folder and start, naming the folder and what it lacks.
        EXPECT_EQ(p.count(QString::fromStdString(empty)), 1) << p.messages();
        EXPECT_EQ(p.count("About.rtf"), 1) << p.messages();
        EXPECT_EQ(p.count(QString::fromStdString(missing)), 1) << p.messages();
        // The program's own folder serves this session; the settings still name the folders.
        EXPECT_EQ(f.data_dir(), prog.dir() + "GUI/Data/");
        EXPECT_EQ(f.help_file_name(), prog.dir() + "help/index.htm");
        EXPECT_EQ(f.fb_DE_GData->text().toStdString(), empty);
        EXPECT_EQ(f.refused_folder(f.fb_DE_GData).toStdString(), empty);
        EXPECT_GT(f.fb_SG_Sound->Grid().Row_Count(), 10);
        EXPECT_TRUE(f.fb_chk_Speaker->isChecked());
        EXPECT_FALSE(f.fb_re_About->toPlainText().isEmpty());
    }
    // Nothing was written into the refused folder, and the settings are as they were.
    EXPECT_TRUE(names_in(empty).empty());
    EXPECT_EQ(stored(prog, "fb_DE_GData_Text"), empty);
    EXPECT_EQ(stored(prog, "fb_DE_GHelp_Text"), missing);
    EXPECT_EQ(stored(prog, "fb_chk_Speaker_Checked"), "True");
}

TEST(SpecialFolders, AFolderEnteredIsCheckedAndFilledOnlyWhenTheUserAgrees) {
    TempDir prog, elsewhere;
    install_data(prog);
    const std::string shipped = prog.dir() + "GUI/Data/";
    const std::vector<std::string> data_files = names_in(shipped);
    fs::create_directory(elsewhere.path() / "declined");
    fs::create_directory(elsewhere.path() / "agreed");
    fs::create_directory(elsewhere.path() / "full");
    for (const std::string& name : data_files)
        fs::copy_file(fs::path(shipped) / name, elsewhere.path() / "full" / name);

    Program p(prog);
    TForm1& f = p.form;
    p.shown.clear();
    struct Case {
        std::string folder;
        bool answer_no;
        bool taken;
        const char* said; // part of the one message shown, "" for none
    } cases[] = {
        {elsewhere.dir() + "nowhere", false, false, "does not exist"},
        {elsewhere.dir() + "declined", true, false, "lacks the files"},
        {elsewhere.dir() + "agreed", false, true, "lacks the files"},
        {"", false, true, ""},
        {elsewhere.dir() + "full", false, true, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder);
        const QString before = f.fb_DE_GData->text();
        p.shown.clear();
        p.answer_no = c.answer_no;
        p.enter(f.fb_DE_GData, c.folder);
        if (*c.said) {
            ASSERT_EQ(p.shown.size(), 1u) << p.messages();
            EXPECT_TRUE(p.shown[0].text.contains(c.said)) << p.messages();
            EXPECT_TRUE(p.shown[0].text.contains(QString::fromStdString(c.folder)));
        } else {
            EXPECT_TRUE(p.shown.empty()) << p.messages();
        }
        EXPECT_EQ(f.fb_DE_GData->text(), c.taken ? QString::fromStdString(c.folder) : before);
        const std::string expected_dir = c.taken && !c.folder.empty() ? c.folder + "/" : shipped;
        EXPECT_EQ(f.data_dir(), expected_dir);
    }
    // Declined: nothing written. Agreed: every data file is there now, whole.
    EXPECT_TRUE(names_in(elsewhere.path() / "declined").empty());
    EXPECT_EQ(names_in(elsewhere.path() / "agreed"), data_files);
    for (const std::string& name : data_files)
        EXPECT_EQ(test::read_bytes(elsewhere.path() / "agreed" / name),
                  test::read_bytes(fs::path(shipped) / name))
            << name;

    // The help folder asks for its page in the same way.
    p.shown.clear();
    p.answer_no = true;
    p.enter(f.fb_DE_GHelp, elsewhere.dir() + "agreed");
    ASSERT_EQ(p.shown.size(), 1u) << p.messages();
    EXPECT_TRUE(p.shown[0].text.contains("index.htm")) << p.messages();
    EXPECT_TRUE(f.fb_DE_GHelp->text().isEmpty());
}

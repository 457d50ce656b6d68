// The main window's language as a user meets it: the first start makes "Language.Lng" and
// "US_English.Lng", German can be chosen and comes back after a restart, a caption translated
// in the editor stays, and the failures the pages guard against.
#include "language/language_pages.h"

#include "frame/ini_file.h"
#include "language/lang_codec.h"
#include "language/lang_properties.h"
#include "png_dump.h"
#include "tables/table_format.h"
#include "tables/table_procs.h"
#include "temp_dir.h"
#include "widgets/sgx.h"
#include "widgets/speed_button.h"
#include "window/form1.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTabBar>
#include <QTabWidget>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace parvex;
using parvex::test::TempDir;

namespace {

struct Shown {
    QString title, text, file;
    bool error = false;
};

// One program start in `prog` with the language pages, every modal message answered at once.
struct Program {
    TDlgs dialog;
    TForm1 form;
    Language_Pages* lang = nullptr;
    std::vector<Shown> shown;
    bool answer_no = false;

    explicit Program(const TempDir& prog) : form(prog.dir(), &dialog) {
        dialog.setMainWindow(&form);
        lang = new Language_Pages(form);
        dialog.setModalHook([this](TDlgs& d) {
            shown.push_back(
                {d.titleText(), d.messageText(), d.fileName(), d.kind() == TDlgs::Kind_Stop});
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
    bool said(const QString& part) const {
        for (const Shown& s : shown)
            if (s.text.contains(part))
                return true;
        return false;
    }
    bool errors() const {
        for (const Shown& s : shown)
            if (s.error)
                return true;
        return false;
    }
    // Every message shown, for a failing expectation to tell what happened.
    std::string messages() const {
        std::string all;
        for (const Shown& s : shown)
            all += (s.title + " | " + s.text + " | " + s.file + "\n").toStdString();
        return all;
    }
    // Makes the row of that language current, as a click on it does.
    void select(const char* language) {
        Table_Grid& g = form.fb_sg_Lang->Grid();
        ASSERT_TRUE(Find_Row(g, 0, language)) << language;
    }
};

std::string source_data(const std::string& name) {
    return test::read_bytes(std::filesystem::path(PARVEX_DATA_DIR) / name);
}

// The installation data of the language: the table and the German translation.
void install_languages(const TempDir& prog) {
    // The sound table too: a start without it reports its first missing sound as an error.
    for (const char* table : {"GUI/Data/Sounds.dat", "GUI/Data/SpS.dat"})
        prog.write(table, source_data(table));
    prog.write("GUI/Data/Language.dat", source_data("GUI/Data/Language.dat"));
    prog.write("GUI/Lang/German.Lng", source_data("GUI/Lang/German.Lng"));
}

std::vector<std::string> lines_of(const std::string& bytes) {
    std::vector<std::string> lines;
    std::istringstream in(bytes);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

bool has_line(const std::string& bytes, const std::string& line) {
    for (const std::string& l : lines_of(bytes))
        if (l == line)
            return true;
    return false;
}

QString cell(TSGX* grid, int col, int row) {
    return QString::fromStdString(grid->Grid().Cell(col, row));
}

int row_of_key(TSGX* grid, const std::string& key) {
    const Table_Grid& g = grid->Grid();
    for (int r = 1; r < g.Row_Count(); ++r)
        if (g.Cell(3, r) == key)
            return r;
    return 0;
}

} // namespace

TEST(LanguagePages, FirstStartMakesTheFilesAndChoosesUsEnglish) {
    TempDir prog;
    install_languages(prog);
    Program p(prog);
    TForm1& f = p.form;
    ASSERT_TRUE(f.startup_complete());
    EXPECT_EQ(f.fb_labX_cLang->text(), "US English");
    ASSERT_TRUE(std::filesystem::exists(prog.path() / "GUI/Lang/Language.Lng"));
    ASSERT_TRUE(std::filesystem::exists(prog.path() / "GUI/Lang/US_English.Lng"));
    const std::string builtin = prog.read("GUI/Lang/Language.Lng");
    EXPECT_EQ(prog.read("GUI/Lang/US_English.Lng"), builtin);
    // The program made and chose these files by itself: the log tells, no message holds up
    // the first start.
    EXPECT_FALSE(p.said("Languagefile created !")) << p.messages();
    EXPECT_FALSE(p.said("is the current Languagefile !")) << p.messages();
    EXPECT_TRUE(p.shown.empty()) << p.messages();
    const std::string log = prog.read("Data/Logfile.txt");
    EXPECT_NE(
        log.find("Language\tLanguagefile created !\t" + prog.dir() + "GUI/Lang/US_English.Lng"),
        std::string::npos)
        << log;
    EXPECT_NE(log.find("Language\tis the current Languagefile !\t"), std::string::npos) << log;
    EXPECT_FALSE(p.errors()) << p.messages();

    // Kept in the build folder: scripts/make-german-lng makes German.Lng from it.
    test::write_bytes(std::filesystem::path(PARVEX_PNG_DIR).parent_path() / "Language.Lng",
                      builtin);
    const std::vector<std::string> lines = lines_of(builtin);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines.front(), "[Translations]");
    EXPECT_EQ(lines[lines.size() - 2], "[Version-INFO]");
    EXPECT_EQ(lines.back(), "Version=02.06.28.2149");
    EXPECT_TRUE(has_line(builtin, "Form1.fb_btn_News.Caption=Check_NOW"));
    EXPECT_TRUE(has_line(builtin, "Form1.fb_btn_L01.Caption=use_as_\"CURRENT_Language\""));
    EXPECT_TRUE(has_line(builtin, "Form1.btn_Work.Caption=create_NEW-List"));
    EXPECT_TRUE(has_line(builtin, "Form1.fb_pc_Language.Caption=Language"));
    EXPECT_TRUE(has_line(builtin, "Form1.fb_lab_53.Caption=the_Number_of_Seconds~~the_Messages_"
                                  "will_be_displayed"));
    EXPECT_TRUE(has_line(builtin, "Form1.fb_DE_GData.DialogTitle=GUI-Data_Directory"));
    // Qt's own helpers, data labels and the current language never appear; keys are unique.
    QSet<QString> keys;
    for (std::size_t i = 1; i + 2 < lines.size(); ++i) {
        const std::string& line = lines[i];
        const std::string key = line.substr(0, line.find('='));
        EXPECT_EQ(key.find(".qt_"), std::string::npos) << line;
        EXPECT_FALSE(keys.contains(QString::fromStdString(key))) << line;
        keys.insert(QString::fromStdString(key));
    }
    for (const char* absent : {"fb_labX_cLang", "lab_Nr_Tokens", "lab_Index_Size", "fb_lab_19",
                               "fb_lab_SRC", "GP01", "fb_CC"})
        EXPECT_EQ(builtin.find(std::string("Form1.") + absent + "."), std::string::npos) << absent;

    // The table tells which files exist; rows with a file come in the "Data-Group 1" colour.
    const Table_Grid& g = f.fb_sg_Lang->Grid();
    for (int r = 1; r < g.Row_Count(); ++r)
        EXPECT_EQ(g.Cell(2, r), g.Cell(0, r) == "French" ? "No" : "Yes") << g.Cell(0, r);
    EXPECT_FALSE(f.fb_PCL->isTabVisible(f.fb_PCL->indexOf(f.fb_pcl_work)));
    // The settings name the built-in file for this window.
    EXPECT_TRUE(has_line(prog.read("parvex_gui_tests.INI"),
                         "Form1=" + prog.dir() + "GUI/Lang/Language.Lng"));
    f.Show_Page(f.fb_pcl_Start);
    f.resize(900, 640);
    test::save_png(f, "language_basic_setting");
}

TEST(LanguagePages, GermanChangesEveryCaptionAndComesBack) {
    TempDir prog;
    install_languages(prog);
    {
        Program p(prog);
        TForm1& f = p.form;
        p.select("German");
        f.fb_btn_L01->click();
        EXPECT_EQ(f.fb_labX_cLang->text(), "German");
        EXPECT_TRUE(p.said("is the current Languagefile !"));

        // Every text the built-in file holds is changed by German, apart from a few that are
        // the same in both languages.
        const std::string builtin = prog.read("GUI/Lang/Language.Lng");
        const std::string german = prog.read("GUI/Lang/German.Lng");
        int same = 0, total = 0;
        for (const std::string& line : lines_of(builtin)) {
            const auto eq = line.find('=');
            if (eq == std::string::npos || line.rfind("Version=", 0) == 0)
                continue;
            ++total;
            bool translated = false;
            for (const std::string& g : lines_of(german))
                if (g.substr(0, eq + 1) == line.substr(0, eq + 1))
                    translated = true;
            EXPECT_TRUE(translated) << "German.Lng lacks " << line << "\n  add its German text to "
                                    << "scripts/make-german-lng and run it on build/Language.Lng";
            if (has_line(german, line))
                ++same;
        }
        EXPECT_GT(total, 150);
        EXPECT_LT(same, total / 10);

        EXPECT_EQ(f.ui.btn_Work->text(), "NEUE Liste erstellen");
        EXPECT_EQ(f.fb_btn_News->text(), "JETZT prüfen");
        EXPECT_EQ(f.fb_PC_GUI->tabText(f.fb_PC_GUI->indexOf(f.fb_pc_Language)), "Sprache");
        EXPECT_EQ(f.ui.PCW->tabText(f.ui.PCW->indexOf(f.ui.pcw_Setup)), "Einstellungen");
        EXPECT_EQ(f.fb_labX_cLang->text(), "German"); // never translated

        // The size the window starts with.
        f.resize(TFormBase::Form_Width, TFormBase::Form_Height);
        f.ui.PC->setCurrentWidget(f.ui.PC_Work);
        f.ui.PCW->setCurrentWidget(f.ui.pcw_Setup);
        test::save_png(f, "language_german_main");
        f.ui.PCWS->setCurrentWidget(f.ui.pcws_Files);
        test::save_png(f, "language_german_main_files");
        f.Show_Page(f.fb_pcl_Start);
        test::save_png(f, "language_german_frame_language");
        f.Show_Page(f.fb_pc_Mess);
        test::save_png(f, "language_german_frame_messages");
        f.Show_Page(f.fb_PC_oDetails);
        test::save_png(f, "language_german_frame_details");
        f.Show_Page(f.fb_pcl_Translate);
        test::save_png(f, "language_german_frame_translate");
        f.Show_Page(f.fb_pcc_Titles);
        test::save_png(f, "language_german_frame_colors");
        f.Show_Page(f.fb_pc_upgrade);
        test::save_png(f, "language_german_frame_news");
    }
    // German stays the language after a restart.
    {
        Program p(prog);
        TForm1& f = p.form;
        EXPECT_EQ(f.fb_labX_cLang->text(), "German");
        EXPECT_EQ(f.ui.btn_Work->text(), "NEUE Liste erstellen");
        // And back to English.
        p.select("US English");
        f.fb_btn_L01->click();
        EXPECT_EQ(f.fb_labX_cLang->text(), "US English");
        EXPECT_EQ(f.ui.btn_Work->text(), "create NEW-List");
        EXPECT_EQ(f.fb_btn_News->text(), "Check NOW");
        EXPECT_EQ(f.fb_PC_GUI->tabText(f.fb_PC_GUI->indexOf(f.fb_pc_Language)), "Language");
        EXPECT_FALSE(p.errors()) << p.messages();
        f.resize(TFormBase::Form_Width, TFormBase::Form_Height);
        f.ui.PC->setCurrentWidget(f.ui.PC_Work);
        f.ui.PCW->setCurrentWidget(f.ui.pcw_Setup);
        f.ui.PCWS->setCurrentWidget(f.ui.pcws_General);
        test::save_png(f, "language_english_main");
    }
}

TEST(LanguagePages, RecreatingTheBuiltInFileWhileGermanIsShownWritesEnglish) {
    TempDir prog;
    install_languages(prog);
    Program p(prog);
    TForm1& f = p.form;
    p.select("German");
    f.fb_btn_L01->click();
    ASSERT_EQ(f.ui.btn_Work->text(), "NEUE Liste erstellen");
    const std::string before = prog.read("GUI/Lang/Language.Lng");
    f.fb_btn_create_ORG_Langfile->click();
    const std::string after = prog.read("GUI/Lang/Language.Lng");
    EXPECT_EQ(after, before);
    EXPECT_TRUE(has_line(after, "Form1.btn_Work.Caption=create_NEW-List"));
    // The window shows the chosen language again.
    EXPECT_EQ(f.ui.btn_Work->text(), "NEUE Liste erstellen");
    // The open message while the file was written went to the log.
    EXPECT_NE(prog.read("Data/Logfile.txt").find("RE-Create the"), std::string::npos);
}

TEST(LanguagePages, TranslatedCaptionIsSavedAndKeptAfterRestart) {
    TempDir prog;
    install_languages(prog);
    const std::string key = "Form1.btn_Check.Caption";
    {
        Program p(prog);
        TForm1& f = p.form;
        TSGX* grid = f.fb_SG_Trans;
        f.fb_Load_Lang->click();
        EXPECT_EQ(f.fb_lab_62->text(), "Version=02.06.28.2149");
        EXPECT_EQ(f.fb_lab_64->text(), "Version=02.06.28.2149 US English");
        const int row = row_of_key(grid, key);
        ASSERT_GT(row, 0);
        EXPECT_EQ(cell(grid, 1, row), "Caption");
        EXPECT_EQ(cell(grid, 2, row), "check_it_!");
        EXPECT_EQ(cell(grid, 4, row), "True");

        // Only the clicked Text cell is editable.
        EXPECT_FALSE(grid->Editing());
        grid->Grid().Set_Current(2, row);
        p.lang->fb_SG_TransClick(2, row);
        EXPECT_TRUE(grid->Editing());
        EXPECT_EQ(f.fb_lab_SRC->text(), "check_it_!");
        // Typed into the open cell editor; "Replace" takes the text without the editor closing.
        const QModelIndex index = grid->model()->index(row - 1, 2);
        grid->edit(index);
        ASSERT_TRUE(grid->Editor_Open());
        auto* editor = grid->viewport()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        editor->setText(QStringLiteral("check it now !"));
        f.fb_Lang_Replace->click();
        EXPECT_FALSE(grid->Editor_Open());
        EXPECT_EQ(cell(grid, 2, row), "check it now !");
        EXPECT_EQ(cell(grid, 4, row), "False");
        p.lang->fb_SG_TransClick(3, row);
        EXPECT_FALSE(grid->Editing());

        // A double-click on Org. toggles it; rows still untranslated are coloured.
        const int other = row_of_key(grid, "Form1.btn_Work.Caption");
        grid->Grid().Set_Current(4, other);
        p.lang->fb_SG_TransDblClick();
        EXPECT_EQ(cell(grid, 4, other), "False");
        p.lang->fb_SG_TransDblClick();
        EXPECT_EQ(cell(grid, 4, other), "True");
        grid->Grid().Set_Current(0, 1);
        EXPECT_EQ(grid->Run_Format_Cell(3, other, Draw_None).brush, Grid_Color(6));
        EXPECT_NE(grid->Run_Format_Cell(3, row, Draw_None).brush, Grid_Color(6));

        // Leaving the edited cell with the keyboard drops the unconfirmed edit.
        p.lang->fb_SG_TransClick(2, other);
        ASSERT_TRUE(
            grid->model()->setData(grid->model()->index(other - 1, 2), QStringLiteral("x")));
        grid->selectionModel()->setCurrentIndex(grid->model()->index(other - 1, 3),
                                                QItemSelectionModel::ClearAndSelect);
        EXPECT_EQ(cell(grid, 2, other), "create_NEW-List");
        EXPECT_FALSE(grid->Editing());
        f.Show_Page(f.fb_pcl_Translate);
        f.resize(960, 640);
        test::save_png(f, "language_translate");
        f.fb_Save_Lang->click();
        EXPECT_EQ(f.ui.btn_Check->text(), "check it now !");
        EXPECT_TRUE(has_line(prog.read("GUI/Lang/US_English.Lng"), key + "=check_it_now_!"));
        EXPECT_TRUE(has_line(prog.read("GUI/Lang/US_English.Lng.bak"), key + "=check_it_!"));
        EXPECT_FALSE(p.errors()) << p.messages();
    }
    Program again(prog);
    EXPECT_EQ(again.form.ui.btn_Check->text(), "check it now !");
}

TEST(LanguagePages, SaveLanguageIsRefusedWithoutALoadedTable) {
    TempDir prog;
    install_languages(prog);
    Program p(prog);
    TForm1& f = p.form;
    const std::string before = prog.read("GUI/Lang/US_English.Lng");
    f.fb_Save_Lang->click();
    EXPECT_TRUE(p.said("Load Language"));
    EXPECT_EQ(prog.read("GUI/Lang/US_English.Lng"), before);

    // A table loaded for one language is not saved into another's file.
    f.fb_Load_Lang->click();
    p.select("German");
    f.fb_btn_L01->click();
    p.shown.clear();
    const std::string german = prog.read("GUI/Lang/German.Lng");
    f.fb_Save_Lang->click();
    EXPECT_TRUE(p.errors());
    EXPECT_EQ(prog.read("GUI/Lang/German.Lng"), german);
}

TEST(LanguagePages, NoReferenceRowLeavesTheLanguageUnchosen) {
    TempDir prog;
    prog.write("GUI/Data/Language.dat", "Language|Code|exists|m4D\r\nGerman|$0407|No|False\r\n");
    Program p(prog);
    EXPECT_EQ(p.form.fb_labX_cLang->text(), "?");
    EXPECT_TRUE(std::filesystem::exists(prog.path() / "GUI/Lang/Language.Lng"));
    EXPECT_FALSE(std::filesystem::exists(prog.path() / "GUI/Lang/US_English.Lng"));
    EXPECT_EQ(p.form.fb_sg_Lang->Grid().Cell(2, 1), "No");
    // "?" cannot be saved.
    p.form.fb_Load_Lang->click();
    p.form.fb_Save_Lang->click();
    EXPECT_TRUE(p.said("No current Language"));
    EXPECT_FALSE(std::filesystem::exists(prog.path() / "GUI/Lang/?.Lng"));
}

TEST(LanguagePages, AnUnwritableLanguageFolderIsReportedWithoutLooping) {
    TempDir prog;
    install_languages(prog);
    std::filesystem::remove_all(prog.path() / "GUI/Lang");
    prog.write("GUI/Lang", "a file where the folder should be");
    Program p(prog);
    EXPECT_TRUE(p.form.startup_complete());
    EXPECT_TRUE(p.errors());
    EXPECT_TRUE(p.said("could not be created"));
    EXPECT_FALSE(p.said("Languagefile created !"));
    EXPECT_EQ(p.form.fb_labX_cLang->text(), "?");
}

TEST(LanguagePages, CreateFailureIsReportedOnce) {
    TempDir prog;
    install_languages(prog);
    Program p(prog);
    TForm1& f = p.form;
    std::filesystem::remove(prog.path() / "GUI/Lang/Language.Lng");
    p.select("French");
    p.shown.clear();
    f.fb_btn_createLang->click();
    EXPECT_TRUE(p.errors());
    EXPECT_TRUE(p.said("could not be created"));
    EXPECT_FALSE(p.said("Languagefile created !"));
    EXPECT_FALSE(std::filesystem::exists(prog.path() / "GUI/Lang/French.Lng"));

    // Answering "NO" to the overwrite question leaves the file alone.
    p.shown.clear();
    p.answer_no = true;
    p.select("German");
    const std::string german = prog.read("GUI/Lang/German.Lng");
    f.fb_btn_createLang->click();
    ASSERT_FALSE(p.shown.empty());
    EXPECT_EQ(p.shown[0].title, "Language-File");
    EXPECT_EQ(prog.read("GUI/Lang/German.Lng"), german);
}

TEST(LanguagePages, LanguageNamesThatLeaveTheFolderAreRefused) {
    TempDir prog;
    prog.write("GUI/Data/Language.dat",
               "Language|Code|exists|m4D\r\n../../evil|$0407|Yes|False\r\n");
    prog.write("evil.Lng", "[Translations]\r\nForm1.btn_Work.Caption=pwned\r\n");
    Program p(prog);
    TForm1& f = p.form;
    p.select("../../evil");
    f.fb_btn_createLang->click();
    f.fb_btn_L01->click();
    EXPECT_TRUE(p.said("cannot name a Language-File"));
    EXPECT_EQ(f.ui.btn_Work->text(), "create NEW-List");
    EXPECT_EQ(f.fb_sg_Lang->Grid().Cell(2, 1), "No");
    EXPECT_EQ(prog.read("evil.Lng"), "[Translations]\r\nForm1.btn_Work.Caption=pwned\r\n");
}

TEST(LanguagePages, FileNameWithCaretShowsLiterally) {
    EXPECT_EQ(File_Message("^C:", "/p/GUI/Lang/x.Lng", "gone"), "^C:^F:/p/GUI/Lang/x.Lng^gone");
    EXPECT_EQ(File_Message("^C:", "/p^q/x.Lng", "gone"), "^C:/p^q/x.Lng\r\ngone");
    TDlgs d;
    d.Decode_Mess(File_Message("^C:", "/p^q/x.Lng", "gone"));
    EXPECT_TRUE(d.Decode_Mess(File_Message("^C:", "/p^q/x.Lng", "gone")).startsWith("/p^q/x.Lng"));
}

TEST(LanguagePages, ObjectNamesOfTheWindowAreUnique) {
    TempDir prog;
    TDlgs dialog;
    TForm1 form(prog.dir(), &dialog);
    Language_Pages pages(form);
    // Qt's helpers: "qt_" names, Qt's dialogs kept as children (the colour chooser), and the
    // insides of tab bars, spin and combo boxes, line edits and item views.
    auto qt_helper = [&form](const QObject* o) {
        if (o->objectName().startsWith("qt_") || o->objectName().startsWith("_q_"))
            return true;
        for (const QObject* w = o; w && w != &form; w = w->parent())
            if (w->isWidgetType() && static_cast<const QWidget*>(w)->isWindow())
                return true;
        for (o = o->parent(); o && o != &form; o = o->parent())
            if (qobject_cast<const QTabBar*>(o) || qobject_cast<const QAbstractSpinBox*>(o) ||
                qobject_cast<const QComboBox*>(o) || qobject_cast<const QLineEdit*>(o) ||
                qobject_cast<const QAbstractItemView*>(o))
                return true;
        return false;
    };
    QHash<QString, int> seen;
    QStringList twice;
    for (QObject* o : form.findChildren<QObject*>()) {
        if (o->objectName().isEmpty() || qt_helper(o))
            continue;
        if (++seen[o->objectName().toLower()] == 2)
            twice << o->objectName();
    }
    EXPECT_TRUE(twice.isEmpty()) << twice.join(", ").toStdString();
    // Every caption the window shows has a name, so a language file can reach it.
    QStringList unnamed;
    for (QWidget* w : form.findChildren<QWidget*>()) {
        if (!w->objectName().isEmpty() || qt_helper(w))
            continue;
        const auto caption = Read_Lang_Property(w, "Caption");
        if (caption && caption->contains(QRegularExpression("[A-Za-z]")))
            unnamed << *caption;
    }
    EXPECT_TRUE(unnamed.isEmpty()) << unnamed.join(" | ").toStdString();
    EXPECT_EQ(form.findChild<QLabel*>("lab_Break_the_Line_after")->text(), "Break the Line after");
}

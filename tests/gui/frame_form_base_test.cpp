// The frame window's life cycle: first and second start, the settings file, pages and tables.
#include "frame_stand_in.h"

#include "frame/directory_edit.h"
#include "frame/frame_dirs.h"
#include "frame/frame_settings.h"
#include "frame/ini_file.h"
#include "frame/stored_binding.h"
#include "png_dump.h"
#include "temp_dir.h"
#include "widgets/gradient_caption.h"
#include "widgets/sgx.h"

#include <QLabel>
#include <QListWidget>
#include <QSpinBox>
#include <QTabBar>
#include <gtest/gtest.h>

#include <filesystem>

using namespace parvex;
using parvex::test::StandInForm;

namespace {

struct FrameTest : ::testing::Test {
    test::TempDir dir;
    TDlgs dlg;

    std::unique_ptr<StandInForm> start() {
        auto w = std::make_unique<StandInForm>(dir.dir(), &dlg);
        w->show();
        return w;
    }
    ~FrameTest() override {
        dlg.setModalHook({});
        dlg.hide();
    }
};

QStringList tab_texts(QTabWidget* pc) {
    QStringList t;
    for (int i = 0; i < pc->count(); ++i)
        t << pc->tabText(i);
    return t;
}

QString read_prop(const QObject& root, const Stored_Property& p) {
    return Read_Stored(root, p).value_or(QStringLiteral("<missing>"));
}

// A value different from the default that the control can hold.
QString changed_value(const Stored_Property& p) {
    const QString def = QString::fromUtf8(p.default_value.data(), p.default_value.size());
    switch (p.kind) {
    case Setting_Kind::Boolean:
        return def == "True" ? "False" : "True";
    case Setting_Kind::Number:
        if (p.min_value == INT_MIN)
            return QString::number(def.toInt() + 1);
        return QString::number(def.toInt() == p.min_value ? p.min_value + 1 : p.min_value);
    case Setting_Kind::Color:
        return def == "clMaroon" ? "$00123456" : "clMaroon";
    case Setting_Kind::Page:
        return p.component == "fb_PC_GUI" ? "fb_pc_Log" : "fb_pcCredits";
    case Setting_Kind::Text:
        break;
    }
    if (p.component.starts_with("fb_DE_"))
        return QString(); // set apart: it must name an existing folder to matter
    return "changed " + QString::fromUtf8(p.component.data(), p.component.size());
}

} // namespace

TEST_F(FrameTest, FirstStartBuildsTheTreeAndStartsWithEveryDefault) {
    auto w = start();
    for (std::string_view d : Frame_Dir_Names)
        EXPECT_TRUE(std::filesystem::is_directory(dir.path() / std::string(d))) << d;
    EXPECT_TRUE(w->startup_complete());
    EXPECT_EQ(w->events, (std::vector<std::string>{"restored:pas", "show"}));
    for (const Stored_Property& p : Frame_Stored_Properties) {
        if (p.key == "fb_PC_ActivePage")
            continue; // its pages now live in the main window's page control
        EXPECT_EQ(read_prop(*w, p).toStdString(), std::string(p.default_value)) << p.key;
    }
    EXPECT_EQ(w->facade().settings().short_secs, 2);
    EXPECT_EQ(w->facade().settings().long_secs, 10);
    // The log keeps the number of lines its page shows.
    EXPECT_EQ(dlg.log().Max_Log_Lines, 99);
    EXPECT_EQ(w->caption_text(),
              "  Zivadu-Zedu Parvex   Version [ " + QString::fromLatin1(Program_Version) + " ]   ");
    EXPECT_EQ(QString::fromLatin1(Program_Version), "02.06.28.2149");
    EXPECT_EQ(w->size(), QSize(640, 480));
    // The frame's pages follow the window's own.
    EXPECT_EQ(tab_texts(w->PC),
              (QStringList{"Work", "About ...", "to DO ...", "Credits ...", "G. U. I."}));
    EXPECT_EQ(tab_texts(w->fb_PC_GUI),
              (QStringList{"Sound", "Color", "Language", "Messages / Transparency", "Logfile",
                           "News / Upgrade", "other Details"}));
    EXPECT_EQ(w->fb_PC_GUI->currentWidget(), w->fb_pc_upgrade);
    EXPECT_FALSE(w->fb_PCL->isTabVisible(w->fb_PCL->indexOf(w->fb_pcl_work)));
    EXPECT_FALSE(w->fb_PCC->isTabVisible(w->fb_PCC->indexOf(w->fb_pcc_Predefs)));
    // The eight tables got their records in start-up order.
    std::vector<std::string> files;
    for (TSGX* g : w->frame_tables())
        files.push_back(std::filesystem::path(g->GetSG_Record().File_Name).filename().string());
    EXPECT_EQ(files, (std::vector<std::string>{"Predef.dat", "Sounds.dat", "SpS.dat", "VE.dat",
                                               "HP-News.dat", "Translate.Tmp", "Language.dat",
                                               "Language.dat"}));
    EXPECT_EQ(w->fb_sg_VE->Grid().Row_Count(), 6);
    // The start sound, then the closing of the "I N I T" message.
    ASSERT_GE(w->sounds.size(), 2u);
    EXPECT_EQ(std::vector<std::string>(w->sounds.end() - 2, w->sounds.end()),
              (std::vector<std::string>{"PS", "Dm"}));

    w->close();
    EXPECT_EQ(w->events.back(), "saved");
    IniFile ini;
    ASSERT_TRUE(IniFile::load(w->settings_file(), ini));
    for (const Stored_Property& p : Frame_Stored_Properties)
        EXPECT_TRUE(ini.value("TForm1", p.key).has_value()) << p.key;
    EXPECT_EQ(ini.read("TForm1", "fb_PC_ActivePage", ""), "fb_pcGUI");
    EXPECT_EQ(ini.read("TForm1", "ed_ext_1_Text", ""), "pas");
    EXPECT_TRUE(ini.value("TForm1", "NormPos").has_value());
    // The four tables the close step saves, and the last log line.
    for (const char* f : {"Sounds.dat", "Language.dat", "Predef.dat", "SpS.dat"})
        EXPECT_TRUE(std::filesystem::exists(dir.path() / "GUI/Data" / f)) << f;
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "GUI/Data/HP-News.dat"));
    const std::string log = test::read_bytes(dir.path() / "Data/Logfile.txt");
    EXPECT_NE(log.find("Proper END\tof Program"), std::string::npos);
}

TEST_F(FrameTest, SecondStartRestoresEveryPersistedProperty) {
    std::map<std::string, QString> set; // every property the first run changed
    {
        auto w = start();
        for (const Stored_Property& p : Frame_Stored_Properties) {
            const QString v = changed_value(p);
            if (p.key == "fb_PC_ActivePage" || p.component.starts_with("fb_DE_"))
                continue;
            ASSERT_TRUE(Write_Stored(*w, p, v)) << p.key;
            set[std::string(p.key)] = v;
        }
        for (const char* name : {"fb_DE_GHelp", "fb_DE_GLang", "fb_DE_GPics", "fb_DE_GSnds"})
            w->findChild<QLineEdit*>(name)->setText(QString::fromStdString(dir.dir()) + name);
        EXPECT_EQ(set.size(), Frame_Stored_Properties.size() - 6);
        w->ed_ext_1->setText("inc");
        w->chk_ext_1->setChecked(false);
        w->Show_Page(w->fb_pcCredits);
        w->resize(800, 600);
        w->close();
    }
    IniFile ini;
    auto w = start();
    EXPECT_EQ(w->events.front(), "restored:inc");
    for (const Stored_Property& p : Frame_Stored_Properties) {
        auto it = set.find(std::string(p.key));
        if (it != set.end()) {
            EXPECT_EQ(read_prop(*w, p), it->second) << p.key;
        }
    }
    for (const char* name : {"fb_DE_GHelp", "fb_DE_GLang", "fb_DE_GPics", "fb_DE_GSnds"})
        EXPECT_EQ(w->findChild<QLineEdit*>(name)->text(), QString::fromStdString(dir.dir()) + name);
    EXPECT_FALSE(w->chk_ext_1->isChecked());
    EXPECT_EQ(dlg.log().Max_Log_Lines, w->se_LogLines->value());
    // The display times are not kept: every start begins with 2, 5 and 10 seconds.
    EXPECT_EQ(w->fb_Mess_SHORT->value(), 2);
    // The start-up size wins over the stored 800 x 600.
    EXPECT_EQ(w->size(), QSize(640, 480));
    ASSERT_TRUE(IniFile::load(w->settings_file(), ini));
    EXPECT_EQ(ini.read("TForm1", "fb_PC_ActivePage", ""), "fb_pcCredits");
    EXPECT_EQ(ini.read("TForm1", "PC_ActivePage", ""), "fb_pcCredits");
    EXPECT_EQ(w->PC->currentWidget(), w->fb_pcCredits);
}

TEST_F(FrameTest, DamagedSettingsFileStartsWithDefaultsAndIsRewrittenAtClose) {
    const std::string ini_name = [&] {
        StandInForm probe(dir.dir(), &dlg);
        return probe.settings_file();
    }();
    test::write_bytes(ini_name, std::string("\xFF\xFE garbage\r\n[TForm1\r\n[TForm1]\r\n"
                                            "fb_chk_14_Checked=perhaps\r\n"
                                            "se_LogLines_Value=many\r\n"
                                            "fb_cnt_T02_Value=9999\r\n"
                                            "fb_ed_TC3_Color=notacolour\r\n"
                                            "NormPos=1,2\r\n"));
    auto w = start();
    EXPECT_FALSE(w->fb_chk_14->isChecked());
    EXPECT_EQ(w->se_LogLines->value(), 99);
    EXPECT_EQ(w->fb_cnt_T02->value(), 255); // out of range: clamped
    EXPECT_EQ(read_prop(*w, *Find_Stored_Property(Frame_Stored_Properties, "fb_ed_TC3_Color")),
              "clBlue");
    w->close();
    IniFile ini;
    ASSERT_TRUE(IniFile::load(ini_name, ini));
    EXPECT_EQ(ini.read("TForm1", "fb_chk_14_Checked", ""), "False");
    EXPECT_EQ(ini.read("TForm1", "se_LogLines_Value", ""), "99");
    EXPECT_EQ(ini.read("TForm1", "fb_ed_TC3_Color", ""), "clBlue");
}

TEST_F(FrameTest, DataDirectoryOverrideMovesTheDataTablesOnly) {
    std::filesystem::create_directory(dir.path() / "shared");
    {
        auto w = start();
        w->fb_DE_GData->setText(QString::fromStdString((dir.path() / "shared").string()));
        w->close();
    }
    // The shared folder holds what the program's own holds, so the next start takes it.
    for (const auto& e : std::filesystem::directory_iterator(dir.path() / "GUI/Data"))
        std::filesystem::copy_file(e.path(), dir.path() / "shared" / e.path().filename());
    auto w = start();
    const std::string shared = (dir.path() / "shared").string() + "/";
    EXPECT_EQ(w->data_dir(), shared);
    for (TSGX* g : {w->fb_SG_Predef, w->fb_SG_Sound, w->fb_sg_SpS, w->fb_SG_News, w->fb_sg_Lang})
        EXPECT_EQ(std::filesystem::path(g->GetSG_Record().File_Name).parent_path().string() + "/",
                  shared)
            << g->objectName().toStdString();
    for (TSGX* g : {w->fb_sg_VE, w->fb_SG_Trans})
        EXPECT_EQ(std::filesystem::path(g->GetSG_Record().File_Name).parent_path(),
                  dir.path() / "GUI/Data");
    // A folder that does not exist falls back silently.
    w->fb_DE_GData->setText(QString::fromStdString(dir.dir() + "missing"));
    EXPECT_EQ(w->data_dir(), dir.dir() + "GUI/Data/");
}

TEST_F(FrameTest, CaptionStatusAndNestedPages) {
    auto w = start();
    w->fb_Set_Caption("", "busy");
    EXPECT_EQ(w->fb_CC->partText(Caption_Items::Status), "busy");
    w->fb_Set_Caption("", "");
    EXPECT_EQ(w->fb_CC->partText(Caption_Items::Status), "busy");
    w->fb_Set_Caption("My Title", " ");
    EXPECT_EQ(w->fb_CC->partText(Caption_Items::Status), "");
    EXPECT_EQ(w->fb_CC->partText(Caption_Items::Title), "My Title");

    w->PC->setCurrentIndex(0);
    w->sounds.clear();
    w->Show_Page(w->fb_pc_Log);
    EXPECT_EQ(w->PC->currentWidget(), w->fb_pcGUI);
    EXPECT_EQ(w->fb_PC_GUI->currentWidget(), w->fb_pc_Log);
    EXPECT_FALSE(w->sounds.empty());
    EXPECT_EQ(w->sounds.front(), "CP");
    // Only the active tab of each page control is highlighted.
    for (QTabWidget* pc : {w->PC, w->fb_PC_GUI})
        for (int i = 0; i < pc->count(); ++i)
            EXPECT_EQ(pc->tabBar()->tabTextColor(i).isValid(), i == pc->currentIndex());
}

TEST_F(FrameTest, LogPageAndLoggedSwitches) {
    auto w = start();
    w->Show_Page(w->fb_pc_Log);
    const int shown = w->fb_tlb_Log->count();
    EXPECT_GT(shown, 0); // the I N I T message at least
    auto count = [&](const std::string& what) {
        const std::string log = test::read_bytes(dir.path() / "Data/Logfile.txt");
        std::size_t n = 0;
        for (std::size_t at = log.find(what); at != std::string::npos; at = log.find(what, at + 1))
            ++n;
        return n;
    };
    w->fb_chk_logALL->setChecked(false);
    w->fb_chk_logALL->setChecked(true);
    EXPECT_EQ(count("Changed SetUp\tLogFile=True"), 1u);
    EXPECT_EQ(count("LogFile=False"), 0u);
    w->fb_chk_Speaker->setChecked(false);
    w->fb_chk_www->setChecked(true); // off by default
    EXPECT_EQ(count("Changed SetUp\tuse Sound=False"), 1u);
    EXPECT_EQ(count("Changed SetUp\tcheck Upgrade=True"), 1u);

    // Hiding the page empties the viewer; showing it reloads lines written meanwhile.
    w->Show_Page(w->fb_pc_Mess);
    EXPECT_EQ(w->fb_tlb_Log->count(), 0);
    w->Show_Page(w->fb_pc_Log);
    EXPECT_GE(w->fb_tlb_Log->count(), shown + 3);
    EXPECT_TRUE(w->fb_tlb_Log->item(w->fb_tlb_Log->count() - 1)->text().contains("check Upgrade"));

    w->se_LogLines->setValue(20);
    EXPECT_EQ(dlg.log().Max_Log_Lines, 20);
    w->resize(900, 700);
    w->RxSpeedButton1Click();
    EXPECT_EQ(w->size(), QSize(640, 480));
}

TEST_F(FrameTest, PicturesOfTheFramePages) {
    auto w = start();
    struct Shot {
        QWidget* page;
        const char* name;
    } shots[] = {{w->fb_pcAbout, "frame_about"},
                 {w->fb_PCtodo, "frame_todo"},
                 {w->fb_pcCredits, "frame_credits"},
                 {w->fb_pc_Sound, "frame_gui_sound"},
                 {w->fb_pcc_Panels, "frame_gui_color_panels"},
                 {w->fb_pcc_Titles, "frame_gui_color_titles"},
                 {w->fb_pcc_Buttons, "frame_gui_color_buttons"},
                 {w->fb_pcc_SG, "frame_gui_color_grids"},
                 {w->fb_pc_Language, "frame_gui_language"},
                 {w->fb_pc_Mess, "frame_gui_messages"},
                 {w->fb_pc_Log, "frame_gui_logfile"},
                 {w->fb_pc_upgrade, "frame_gui_news"},
                 {w->fb_PC_oDetails, "frame_gui_details"}};
    for (const Shot& s : shots) {
        w->Show_Page(s.page);
        QCoreApplication::processEvents();
        EXPECT_TRUE(s.page->isVisible()) << s.name;
        EXPECT_FALSE(test::save_png(*w, s.name).isEmpty());
    }
}

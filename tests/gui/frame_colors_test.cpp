// The colour scheme: the applier over the whole window, the hover handlers, the colour page and
// the presets in "Predef.dat", with pictures of the main window under every shipped preset.
#include "colors/color_preset.h"
#include "frame/color_state.h"
#include "frame/frame_settings.h"
#include "frame_stand_in.h"
#include "info/info_pages.h"
#include "language/language_pages.h"
#include "news/news_page.h"
#include "platform/color_convert.h"
#include "platform/color_edit.h"
#include "png_dump.h"
#include "tables/color_names.h"
#include "tables/table_file.h"
#include "tables/table_format.h"
#include "temp_dir.h"
#include "widgets/gradient_panel.h"
#include "widgets/sgx.h"
#include "widgets/shadow_label.h"
#include "window/form1.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEnterEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <gtest/gtest.h>

#include <filesystem>

using namespace parvex;
using parvex::test::StandInForm;
using parvex::test::TempDir;

namespace {

const std::string Shipped_Predef = std::string(PARVEX_DATA_DIR) + "/GUI/Data/Predef.dat";

const char* Language_Fixture = "Language|Code|exists|m4D\r\n"
                               "Arabic|$0401|False|False\r\n"
                               "Czech|$0405|False|False\r\n"
                               "Deutsch|$0407|True|False\r\n"
                               "English|$0409|True|False\r\n"
                               "Francais|$040C|False|False\r\n";

// The dialog answers every modal display at once and remembers what it showed.
struct Answering_Dialog {
    TDlgs dlg;
    std::vector<QString> titles, texts;
    Answering_Dialog() {
        dlg.setModalHook([this](TDlgs& d) {
            titles.push_back(d.titleText());
            texts.push_back(d.messageText());
            (d.xdlg_btn_break_OK->isVisible() ? d.xdlg_btn_break_OK : d.xdlg_btn_OK)->click();
        });
    }
    ~Answering_Dialog() {
        dlg.setModalHook({});
        dlg.hide();
    }
    int count(const QString& title) const {
        return static_cast<int>(std::count(titles.begin(), titles.end(), title));
    }
    // Log lines that contain `text`.
    int logged(const std::string& text) const {
        int n = 0;
        for (const std::string& line : const_cast<TDlgs&>(dlg).log().Lines())
            n += line.find(text) != std::string::npos;
        return n;
    }
};

// Every setting of the page as a preset row would store it (columns 1 .. 35).
std::vector<std::string> page_settings(TFormBase& w) {
    std::vector<std::string> cells;
    for (int c = 1; c < Preset_Mark_Col; ++c) {
        const Preset_Column& col = Preset_Columns()[static_cast<std::size_t>(c)];
        QObject* o =
            w.findChild<QObject*>(QString::fromLatin1(col.component.data(), col.component.size()));
        if (auto* b = qobject_cast<QCheckBox*>(o))
            cells.push_back(b->isChecked() ? "True" : "False");
        else if (auto* e = qobject_cast<QLineEdit*>(o))
            cells.push_back(Color_To_Name(Edit_Color(*e)) + "/" + e->text().toStdString());
        else if (auto* s = qobject_cast<QSlider*>(o))
            cells.push_back(std::to_string(s->value()));
        else
            cells.push_back("<missing " + std::string(col.component) + ">");
    }
    return cells;
}

int predef_index(TFormBase& w, const QString& name) {
    return w.fb_cb_Predef->findText(name);
}

void load_preset(TFormBase& w, const QString& name) {
    const int i = predef_index(w, name);
    ASSERT_GE(i, 0) << name.toStdString();
    w.fb_cb_Predef->setCurrentIndex(i);
    w.fb_cb_Predef->activated(i);
    QApplication::processEvents();
}

QImage render(QWidget& w) {
    QApplication::processEvents();
    return w.grab().toImage();
}

struct ColorTest : ::testing::Test {
    TempDir dir;
    Answering_Dialog answers;

    std::unique_ptr<StandInForm> start() {
        auto w = std::make_unique<StandInForm>(dir.dir(), &answers.dlg);
        w->show();
        QApplication::processEvents();
        return w;
    }
    void ship_predefs() {
        std::filesystem::create_directories(dir.path() / "GUI/Data");
        std::filesystem::copy_file(Shipped_Predef, dir.path() / "GUI/Data/Predef.dat",
                                   std::filesystem::copy_options::overwrite_existing);
    }
};

} // namespace

TEST_F(ColorTest, ShippedPresetsAreWholeAndClassicIsTheFirstStart) {
    ship_predefs();
    auto w = start();
    QStringList names;
    for (int i = 0; i < w->fb_cb_Predef->count(); ++i)
        names << w->fb_cb_Predef->itemText(i);
    names.sort();
    EXPECT_EQ(names, QStringList({"Classic", "Dark", "High Contrast", "Light"}));
    const Table_Grid& g = w->fb_SG_Predef->Grid();
    for (int r = 1; r < g.Row_Count(); ++r)
        EXPECT_FALSE(Check_Preset_Row(g.Row(r))) << g.Cell(0, r);

    // "Classic" is what a first start shows: loading it changes nothing on the page.
    const auto before = page_settings(*w);
    load_preset(*w, "Classic");
    EXPECT_EQ(page_settings(*w), before);
    // Every colour edit starts with a text that names its own colour.
    for (QLineEdit* e : w->color_edits())
        EXPECT_EQ(e->text().toStdString(), Color_To_Name(Edit_Color(*e)))
            << e->objectName().toStdString();
}

TEST_F(ColorTest, FreshStartWalksOnceAndEveryLabelHasAStyle) {
    {
        // Before the start-up is complete the applier does nothing.
        StandInForm early(dir.dir(), &answers.dlg);
        early.fb_btn_do_PPClick();
        early.fb_chk_PlainPanel->setChecked(false);
        EXPECT_EQ(early.color_state().walks, 0);
    }
    auto w = start();
    EXPECT_EQ(w->color_state().walks, 1);
    EXPECT_EQ(w->color_state().counts.not_selected, 0);
    EXPECT_EQ(answers.logged("ERROR on Color-GUI"), 0);
    EXPECT_GT(w->color_state().counts.titles, 5);
    EXPECT_EQ(w->findChild<QLabel*>("fb_lab_45")->text(), "0");
    EXPECT_EQ(w->findChild<QLabel*>("fb_lab_41")->text(),
              QString::number(w->color_state().counts.titles));
}

TEST_F(ColorTest, MainWindowFreshStartLogsNoColourError) {
    TempDir prog;
    // A start as shipped: with its pages, tables and sounds (a page missing would end it).
    std::filesystem::copy(PARVEX_DATA_DIR, prog.path(),
                          std::filesystem::copy_options::recursive |
                              std::filesystem::copy_options::overwrite_existing);
    Answering_Dialog a;
    {
        TForm1 form(prog.dir(), &a.dlg);
        a.dlg.setMainWindow(&form);
        // The pages the program plugs in carry labels of their own.
        new Info_Pages(form);
        new News_Page(form);
        new Language_Pages(form);
        form.show();
        QApplication::processEvents();
        EXPECT_EQ(form.color_state().counts.not_selected, 0);
        for (const QString& t : a.texts)
            EXPECT_FALSE(t.contains("Field :=")) << t.toStdString();
        form.close();
    }
    EXPECT_EQ(a.count("ERROR on Color-GUI"), 0);
    EXPECT_EQ(a.logged("ERROR on Color-GUI"), 0);
}

TEST_F(ColorTest, PanelsTakeTheirSetByDesignedHeight) {
    auto w = start();
    struct Case {
        int height;
        int tag;
        const char* expect; // "U" upper, "L" lower, "own"
    } cases[] = {{25, 0, "L"}, {26, 0, "U"}, {149, 0, "U"}, {150, 0, "L"}, {60, 16384, "own"}};
    std::vector<GradientPanel*> panels;
    for (const Case& c : cases) {
        auto* p = new GradientPanel(w->PC->widget(0));
        p->setMinimumHeight(c.height);
        p->setProperty("tag", c.tag);
        p->setGradientColors(Qt::red, Qt::green, Qt::blue);
        p->setCaption("caption");
        panels.push_back(p);
    }
    Set_Edit_Color_Value(*w->fb_EDIT_Color, 0x00000080);
    Set_Edit_Color_Value(*w->fb_ed_Col1_L, 0x00008000);
    w->fb_shade_slider_U->setValue(33); // one walk each
    w->fb_chk_Horiz_L->setChecked(true);
    w->fb_chk_PlainPanel->setChecked(false);
    for (std::size_t i = 0; i < panels.size(); ++i) {
        GradientPanel* p = panels[i];
        const std::string kind = cases[i].expect;
        EXPECT_EQ(p->caption(), "") << i;
        if (kind == "own") {
            EXPECT_EQ(p->gradientColor(1), QColor(Qt::red));
            continue;
        }
        EXPECT_FALSE(p->plain());
        EXPECT_EQ(p->gradientColor(1), kind == "U" ? QColor(0x80, 0, 0) : QColor(0, 0x80, 0))
            << cases[i].height;
        EXPECT_EQ(p->shadeCenter(), kind == "U" ? 33 : 60);
        EXPECT_EQ(p->horizontal(), kind == "L");
    }
    // Plain panels only: button face everywhere except the panel that keeps its colours.
    w->fb_chk_PlainPanel->setChecked(true);
    const QColor face = To_QColor(0x8000000F);
    for (std::size_t i = 0; i + 1 < panels.size(); ++i) {
        EXPECT_TRUE(panels[i]->plain());
        EXPECT_EQ(panels[i]->gradientColor(3), face);
    }
    EXPECT_EQ(panels.back()->gradientColor(2), QColor(Qt::green));
}

TEST_F(ColorTest, LabelsTakeTheLookOfTheirStyleBits) {
    auto w = start();
    struct Case {
        int tag;
        QColor font;
        int shadow;
    } cases[] = {
        {1, To_QColor(0x003375FF), 2}, {2, QColor(Qt::blue), 1},
        {4, QColor(0x40, 0, 0), 1},    {8, To_QColor(0x80000008), 0},
        {16386, QColor(Qt::blue), 1},  {1 | 8, To_QColor(0x80000008), 0},
    };
    std::vector<ShadowLabel*> labels;
    for (const Case& c : cases) {
        auto* l = new ShadowLabel("sample", w->PC->widget(0));
        l->setProperty("tag", c.tag);
        l->setTransparent(false);
        labels.push_back(l);
    }
    const Label_Counts before = w->color_state().counts;
    w->fb_btn_do_PPClick();
    for (std::size_t i = 0; i < labels.size(); ++i) {
        EXPECT_EQ(labels[i]->fontColor(), cases[i].font) << cases[i].tag;
        EXPECT_EQ(labels[i]->shadowSize(), cases[i].shadow) << cases[i].tag;
        EXPECT_TRUE(labels[i]->transparent());
    }
    const Label_Counts& after = w->color_state().counts;
    EXPECT_EQ(after.titles, before.titles + 1);
    EXPECT_EQ(after.hints, before.hints + 1);
    EXPECT_EQ(after.labels, before.labels + 1);
    EXPECT_EQ(after.plain, before.plain + 2);
    EXPECT_EQ(after.no_change, before.no_change + 1);

    // Equal font and shadow colours: no shadow. Plain text alone keeps shadows; with "without
    // Shadow" too they go.
    Set_Edit_Color_Value(*w->fb_ed_TC[1], 0x003375FF);
    EXPECT_EQ(labels[0]->shadowSize(), 0);
    Set_Edit_Color_Value(*w->fb_ed_TC[1], 0x0000FFFF);
    EXPECT_EQ(labels[0]->shadowSize(), 2);
    w->fb_chk_PText->setChecked(true);
    EXPECT_EQ(labels[1]->shadowSize(), 1);
    w->fb_chk_PShadow->setChecked(true);
    EXPECT_EQ(labels[0]->shadowSize(), 0);
    EXPECT_EQ(labels[1]->shadowSize(), 0);
    EXPECT_EQ(labels[2]->shadowSize(), 0);
}

TEST_F(ColorTest, ALabelWithoutStyleIsShownAndReportedOncePerWalk) {
    auto w = start();
    auto* l = new ShadowLabel(QString(), w->PC->widget(0));
    l->setObjectName("lab_Forgotten");
    w->fb_btn_do_PPClick();
    EXPECT_EQ(l->fontColor(), QColor(Qt::yellow));
    EXPECT_EQ(l->shadowColor(), QColor(Qt::red));
    EXPECT_EQ(l->shadowSize(), 10);
    EXPECT_EQ(l->text(), "ZZZZZZZZZZ");
    EXPECT_EQ(w->findChild<QLabel*>("fb_lab_45")->text(), "1");
    ASSERT_EQ(answers.count("ERROR on Color-GUI"), 1);
    EXPECT_TRUE(answers.texts.back().contains(
        "Field :=lab_Forgotten\r\nCaption :=ZZZZZZZZZZ\r\nParent :=PC_Work"))
        << answers.texts.back().toStdString();

    // A preset load fires some 35 change handlers: still one walk and one report.
    ship_predefs();
    const int walks = w->color_state().walks;
    Table_Grid& g = w->fb_SG_Predef->Grid();
    ASSERT_TRUE(Load_Table_File(g, Shipped_Predef));
    w->fb_Fill_Predefs();
    load_preset(*w, "Dark");
    EXPECT_EQ(w->color_state().walks, walks + 1);
    EXPECT_EQ(answers.count("ERROR on Color-GUI"), 2);
}

TEST_F(ColorTest, ButtonsSwitchesGridsAndEditsWithTheirHoverHandlers) {
    auto w = start();
    w->fb_SG_Sound->Set_Editing(true);
    w->fb_SG_Sound->setSelectionBehavior(QAbstractItemView::SelectRows);
    w->fb_chk_11->setChecked(false); // buttons not bold: a walk
    SpeedButton* b = w->btn_Work;
    EXPECT_FALSE(b->bold());
    EXPECT_EQ(b->fontColor(), QColor(0, 0, 0xF2));
    EXPECT_TRUE(b->transparent());
    w->sounds.clear();
    QEvent enter(QEvent::Enter), leave(QEvent::Leave);
    QEnterEvent enter_at(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(b, &enter_at);
    EXPECT_FALSE(b->transparent());
    QApplication::sendEvent(b, &leave);
    EXPECT_TRUE(b->transparent());

    QCheckBox* c = w->chk_ext_1;
    EXPECT_TRUE(c->font().bold());
    EXPECT_EQ(c->cursor().shape(), Qt::PointingHandCursor);
    QApplication::sendEvent(c, &enter);
    EXPECT_TRUE(c->autoFillBackground()); // hover colour shows
    EXPECT_EQ(c->palette().color(c->backgroundRole()), QColor(0, 0, 0xF2));
    QApplication::sendEvent(c, &leave);
    EXPECT_FALSE(c->autoFillBackground()); // transparent again

    TSGX* g = w->fb_SG_Sound;
    EXPECT_FALSE(g->Editing());
    EXPECT_EQ(g->selectionBehavior(), QAbstractItemView::SelectItems);
    EXPECT_GE(g->verticalHeader()->defaultSectionSize(), 18);
    EXPECT_GE(g->verticalHeader()->defaultSectionSize(), g->fontMetrics().height() + 4);
    QApplication::sendEvent(g, &enter);
    QApplication::sendEvent(g, &leave);
    EXPECT_EQ(w->sounds, (std::vector<std::string>{"eB", "lB", "eC", "lC", "eS", "lS"}));

    // An opaque switch shows its colour and a contrasting text.
    w->fb_chk_02->setChecked(false);
    EXPECT_TRUE(c->autoFillBackground());
    EXPECT_EQ(c->palette().color(QPalette::WindowText), QColor(Qt::yellow));
    // Every edit's text contrasts with its background.
    w->ed_ext_1->setStyleSheet(QString());
    QPalette pal = w->ed_ext_1->palette();
    pal.setColor(QPalette::Base, Qt::black);
    w->ed_ext_1->setPalette(pal);
    w->fb_btn_do_PPClick();
    EXPECT_EQ(w->ed_ext_1->palette().color(QPalette::Text), QColor(Qt::white));
}

TEST_F(ColorTest, ColourChooserConfirmedOrCancelled) {
    auto w = start();
    QLineEdit* tc7 = w->fb_ed_TC[6];
    ASSERT_EQ(tc7->text(), "clWindowText");
    w->color_state().chooser_answer = [](const QColor&) { return std::nullopt; };
    int walks = w->color_state().walks;
    w->fb_EDIT_ColorClick(tc7);
    EXPECT_EQ(tc7->text(), "clWindowText"); // cancelled: the system colour keeps its name
    EXPECT_EQ(w->color_state().walks, walks + 1);

    w->color_state().chooser_answer = [](const QColor&) { return QColor(0x12, 0x34, 0x56); };
    walks = w->color_state().walks;
    w->fb_EDIT_ColorClick(tc7); // the text changes too: still one walk
    EXPECT_EQ(tc7->text(), "$00563412");
    EXPECT_EQ(Edit_Color(*tc7), 0x00563412u);
    EXPECT_EQ(tc7->palette().color(QPalette::Text), QColor(Qt::white));
    EXPECT_EQ(w->color_state().walks, walks + 1);
    EXPECT_EQ(w->findChild<ShadowLabel*>("fb_lab_35")->fontColor(), QColor(0x12, 0x34, 0x56));
}

TEST_F(ColorTest, GridColoursReachEveryGridAndTheSample) {
    dir.write("GUI/Data/Language.dat", Language_Fixture);
    auto w = start();
    Set_Edit_Color_Value(*w->fb_ed_sg1r, 0x80000005); // clWindow: resolved for the contrast
    Set_Edit_Color_Value(*w->fb_ed_sgdg1, 0x00123456);
    EXPECT_EQ(Grid_Color(1), From_QColor(To_QColor(0x80000005)));
    EXPECT_EQ(Grid_Color(6), 0x00123456u);
    Table_Grid& g = w->fb_SG_test->Grid();
    ASSERT_EQ(g.Sort_Col(), 2);
    g.Set_Current(1, 1);
    int arabic = -1;
    for (int r = 1; r < g.Row_Count(); ++r)
        if (g.Cell(0, r) == "Arabic")
            arabic = r;
    ASSERT_GT(arabic, 0);
    Cell_Format f;
    w->fb_SG_testGetCellFormat(*w->fb_SG_test, 0, arabic, f, Draw_None);
    if (arabic != g.Current_Row()) {
        EXPECT_EQ(f.brush, 0x00123456u);
    }

    w->Show_Page(w->fb_pcc_SG);
    test::save_png(*w, "colours_page_grids");
}

TEST_F(ColorTest, SaveRestartLoadGivesTheSameColours) {
    ship_predefs();
    dir.write("GUI/Data/Language.dat", Language_Fixture);
    QImage saved;
    std::vector<std::string> settings;
    {
        auto w = start();
        w->Show_Page(w->fb_pcc_Titles);
        load_preset(*w, "Dark");
        w->color_state().chooser_answer = [](const QColor&) { return QColor(0x20, 0x90, 0x40); };
        w->fb_EDIT_ColorClick(w->fb_ed_TC[0]);
        // A value and a text that disagree: the preset keeps what is on screen.
        w->fb_ed_sg2r->setText("clWhite");
        w->fb_ed_SName->setText("Mine|Green");
        w->fb_btn_saveClick(w->fb_btn_save);
        EXPECT_EQ(w->fb_ed_SName->text(), "");
        EXPECT_GE(predef_index(*w, "Mine Green"), 0);
        settings = page_settings(*w);
        saved = render(*w);
        w->close();
    }
    const std::string file = dir.read("GUI/Data/Predef.dat");
    EXPECT_NE(file.find("\r\nMine Green|False|"), std::string::npos);
    // Grid 2 is stored from its value, not from the text "clWhite" the edit showed.
    const std::size_t mine = file.find("\r\nMine Green|");
    ASSERT_NE(mine, std::string::npos);
    const std::string line = file.substr(mine + 2, file.find("\r\n", mine + 2) - mine - 2);
    EXPECT_NE(line.find("|$00302820|$00403830|"), std::string::npos) << line;
    {
        auto w = start();
        w->Show_Page(w->fb_pcc_Titles);
        load_preset(*w, "Classic");
        EXPECT_NE(render(*w), saved);
        load_preset(*w, "Mine Green");
        EXPECT_EQ(w->fb_cb_Predef->currentIndex(), -1);
        EXPECT_EQ(w->fb_cb_Predef->currentText(), "");
        std::vector<std::string> loaded = page_settings(*w);
        // The grid-2 edit now shows its colour by name, the text the saved window showed wrong.
        ASSERT_EQ(settings[29], "$00403830/clWhite");
        settings[29] = "$00403830/$00403830";
        EXPECT_EQ(loaded, settings);
        w->fb_ed_sg2r->setText("clWhite"); // the same screen as before the save
        const QImage again = render(*w);
        EXPECT_EQ(again, saved);
        test::save_png(*w, "colours_after_restart");
        w->close();
    }
    EXPECT_EQ(answers.logged("Changed SetUp\tSave Color-SetUp=Mine Green"), 1);
    EXPECT_EQ(answers.logged("Changed SetUp\tLoad Color-SetUp=Mine Green"), 1);
}

TEST_F(ColorTest, DamagedRowsChangeNothingAndGiveOneMessageEach) {
    std::string text = test::read_bytes(Shipped_Predef);
    text += "Garbage|True|clSilver|clNoSuchColour|clWhite|False|25|clWhite|$00FFECEC|clSilver|"
            "False|60|False|False|$003375FF|clYellow|clBlue|clAqua|$00000040|$00FFFF80|"
            "clWindowText|$00F20000|True|True|True|True|$00F20000|True|$00F20000|clWhite|"
            "$00E4E4E4|$00FFFF80|$00C4FCFD|clRed|clBlue|$000080FF|False\r\n";
    text += "Short|False|clBlack|clBlack\r\n";
    dir.write("GUI/Data/Predef.dat", text);
    auto w = start();
    load_preset(*w, "Light");
    const auto before = page_settings(*w);
    const int walks = w->color_state().walks;
    const int errors = answers.count("Predefined Colors");
    for (const char* name : {"Garbage", "Short"}) {
        load_preset(*w, name);
        EXPECT_EQ(page_settings(*w), before) << name;
        EXPECT_EQ(w->fb_cb_Predef->currentIndex(), -1);
    }
    EXPECT_EQ(w->color_state().walks, walks);
    ASSERT_EQ(answers.count("Predefined Colors"), errors + 2);
    EXPECT_TRUE(answers.texts[answers.texts.size() - 2].contains(
        "Column 3 \"PU Col 2\" holds \"clNoSuchColour\""));
    EXPECT_TRUE(answers.texts.back().contains("only 4 of 37 cells"))
        << answers.texts.back().toStdString();
    EXPECT_EQ(answers.logged("Load Color-SetUp=Garbage"), 0);
    // Still usable: a good preset loads.
    load_preset(*w, "Dark");
    EXPECT_EQ(w->fb_chk_02->isChecked(), false);

    // An item whose row is gone, or whose row now holds another preset, loads nothing.
    w->fb_cb_Predef->addItem("Ghost");
    load_preset(*w, "Ghost");
    EXPECT_EQ(answers.logged("Load Color-SetUp=Ghost"), 0);
    EXPECT_EQ(w->fb_cb_Predef->findText("Ghost"), -1);
    const int light = predef_index(*w, "Light");
    Table_Grid& g = w->fb_SG_Predef->Grid();
    g.Set_Cell(0, light + 1, "Renamed"); // as if the table had been sorted or edited
    const auto dark = page_settings(*w);
    load_preset(*w, "Light");
    EXPECT_EQ(page_settings(*w), dark);
    EXPECT_EQ(answers.logged("Load Color-SetUp=Light"), 1); // only the load at the start
}

TEST_F(ColorTest, SavingWithoutANameSavesAndLogsNothing) {
    auto w = start();
    const int rows = w->fb_SG_Predef->Grid().Row_Count();
    w->fb_btn_saveClick(w->fb_btn_save);
    EXPECT_EQ(answers.count("Predefined Colors"), 1);
    EXPECT_EQ(answers.texts.back(), "you have not entered a SAVE as NAME");
    EXPECT_EQ(answers.logged("Save Color-SetUp"), 0);
    EXPECT_EQ(w->fb_SG_Predef->Grid().Row_Count(), rows);

    // A name twice gives two rows, both in the selector.
    for (int i = 0; i < 2; ++i) {
        w->fb_ed_SName->setText("Twice");
        w->fb_btn_saveClick(w->fb_btn_save);
    }
    int found = 0;
    for (int i = 0; i < w->fb_cb_Predef->count(); ++i)
        found += w->fb_cb_Predef->itemText(i) == "Twice";
    EXPECT_EQ(found, 2);
}

// Pictures: the main window under every shipped preset, and each page of "Color".
TEST(ColorPictures, MainWindowUnderEveryPresetAndEveryColourPage) {
    TempDir prog;
    prog.write("GUI/Data/Language.dat", Language_Fixture);
    std::filesystem::copy_file(Shipped_Predef, prog.path() / "GUI/Data/Predef.dat");
    prog.write("Dont/Tokens-Personal.dat", "WriteLn\r\nBEGIN\r\n");
    Answering_Dialog a;
    TForm1 form(prog.dir(), &a.dlg);
    a.dlg.setMainWindow(&form);
    form.show();
    QApplication::processEvents();
    auto* pc = form.findChild<QTabWidget*>("PC");
    ASSERT_TRUE(pc);
    for (const char* name : {"Classic", "Light", "Dark", "High Contrast"}) {
        load_preset(form, name);
        pc->setCurrentIndex(0);
        QString file = QString("colours_main_%1").arg(QString(name).replace(' ', '_'));
        test::save_png(form, file);
        form.Show_Page(form.fb_pcc_Titles);
        test::save_png(form, file + "_titles");
        form.Show_Page(form.fb_pcc_SG);
        test::save_png(form, file + "_grids");
        form.Show_Page(form.fb_pcAbout);
        test::save_png(form, file + "_about");
    }
    load_preset(form, "Classic");
    const std::pair<QWidget*, const char*> pages[] = {{form.fb_pcc_Panels, "panels"},
                                                      {form.fb_pcc_Titles, "titles"},
                                                      {form.fb_pcc_Buttons, "buttons"},
                                                      {form.fb_pcc_SG, "grids"},
                                                      {form.fb_pcc_Predefs, "predefined"}};
    for (const auto& [page, name] : pages) {
        form.Show_Page(page);
        test::save_png(form, QString("colours_page_") + name);
    }
    EXPECT_EQ(a.count("ERROR on Color-GUI"), 0);
    form.close();
}

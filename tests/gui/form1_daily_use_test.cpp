// The main window in daily use: it fits 640 x 480 (also at 150 %), stays on its screen, is
// driven from the keyboard, and its lists lead to the lines they name.
#include "window/form1.h"

#include "frame/ini_file.h"
#include "png_dump.h"
#include "temp_dir.h"
#include "widgets/gradient_panel.h"
#include "widgets/radio_group.h"
#include "widgets/shadow_label.h"
#include "widgets/speed_button.h"
#include "window/text_list_view.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <set>

using namespace parvex;
using parvex::test::TempDir;

namespace {

// One program start in `prog`: modal messages are answered at once and their texts kept.
struct Program {
    TDlgs dialog;
    TForm1 form;
    std::vector<QString> titles, texts;

    explicit Program(const TempDir& prog) : form(prog.dir(), &dialog) {
        dialog.setMainWindow(&form);
        dialog.setModalHook([this](TDlgs& d) {
            titles.push_back(d.titleText());
            texts.push_back(d.messageText());
            (d.xdlg_btn_break_OK->isVisible() ? d.xdlg_btn_break_OK : d.xdlg_btn_OK)->click();
        });
        form.setGeneralErrorReport([](const QString&) {});
        form.show();
        QApplication::processEvents();
    }
    ~Program() {
        form.close();
        dialog.setModalHook({});
    }
};

// Every page the user can bring up under a page control, nested ones included, except those
// that hold nothing but a page control of their own.
std::vector<QWidget*> leaf_pages(QTabWidget* root) {
    std::vector<QWidget*> pages;
    QList<QTabWidget*> controls = root->findChildren<QTabWidget*>();
    controls.prepend(root);
    for (QTabWidget* pc : controls)
        for (int i = 0; i < pc->count(); ++i) {
            QWidget* page = pc->widget(i);
            const QLayout* lay = page->layout();
            const bool container =
                lay && lay->count() == 1 && qobject_cast<QTabWidget*>(lay->itemAt(0)->widget());
            if (pc->isTabVisible(i) && !container)
                pages.push_back(page);
        }
    return pages;
}

QString scale_suffix() {
    const QByteArray scale = qgetenv("QT_SCALE_FACTOR");
    return scale.isEmpty() ? QString() : QStringLiteral("_x") + QString::fromLatin1(scale);
}

// The names of the controls Tab visits from `start`, `steps` times.
std::vector<std::string> tab_walk(QWidget* window, QWidget* start, int steps) {
    start->setFocus(Qt::OtherFocusReason);
    std::vector<std::string> names;
    for (int i = 0; i < steps; ++i) {
        QWidget* focus = window->focusWidget();
        QTest::keyClick(focus ? focus : window, Qt::Key_Tab);
        focus = window->focusWidget();
        names.push_back(focus ? focus->objectName().toStdString() : "");
    }
    return names;
}

} // namespace

TEST(Form1Fit, EveryPageFits640x480) {
    TempDir prog;
    Program p(prog);
    TForm1& f = p.form;
    for (QWidget* page : leaf_pages(f.ui.PC))
        EXPECT_LE(page->minimumSizeHint().height(), 240) << page->objectName().toStdString();
    for (QWidget* w : std::vector<QWidget*>{f.ui.GP01, f.ui.GPanel12, f.ui.PC})
        EXPECT_LE(w->minimumSizeHint().width(), 640) << w->objectName().toStdString();
    EXPECT_EQ(f.size(), QSize(640, 480)); // the start-up size
    // The title panel shows the whole program name.
    EXPECT_GE(f.ui.lab_Title->width(), f.ui.lab_Title->sizeHint().width());
    const QSize minimum = f.minimumSizeHint();
    EXPECT_LE(minimum.width(), 640);
    EXPECT_LE(minimum.height(), 480);
    f.RxSpeedButton1Click();
    QApplication::processEvents();
    EXPECT_EQ(f.size(), QSize(640, 480));
    const std::vector<QWidget*> pages = leaf_pages(f.ui.PC);
    EXPECT_GE(pages.size(), 15u);
    for (QWidget* page : pages) {
        f.Show_Page(page);
        QApplication::processEvents();
        const std::string name = page->objectName().toStdString();
        EXPECT_EQ(f.size(), QSize(640, 480)) << name;
        // The page's controls lie in a scroll area that fills the page.
        auto* scroll = page->findChild<QScrollArea*>("page_scroll", Qt::FindDirectChildrenOnly);
        ASSERT_NE(scroll, nullptr) << name;
        EXPECT_EQ(scroll->geometry(), page->rect()) << name;
        EXPECT_GT(page->height(), 100) << name;
        test::save_png(f, QStringLiteral("fit_%1%2").arg(page->objectName(), scale_suffix()));
    }
}

TEST(Form1Fit, TheWindowStaysOnItsScreen) {
    TempDir prog;
    std::string settings;
    {
        Program p(prog);
        settings = p.form.settings_file();
    }
    IniFile ini;
    ASSERT_TRUE(IniFile::load(settings, ini));
    ASSERT_TRUE(ini.set("TForm1", "NormPos", "5000,4000,5640,4480"));
    ASSERT_TRUE(ini.save(settings));
    Program p(prog);
    const QRect avail = p.form.screen()->availableGeometry();
    EXPECT_TRUE(avail.contains(p.form.frameGeometry()))
        << p.form.frameGeometry().x() << "," << p.form.frameGeometry().y();
}

TEST(Form1Title, TheTitleBarNamesTheProgramOnce) {
    const QString before = QGuiApplication::applicationDisplayName();
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Zivadu-Zedu Parvex"));
    {
        TempDir prog;
        Program p(prog);
        const QString title = p.form.windowTitle();
        // What the desktop draws: a title not ending in the display name gets it appended.
        const QString shown =
            title.endsWith(QGuiApplication::applicationDisplayName())
                ? title
                : title + QStringLiteral(" \u2014 ") + QGuiApplication::applicationDisplayName();
        EXPECT_EQ(shown.count(QStringLiteral("Zivadu-Zedu Parvex")), 1) << shown.toStdString();
        EXPECT_TRUE(shown.contains(QStringLiteral("Version [ 02.06.28.2149 ]")));
    }
    QGuiApplication::setApplicationDisplayName(before);
}

TEST(Form1Texts, TransparencyNoteSpeaksOfLinux) {
    TempDir prog;
    Program p(prog);
    auto* note = p.form.findChild<QLabel*>("fb_lab_58");
    ASSERT_NE(note, nullptr);
    EXPECT_TRUE(note->text().contains("compositing window manager"));
    EXPECT_FALSE(note->text().contains("Windows"));
}

TEST(Form1Source, AFolderIsCalledAFolder) {
    TempDir prog, src;
    std::filesystem::create_directories(src.path() / "units");
    Program p(prog);
    p.form.ui.fne_SRC->setText(QString::fromStdString(src.dir() + "units"));
    p.texts.clear(); // what the start said (a folder without sound table) is not the question
    p.form.ui.btn_Work->click();
    ASSERT_EQ(p.texts.size(), 1u);
    EXPECT_TRUE(p.texts[0].contains("is a folder", Qt::CaseInsensitive)) << p.texts[0].toStdString();
    EXPECT_FALSE(p.texts[0].contains("does not exist"));
}

TEST(Form1Browse, PascalSourcesFirstAndTheLastFolderRemembered) {
    TempDir prog, src;
    auto file = src.write("unit1.pp", "x;\n");
    Program p(prog);
    TForm1& f = p.form;
    EXPECT_TRUE(TForm1::browseFilter().startsWith(
        QStringLiteral("Pascal sources (*.pas *.pp *.dpr *.lpr *.inc);;All files (*)")));
    f.setBrowseAnswer([&] { return QString::fromStdString(file.string()); });
    f.ui.fne_SRC_Browse->click();
    EXPECT_EQ(f.ui.fne_SRC->text(), QString::fromStdString(file.string()));
    EXPECT_EQ(f.browseStartDir(), QString::fromStdString(file.string())); // the file itself
    f.ui.fne_SRC->clear();
    EXPECT_EQ(std::filesystem::path(f.browseStartDir().toStdString()),
              std::filesystem::path(src.dir()).parent_path());
}

TEST(Form1Keys, EnterInTheFileNameStartsTheRun) {
    TempDir prog, src;
    auto file = src.write("u.pas", "begin writeln; end.\n");
    Program p(prog);
    TForm1& f = p.form;
    f.ui.rg_Case->setItemIndex(0);
    f.ui.fne_SRC->setText(QString::fromStdString(file.string()));
    QTest::keyClick(f.ui.fne_SRC, Qt::Key_Return);
    ASSERT_EQ(f.tlb_SRC_O->count(), 1);
    EXPECT_EQ(f.tlb_SRC_O->lines()[0], "BEGIN WRITELN; END.");
}

TEST(Form1Keys, TabFollowsTheLayout) {
    TempDir prog;
    Program p(prog);
    TForm1& f = p.form;
    f.activateWindow();
    // Setup / General: the left column top to bottom, then the right one; Output-Case is
    // entered at its chosen item.
    f.ui.rg_Case->setItemIndex(2);
    f.Show_Page(f.ui.pcws_General);
    QApplication::processEvents();
    EXPECT_EQ(tab_walk(&f, f.ui.se_Nr_Lines, 7),
              (std::vector<std::string>{"rg_Case_Item2", "chk_remove", "chk_doEND", "chk_PToken",
                                        "chk_NoCumm", "chk_NOCData", "chk_PreLoad"}));
    // Work: the buttons above the page come before the page, the file name before the pane.
    f.Show_Page(f.ui.pcw_Work);
    QApplication::processEvents();
    EXPECT_EQ(tab_walk(&f, f.ui.PC->tabBar(), 7),
              (std::vector<std::string>{"btn_Work", "btn_to_Work", "btn_to_SRCPath",
                                        "qt_tabwidget_tabbar", "fne_SRC", "fne_SRC_Browse",
                                        "tlb_SRC_O"}));
    EXPECT_EQ(f.focusWidget() == f.tlb_SRC_O, true);
}

TEST(Form1Keys, ButtonsHaveMnemonics) {
    TempDir prog;
    Program p(prog);
    TForm1& f = p.form;
    std::set<int> keys;
    const std::pair<SpeedButton*, const char*> buttons[] = {
        {f.ui.btn_Work, "create &NEW-List"},
        {f.ui.btn_to_Work, "Save to &Work-Data-Path"},
        {f.ui.btn_to_SRCPath, "&Save to Sourcepath"},
        {f.ui.btn_Check, "&check it !"},
        {f.ui.btn_clear_Tab, "Clea&r Keywords and RELOAD Personal Keywords"},
        {f.RxSpeedButton1, "Reset Si&ze to 640 * 480 Pixels"},
        {f.fb_loadLOG, "Re&load the Logfile"}};
    for (const auto& [button, drawn] : buttons) {
        EXPECT_EQ(button->mnemonicText(), QString::fromLatin1(drawn));
        ASSERT_FALSE(button->shortcut().isEmpty()) << drawn;
        EXPECT_EQ(button->shortcut()[0].keyboardModifiers(), Qt::AltModifier) << drawn;
        keys.insert(button->shortcut()[0].toCombined());
    }
    keys.insert(f.ui.fne_SRC_Browse->shortcut()[0].toCombined());
    EXPECT_EQ(keys.size(), std::size(buttons) + 1); // no two share a key
    // The caption itself is unchanged.
    EXPECT_EQ(f.ui.btn_Work->text(), QStringLiteral("create NEW-List"));
}

TEST(Form1Lists, DoubleClickShowsTheLineAndNumbersStayInSight) {
    TempDir prog, src;
    std::string text =
        "procedure A_Procedure_With_An_Exceptionally_Long_Name_For_Sharing;\nbegin\n";
    for (int i = 0; i < 80; ++i)
        text += "  x := x + 1;\n";
    text +=
        "  A_Procedure_With_An_Exceptionally_Long_Name_For_Sharing;\n  writeln('done');\nend;\n";
    auto file = src.write("share.pas", text);
    Program p(prog);
    TForm1& f = p.form;
    f.RxSpeedButton1Click();
    f.ui.fne_SRC->setText(QString::fromStdString(file.string()));
    f.ui.btn_Work->click();
    f.Show_Page(f.ui.pcw_Const);
    QApplication::processEvents();
    test::save_png(f, "form1_constant_640" + scale_suffix());

    // Every line number column starts within sight in each pane.
    for (TextListView* pane : {f.tlb_T_Cref, f.tlb_A_Const, f.tlb_N_Const}) {
        ASSERT_GT(pane->count(), 0) << pane->objectName().toStdString();
        const int char_width = QFontMetrics(pane->font()).horizontalAdvance('M');
        for (int row = 0; row < pane->count(); ++row) {
            const QString shown = pane->textModel()->displayText(row);
            const qsizetype number = shown.indexOf('#');
            if (number >= 0)
                EXPECT_LE((number + 6) * char_width, pane->viewport()->width())
                    << pane->objectName().toStdString() << ": " << shown.toStdString();
        }
    }

    // A double-click on the long name: the Work page at its first line (line 1), and on
    // the literal: its line 84.
    struct Click {
        TextListView* pane;
        const char* starts;
        int line;
    } clicks[] = {
        {f.tlb_T_Cref, "x", 3}, {f.tlb_A_Const, "'done'", 84}, {f.tlb_T_Cref, "A_PROCEDURE", 1}};
    for (const Click& c : clicks) {
        f.Show_Page(f.ui.pcw_Const);
        QApplication::processEvents();
        int row = -1;
        for (int r = 0; r < c.pane->count() && row < 0; ++r)
            if (QString::fromStdString(c.pane->lines()[static_cast<std::size_t>(r)])
                    .startsWith(QLatin1String(c.starts), Qt::CaseInsensitive))
                row = r;
        ASSERT_GE(row, 0) << c.starts;
        c.pane->scrollTo(c.pane->textModel()->index(row));
        QApplication::processEvents();
        const QRect cell = c.pane->visualRect(c.pane->textModel()->index(row));
        ASSERT_TRUE(c.pane->viewport()->rect().contains(cell.center())) << c.starts;
        // A double-click as the system delivers it: a press and release, then the double.
        QTest::mouseClick(c.pane->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(c.pane->viewport(), Qt::LeftButton, {}, cell.center());
        EXPECT_EQ(f.ui.PCW->currentWidget(), f.ui.pcw_Work) << c.starts;
        EXPECT_EQ(f.tlb_SRC_O->selectedRow(), c.line - 1) << c.starts;
        QApplication::processEvents();
        // The line is in sight (at the top, unless the text ends before the pane does).
        const QRect shown = f.tlb_SRC_O->visualRect(f.tlb_SRC_O->textModel()->index(c.line - 1));
        EXPECT_TRUE(f.tlb_SRC_O->viewport()->rect().contains(shown)) << c.starts;
        if (c.line > 40)
            EXPECT_GT(f.tlb_SRC_O->topRow(), 40) << c.starts;
    }
}

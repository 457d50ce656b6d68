// Every page of the window in every shipped language at 640 x 480: each label, button, group
// title, tab and table header shows its whole text (measured with the font's metrics).
#include "language/language_pages.h"
#include "png_dump.h"
#include "tables/table_procs.h"
#include "temp_dir.h"
#include "widgets/sgx.h"
#include "widgets/speed_button.h"
#include "window/form1.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOption>
#include <QTabBar>
#include <QTabWidget>
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

using namespace parvex;
using parvex::test::TempDir;
namespace fs = std::filesystem;

namespace {

int text_width(const QFont& font, const QString& text) {
    const QFontMetrics fm(font);
    int widest = 0;
    for (const QString& line : QString(text).remove(QLatin1Char('&')).split(QLatin1Char('\n')))
        widest = std::max(widest, fm.horizontalAdvance(line));
    return widest;
}

// What of the window's texts does not fit, one line each.
std::vector<std::string> cut_texts(QWidget* window) {
    std::vector<std::string> cut;
    auto report = [&](const QWidget* w, const QString& text, int need, int have) {
        cut.push_back(w->objectName().toStdString() + " \"" + text.toStdString() + "\" needs " +
                      std::to_string(need) + " px, has " + std::to_string(have));
    };
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisible() || w->window() != window)
            continue;
        // A control that gives way on purpose (its text is shortened where it is shown).
        if (w->sizePolicy().horizontalPolicy() == QSizePolicy::Ignored)
            continue;
        if (auto* l = qobject_cast<QLabel*>(w)) {
            if (l->text().isEmpty() || l->wordWrap() || Qt::mightBeRichText(l->text()))
                continue;
            const int have = l->contentsRect().width() - 2 * l->margin() - std::max(0, l->indent());
            const int need = text_width(l->font(), l->text());
            if (need > have + 1)
                report(l, l->text(), need, have);
        } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            if (b->text().isEmpty())
                continue;
            const int need = b->sizeHint().width();
            if (need > b->width() + 1)
                report(b, b->text(), need, b->width());
        } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
            if (g->title().isEmpty())
                continue;
            QStyleOptionGroupBox opt;
            opt.initFrom(g);
            opt.text = g->title();
            opt.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
            const QRect label =
                g->style()->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, g);
            const int need = text_width(g->font(), g->title());
            if (label.right() > g->width() || need > label.width() + 1)
                report(g, g->title(), need, std::min(label.width(), g->width() - label.left()));
        } else if (auto* bar = qobject_cast<QTabBar*>(w)) {
            for (int i = 0; i < bar->count(); ++i) {
                if (!bar->isTabVisible(i))
                    continue;
                const QRect r = bar->tabRect(i);
                const int need = text_width(bar->font(), bar->tabText(i));
                if (r.right() >= bar->width() || need > r.width())
                    report(bar, bar->tabText(i), need,
                           std::min(r.width(), bar->width() - r.left()));
            }
        } else if (auto* grid = qobject_cast<TSGX*>(w)) {
            const Table_Grid& g = grid->Grid();
            QHeaderView* head = grid->horizontalHeader();
            for (int c = 0; c < g.Col_Count(); ++c) {
                if (grid->isColumnHidden(c) || head->sectionSize(c) <= 0)
                    continue;
                const int have = head->sectionSize(c) - 6;
                for (int r = 0; r < g.Row_Count() && r < 40; ++r) {
                    const QString text = QString::fromStdString(g.Cell(c, r));
                    const int need = text_width(r == 0 ? head->font() : grid->font(), text);
                    if (need > have)
                        report(grid, text, need, have);
                }
            }
        }
    }
    return cut;
}

// Every page of every page control, each brought to the front once.
std::vector<QWidget*> all_pages(QWidget* window) {
    std::vector<QWidget*> pages;
    for (QTabWidget* pc : window->findChildren<QTabWidget*>())
        for (int i = 0; i < pc->count(); ++i)
            if (pc->isTabVisible(i))
                pages.push_back(pc->widget(i));
    return pages;
}

} // namespace

TEST(WindowLayout, EveryTextFitsOnEveryPageInEveryShippedLanguage) {
    TempDir prog;
    fs::copy(PARVEX_DATA_DIR, prog.path(), fs::copy_options::recursive);
    TDlgs dialog;
    TForm1 form(prog.dir(), &dialog);
    dialog.setMainWindow(&form);
    new Language_Pages(form);
    dialog.setModalHook([](TDlgs& d) {
        (d.xdlg_btn_break_OK->isVisible() ? d.xdlg_btn_break_OK : d.xdlg_btn_OK)->click();
    });
    form.show();
    QApplication::processEvents();
    std::vector<std::string> languages{"US English"};
    for (const auto& e : fs::directory_iterator(fs::path(PARVEX_DATA_DIR) / "GUI/Lang"))
        if (e.path().extension() == ".Lng")
            languages.push_back(e.path().stem().string());
    for (const std::string& language : languages) {
        SCOPED_TRACE(language);
        ASSERT_TRUE(Find_Row(form.fb_sg_Lang->Grid(), 0, language));
        form.fb_btn_L01->click();
        ASSERT_EQ(form.fb_labX_cLang->text().toStdString(), language);
        form.resize(TFormBase::Form_Width, TFormBase::Form_Height);
        std::set<std::string> all;
        for (QWidget* page : all_pages(&form)) {
            form.Show_Page(page);
            QApplication::processEvents();
            for (const std::string& c : cut_texts(&form))
                all.insert(c);
            test::save_png(form,
                           QString::fromStdString("layout_" + language + "_") + page->objectName());
        }
        for (const std::string& c : all)
            ADD_FAILURE() << c;
    }
    dialog.setModalHook({});
}

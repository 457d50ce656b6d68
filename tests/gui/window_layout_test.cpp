// Every page of the window in every shipped language at 640 x 480: each label, button, group
// title, tab and table header shows its whole text (measured with the font's metrics), inside its
// widget and inside what the widgets around it leave visible: a page may scroll down, but a text
// running off its right edge is cut.
#include "all_pages.h"
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
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOption>
#include <QTabBar>
#include <QTabWidget>
#include <gtest/gtest.h>

#include <algorithm>
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

// The columns of `w` (its own coordinates) that its parents leave visible, with every page
// scrolled to its start.
std::pair<int, int> visible_span(const QWidget* w) {
    int left = 0, right = w->width();
    for (const QWidget* p = w->parentWidget(); p; p = p->parentWidget()) {
        const int offset = w->mapTo(p, QPoint(0, 0)).x();
        left = std::max(left, -offset);
        right = std::min(right, p->width() - offset);
        if (p->isWindow())
            break;
    }
    return {left, right};
}

// How much of the text between `from` and `to` (in `w`'s coordinates) is left to be seen.
int shown_of(const QWidget* w, int from, int to) {
    const auto [left, right] = visible_span(w);
    return std::max(0, std::min(to, right) - std::max(from, left));
}

// Where a label draws a line of `need` pixels, left to right.
std::pair<int, int> label_text_span(const QLabel* l, int need) {
    const QRect r = l->contentsRect().adjusted(l->margin(), 0, -l->margin(), 0);
    const Qt::Alignment a = QStyle::visualAlignment(l->layoutDirection(), l->alignment());
    int x = r.left() + std::max(0, l->indent());
    if (a & Qt::AlignRight)
        x = r.right() + 1 - std::max(0, l->indent()) - need;
    else if (a & Qt::AlignHCenter)
        x = r.left() + (r.width() - need) / 2;
    return {x, x + need};
}

// The page area a control lies in: the viewport of the page's scroll area, else the window.
int page_width(const QWidget* w) {
    for (const QWidget* p = w->parentWidget(); p; p = p->parentWidget()) {
        if (auto* scroll = qobject_cast<const QScrollArea*>(p->parentWidget());
            scroll && scroll->objectName() == QLatin1String("page_scroll"))
            return p->width();
        if (p->isWindow())
            return p->width();
    }
    return w->width();
}

// What of the window's texts does not fit, one line each.
std::vector<std::string> cut_texts(QWidget* window) {
    std::vector<std::string> cut;
    auto report = [&](const QWidget* w, const QString& text, int need, int have) {
        cut.push_back(w->objectName().toStdString() + " \"" + text.toStdString() + "\" needs " +
                      std::to_string(need) + " px, has " + std::to_string(have));
    };
    // A text of `need` pixels between `from` and `to` that its widget or a parent cuts.
    auto check = [&](const QWidget* w, const QString& text, int need, int from, int to) {
        const int have = std::min(to - from, shown_of(w, from, to));
        if (need > have + 1)
            report(w, text, need, have);
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
            const int need = text_width(l->font(), l->text());
            const int have = l->contentsRect().width() - 2 * l->margin() - std::max(0, l->indent());
            const auto [from, to] = label_text_span(l, std::min(need, have));
            check(l, l->text(), need, from, to);
        } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            if (b->text().isEmpty())
                continue;
            // A check box or radio button draws from its left edge, a button from its middle.
            const int need = b->sizeHint().width();
            const int shown = std::min(need, b->width());
            const bool from_left = qobject_cast<QCheckBox*>(b) || qobject_cast<QRadioButton*>(b);
            const int from = from_left ? 0 : (b->width() - shown) / 2;
            check(b, b->text(), need, from, from + shown);
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
            check(g, g->title(), need, label.left(), label.left() + label.width());
        } else if (auto* bar = qobject_cast<QTabBar*>(w)) {
            // Scroll arrows: some tab is out of sight.
            const QList<QWidget*> arrows = bar->findChildren<QWidget*>();
            if (std::any_of(arrows.begin(), arrows.end(),
                            [](const QWidget* a) { return a->isVisible(); }))
                report(bar, "(scroll arrows)", bar->sizeHint().width(), bar->width());
            for (int i = 0; i < bar->count(); ++i) {
                if (!bar->isTabVisible(i))
                    continue;
                const QRect r = bar->tabRect(i);
                const int need = text_width(bar->font(), bar->tabText(i));
                const int have = std::min(r.width(), shown_of(bar, r.left(), r.right() + 1));
                if (need > r.width() || have < r.width())
                    report(bar, bar->tabText(i), std::max(need, r.width()), have);
            }
        } else if (auto* grid = qobject_cast<TSGX*>(w)) {
            const Table_Grid& g = grid->Grid();
            QHeaderView* head = grid->horizontalHeader();
            // A table whose columns together fit the page shows them all, each as wide as its
            // texts; a wider one (texts to be read one by one, as in the translation table) is
            // scrolled, and only its headers must fit their columns.
            const int columns =
                head->length() + 2 * grid->frameWidth() +
                (grid->verticalScrollBar()->isVisible() ? grid->verticalScrollBar()->width() : 0);
            const bool fits_page = columns <= page_width(grid);
            const QWidget* port = grid->viewport();
            for (int c = 0; c < g.Col_Count(); ++c) {
                if (grid->isColumnHidden(c) || head->sectionSize(c) <= 0)
                    continue;
                const int x = head->sectionViewportPosition(c);
                const int size = head->sectionSize(c);
                const int shown =
                    std::min(std::max(0, std::min(x + size, port->width()) - std::max(x, 0)),
                             shown_of(port, x, x + size));
                if (fits_page && shown < size)
                    report(grid, QString::fromStdString(g.Cell(c, 0)), size, shown);
                for (int r = 0; r < g.Row_Count() && r < (fits_page ? 40 : 1); ++r) {
                    const QString text = QString::fromStdString(g.Cell(c, r));
                    const int need = text_width(r == 0 ? head->font() : grid->font(), text);
                    if (need > size - 6)
                        report(grid, text, need, size - 6);
                }
            }
        }
    }
    return cut;
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
        form.fb_Load_Lang->click(); // the translation page shows the loaded file's version
        form.resize(TFormBase::Form_Width, TFormBase::Form_Height);
        std::set<std::string> all;
        for (QWidget* page : test::all_pages(&form)) {
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

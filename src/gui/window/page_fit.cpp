#include "window/page_fit.h"

#include <QAbstractScrollArea>
#include <QFrame>
#include <QGridLayout>
#include <QLayout>
#include <QList>
#include <QScreen>
#include <QScrollArea>
#include <QSplitter>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <tuple>

namespace parvex {

namespace {

constexpr const char* Page_Scroll_Name = "page_scroll";

// A page whose layout holds nothing but one page control: its pages are fitted instead.
bool only_a_page_control(QWidget* page) {
    QLayout* lay = page->layout();
    if (!lay)
        return true;
    int items = 0;
    bool page_control = false;
    for (int i = 0; i < lay->count(); ++i) {
        QLayoutItem* item = lay->itemAt(i);
        if (item->spacerItem())
            continue;
        ++items;
        page_control = qobject_cast<QTabWidget*>(item->widget()) != nullptr;
    }
    return items == 1 && page_control;
}

void wrap_page(QWidget* page) {
    QLayout* lay = page->layout();
    if (!lay ||
        page->findChild<QScrollArea*>(QLatin1String(Page_Scroll_Name), Qt::FindDirectChildrenOnly))
        return;
    auto* content = new QWidget;
    content->setObjectName(page->objectName() + QLatin1String("_content"));
    // The content takes the page's layout and with it every control the layout holds.
    content->setLayout(lay);
    auto* scroll = new QScrollArea;
    scroll->setObjectName(QLatin1String(Page_Scroll_Name));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setFocusPolicy(Qt::NoFocus);
    scroll->viewport()->setAutoFillBackground(false);
    content->setAutoFillBackground(false);
    scroll->setWidget(content);
    auto* outer = new QVBoxLayout(page);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);
}

void fit(QTabWidget* pc) {
    for (int i = 0; i < pc->count(); ++i)
        if (QWidget* page = pc->widget(i); !only_a_page_control(page))
            wrap_page(page);
}

void walk_widget(QWidget* w, QList<QWidget*>& out);

void walk_layout(QLayout* lay, QList<QWidget*>& out) {
    QList<QLayoutItem*> items;
    if (auto* grid = qobject_cast<QGridLayout*>(lay)) {
        std::vector<std::tuple<int, int, int>> cells; // row, column, index
        for (int i = 0; i < grid->count(); ++i) {
            int row = 0, col = 0, rs = 0, cs = 0;
            grid->getItemPosition(i, &row, &col, &rs, &cs);
            cells.emplace_back(row, col, i);
        }
        std::sort(cells.begin(), cells.end());
        for (const auto& [row, col, i] : cells)
            items << grid->itemAt(i);
    } else {
        for (int i = 0; i < lay->count(); ++i)
            items << lay->itemAt(i);
    }
    for (QLayoutItem* item : items) {
        if (QWidget* w = item->widget())
            walk_widget(w, out);
        else if (QLayout* inner = item->layout())
            walk_layout(inner, out);
    }
}

void walk_widget(QWidget* w, QList<QWidget*>& out) {
    if (!w || w->isWindow())
        return;
    if (auto* pc = qobject_cast<QTabWidget*>(w)) {
        out << pc->tabBar();
        for (int i = 0; i < pc->count(); ++i)
            walk_widget(pc->widget(i), out);
        return;
    }
    if (auto* splitter = qobject_cast<QSplitter*>(w)) {
        for (int i = 0; i < splitter->count(); ++i)
            walk_widget(splitter->widget(i), out);
        return;
    }
    if (auto* scroll = qobject_cast<QScrollArea*>(w); scroll && scroll->widget()) {
        walk_widget(scroll->widget(), out);
        return;
    }
    if (w->focusPolicy() != Qt::NoFocus && !w->focusProxy())
        out << w;
    if (qobject_cast<QAbstractScrollArea*>(w))
        return; // a list, grid or text view is one stop
    if (w->layout()) {
        walk_layout(w->layout(), out);
        return;
    }
    for (QObject* child : w->children())
        if (child->isWidgetType())
            walk_widget(static_cast<QWidget*>(child), out);
}

} // namespace

void Fit_Pages_In_Scroll_Areas(QWidget* root) {
    if (auto* pc = qobject_cast<QTabWidget*>(root))
        fit(pc);
    for (QTabWidget* pc : root->findChildren<QTabWidget*>())
        fit(pc);
    // The layouts above the moved pages still hold the old minimum sizes.
    for (QWidget* w : root->findChildren<QWidget*>()) {
        w->updateGeometry();
        if (w->layout())
            w->layout()->invalidate();
    }
    for (QWidget* w = root; w; w = w->parentWidget()) {
        if (w->layout())
            w->layout()->invalidate();
        w->updateGeometry();
    }
    if (QLayout* top = root->window()->layout())
        top->activate();
}

void Tab_Order_By_Layout(QWidget* root) {
    QList<QWidget*> order;
    walk_widget(root, order);
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);
}

void Keep_On_Screen(QWidget* window) {
    QScreen* screen = window->screen();
    if (!screen)
        return;
    const QRect avail = screen->availableGeometry();
    const QRect frame = window->frameGeometry();
    const QRect inner = window->geometry();
    const int extra_w = frame.width() - inner.width();
    const int extra_h = frame.height() - inner.height();
    const int w =
        std::max(window->minimumWidth(), std::min(inner.width(), avail.width() - extra_w));
    const int h =
        std::max(window->minimumHeight(), std::min(inner.height(), avail.height() - extra_h));
    if (w != inner.width() || h != inner.height())
        window->resize(w, h);
    const int fw = w + extra_w, fh = h + extra_h;
    const int x =
        std::clamp(frame.left(), avail.left(), std::max(avail.left(), avail.right() + 1 - fw));
    const int y =
        std::clamp(frame.top(), avail.top(), std::max(avail.top(), avail.bottom() + 1 - fh));
    if (x != frame.left() || y != frame.top())
        window->move(x, y);
}

} // namespace parvex

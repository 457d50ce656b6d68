#include "widgets/flow_layout.h"

#include <QSpacerItem>
#include <QStyle>
#include <QWidget>

#include <algorithm>
#include <vector>

namespace parvex {

namespace {

bool is_stretch(const QLayoutItem* item) {
    const QSpacerItem* s = const_cast<QLayoutItem*>(item)->spacerItem();
    return s && (s->expandingDirections() & Qt::Horizontal);
}

int preferred_width(QLayoutItem* item) {
    return std::clamp(item->sizeHint().width(), item->minimumSize().width(),
                      std::max(item->minimumSize().width(), item->maximumSize().width()));
}

int height_at(QLayoutItem* item, int width) {
    const int h =
        item->hasHeightForWidth() ? item->heightForWidth(width) : item->sizeHint().height();
    return std::max(h, item->minimumSize().height());
}

} // namespace

FlowLayout::FlowLayout(QWidget* parent) : QLayout(parent) {}

FlowLayout::~FlowLayout() {
    while (QLayoutItem* item = takeAt(0))
        delete item;
}

void FlowLayout::addStretch() {
    addItem(new QSpacerItem(0, 0, QSizePolicy::Expanding, QSizePolicy::Minimum));
}

void FlowLayout::addItem(QLayoutItem* item) {
    items_.append(item);
    invalidate();
}

int FlowLayout::count() const {
    return static_cast<int>(items_.size());
}

QLayoutItem* FlowLayout::itemAt(int index) const {
    return index >= 0 && index < items_.size() ? items_.at(index) : nullptr;
}

QLayoutItem* FlowLayout::takeAt(int index) {
    if (index < 0 || index >= items_.size())
        return nullptr;
    QLayoutItem* item = items_.takeAt(index);
    invalidate();
    return item;
}

Qt::Orientations FlowLayout::expandingDirections() const {
    Qt::Orientations o;
    for (QLayoutItem* item : items_)
        if (!item->isEmpty())
            o |= item->expandingDirections();
    return o;
}

QSize FlowLayout::minimumSize() const {
    // As narrow as the widest item, as tall as the rows were at the last width.
    QSize size;
    for (QLayoutItem* item : items_)
        if (!item->isEmpty())
            size = size.expandedTo(item->minimumSize());
    const QMargins m = contentsMargins();
    size += QSize(m.left() + m.right(), m.top() + m.bottom());
    return QSize(size.width(), std::max(size.height(), rows_height_));
}

QSize FlowLayout::sizeHint() const {
    // Everything in one row.
    int width = 0, height = 0, n = 0;
    for (QLayoutItem* item : items_) {
        if (item->isEmpty())
            continue;
        width += preferred_width(item) + (n++ ? horizontal_gap() : 0);
        height = std::max(height, item->sizeHint().height());
    }
    const QMargins m = contentsMargins();
    return QSize(width + m.left() + m.right(),
                 std::max(height + m.top() + m.bottom(), rows_height_));
}

void FlowLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    const int height = arrange(rect, true);
    if (height != rows_height_) {
        // More or fewer rows: the layouts above learn the new height at their next pass.
        rows_height_ = height;
        invalidate();
    }
}

int FlowLayout::horizontal_gap() const {
    if (spacing() >= 0)
        return spacing();
    const QWidget* w = parentWidget();
    return w ? w->style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing, nullptr, w) : 6;
}

int FlowLayout::vertical_gap() const {
    if (spacing() >= 0)
        return spacing();
    const QWidget* w = parentWidget();
    return w ? w->style()->pixelMetric(QStyle::PM_LayoutVerticalSpacing, nullptr, w) : 6;
}

int FlowLayout::arrange(const QRect& rect, bool apply) const {
    const QMargins m = contentsMargins();
    const QRect area = rect.marginsRemoved(m);
    const int hgap = horizontal_gap(), vgap = vertical_gap();

    // Rows by preferred widths; a stretch where a row breaks is dropped.
    std::vector<std::vector<QLayoutItem*>> rows(1);
    int used = 0;
    for (QLayoutItem* item : items_) {
        const bool stretch = is_stretch(item);
        if (item->isEmpty() && !stretch)
            continue;
        const int w = stretch ? 0 : preferred_width(item);
        std::vector<QLayoutItem*>& row = rows.back();
        const bool has_item =
            std::any_of(row.begin(), row.end(), [](QLayoutItem* i) { return !is_stretch(i); });
        if (has_item && !stretch && used + hgap + w > area.width()) {
            rows.emplace_back();
            used = 0;
        }
        std::vector<QLayoutItem*>& into = rows.back();
        if (stretch && into.empty())
            continue;
        used += (stretch || into.empty() ? 0 : hgap) + w;
        into.push_back(item);
    }

    int y = area.top();
    bool first_row = true;
    for (std::vector<QLayoutItem*>& row : rows) {
        while (!row.empty() && is_stretch(row.back()))
            row.pop_back();
        if (row.empty())
            continue;
        std::vector<int> widths;
        int taken = 0, boxes = 0;
        for (QLayoutItem* item : row) {
            widths.push_back(is_stretch(item) ? 0 : preferred_width(item));
            taken += widths.back() + (!is_stretch(item) && boxes++ ? hgap : 0);
        }
        int spare = area.width() - taken;
        std::vector<std::size_t> takers;
        for (std::size_t i = 0; i < row.size(); ++i)
            if (is_stretch(row[i]))
                takers.push_back(i);
        if (takers.empty())
            for (std::size_t i = 0; i < row.size(); ++i)
                if (row[i]->expandingDirections() & Qt::Horizontal)
                    takers.push_back(i);
        if (spare > 0 && !takers.empty()) {
            for (std::size_t k = 0; k < takers.size(); ++k) {
                const int share = spare / static_cast<int>(takers.size() - k);
                QLayoutItem* item = row[takers[k]];
                const int grown =
                    is_stretch(item)
                        ? widths[takers[k]] + share
                        : std::min(widths[takers[k]] + share,
                                   std::max(widths[takers[k]], item->maximumSize().width()));
                spare -= grown - widths[takers[k]];
                widths[takers[k]] = grown;
            }
        } else if (spare < 0 && row.size() == 1) {
            // One item wider than the row gives way down to its minimum width.
            widths[0] = std::max(row[0]->minimumSize().width(), widths[0] + spare);
        }
        int height = 0;
        for (std::size_t i = 0; i < row.size(); ++i)
            if (!is_stretch(row[i]))
                height = std::max(height, height_at(row[i], widths[i]));
        if (!first_row)
            y += vgap;
        first_row = false;
        // The last row gives what height is left to the items that grow downwards (a table
        // fills the page below the controls above it); the rows' own height stays as it is.
        int placed_height = height;
        if (&row == &rows.back())
            for (QLayoutItem* item : row)
                if (item->expandingDirections() & Qt::Vertical)
                    placed_height = std::max(height, area.bottom() + 1 - y);
        if (apply) {
            int x = area.left();
            bool placed = false;
            for (std::size_t i = 0; i < row.size(); ++i) {
                if (is_stretch(row[i])) {
                    x += widths[i];
                    continue;
                }
                if (placed)
                    x += hgap;
                placed = true;
                const int h = (row[i]->expandingDirections() & Qt::Vertical)
                                  ? placed_height
                                  : std::min(height, height_at(row[i], widths[i]));
                const int top = centered_rows_ ? y + (height - h) / 2 : y;
                row[i]->setGeometry(QRect(x, top, widths[i], h));
                x += widths[i];
            }
        }
        y += height;
    }
    return y - rect.top() + m.bottom();
}

} // namespace parvex

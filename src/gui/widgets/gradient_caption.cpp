#include "widgets/gradient_caption.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>

namespace parvex {

GradientCaption::GradientCaption(int parts, QWidget* parent) : QWidget(parent) {
    QFont f = font();
    f.setBold(true);
    f.setPixelSize(13);
    parts_.resize(static_cast<std::size_t>(std::max(1, parts)), Part{QString(), f, Qt::white});
    setFixedHeight(24);
}

void GradientCaption::setPartText(int index, const QString& text) {
    part(index).text = text;
    update();
}

void GradientCaption::setPartFont(int index, const QFont& font) {
    part(index).font = font;
    update();
}

void GradientCaption::setPartColor(int index, const QColor& color) {
    part(index).color = color;
    update();
}

QString GradientCaption::caption() const {
    QString all;
    for (const auto& p : parts_)
        if (p.visible)
            all += p.text;
    return all;
}

void GradientCaption::setStartColor(const QColor& c) {
    start_ = c;
    update();
}

void GradientCaption::setEndColor(const QColor& c) {
    end_ = c;
    update();
}

QSize GradientCaption::sizeHint() const {
    int w = 8;
    for (const auto& p : parts_)
        if (p.visible)
            w += QFontMetrics(p.font).horizontalAdvance(p.text);
    return {w, height()};
}

void GradientCaption::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QLinearGradient g(0, 0, width(), 0);
    g.setColorAt(0.0, start_);
    g.setColorAt(1.0, end_);
    p.fillRect(rect(), g);
    // A thin darker line under the bar separates it from the window's content.
    p.setPen(start_.darker(140));
    p.drawLine(0, height() - 1, width(), height() - 1);

    int x = 6;
    for (const auto& part : parts_) {
        if (!part.visible || part.text.isEmpty())
            continue;
        p.setFont(part.font);
        QFontMetrics fm(part.font);
        int w = fm.horizontalAdvance(part.text);
        QRect box(x, 0, w, height() - 1);
        p.setPen(QColor(0, 0, 0, 110));
        p.drawText(box.translated(1, 1), Qt::AlignVCenter | Qt::AlignLeft, part.text);
        p.setPen(part.color);
        p.drawText(box, Qt::AlignVCenter | Qt::AlignLeft, part.text);
        x += w;
    }
}

void GradientCaption::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        dragging_ = true;
        drag_offset_ = event->globalPosition().toPoint() - window()->frameGeometry().topLeft();
    }
    QWidget::mousePressEvent(event);
}

void GradientCaption::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_ && (event->buttons() & Qt::LeftButton))
        window()->move(event->globalPosition().toPoint() - drag_offset_);
    else
        dragging_ = false;
    QWidget::mouseMoveEvent(event);
}

} // namespace parvex

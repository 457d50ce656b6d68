#include "widgets/led_progress_bar.h"

#include <QPainter>
#include <algorithm>

namespace parvex {

LedProgressBar::LedProgressBar(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void LedProgressBar::setMinimum(int v) {
    min_ = v;
    update();
}

void LedProgressBar::setMaximum(int v) {
    max_ = v;
    update();
}

void LedProgressBar::setValue(int v) {
    value_ = v;
    update();
    emit valueChanged(v);
}

void LedProgressBar::setThreshold2(int v) {
    threshold2_ = v;
    update();
}

void LedProgressBar::setThreshold3(int v) {
    threshold3_ = v;
    update();
}

void LedProgressBar::setColors(const QColor& c1, const QColor& c2, const QColor& c3) {
    c1_ = c1;
    c2_ = c2;
    c3_ = c3;
    update();
}

int LedProgressBar::litSegments() const {
    if (max_ <= min_)
        return 0;
    long long done = std::clamp<long long>(value_ - min_, 0, max_ - min_);
    return static_cast<int>(done * Segments / (max_ - min_));
}

QColor LedProgressBar::segmentColor(int i) const {
    // The value at which the segment lights up decides its colour.
    long long span = std::max(1, max_ - min_);
    long long at = min_ + span * i / Segments;
    if (at >= threshold3_)
        return c3_;
    if (at >= threshold2_)
        return c2_;
    return c1_;
}

void LedProgressBar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    const int lit = litSegments();
    const double step = (width() - 1) / static_cast<double>(Segments);
    for (int i = 0; i < Segments; ++i) {
        int x0 = 1 + static_cast<int>(i * step);
        int x1 = static_cast<int>((i + 1) * step) - 1;
        QRect seg(x0, 1, std::max(1, x1 - x0 + 1), height() - 2);
        QColor c = segmentColor(i);
        if (i >= lit) {
            // An unlit LED: the colour, dimmed well down.
            c = QColor(c.red() / 5, c.green() / 5, c.blue() / 5);
            p.fillRect(seg, c);
        } else {
            p.fillRect(seg, c);
            // A light upper half gives the segment a little depth.
            QRect shine(seg.left(), seg.top(), seg.width(), seg.height() / 2);
            p.fillRect(shine, QColor(255, 255, 255, 70));
        }
    }
}

} // namespace parvex

#include "widgets/gradient_panel.h"

#include <QLinearGradient>
#include <QPainter>
#include <algorithm>

namespace parvex {

GradientPanel::GradientPanel(QWidget* parent) : QFrame(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void GradientPanel::setColor(const QColor& c) {
    color_ = c;
    update();
}

void GradientPanel::setGradientColors(const QColor& c1, const QColor& c2, const QColor& c3) {
    c1_ = c1;
    c2_ = c2;
    c3_ = c3;
    update();
}

QColor GradientPanel::gradientColor(int i) const {
    return i == 1 ? c1_ : i == 2 ? c2_ : c3_;
}

void GradientPanel::setShadeCenter(int percent) {
    shade_ = std::clamp(percent, 0, 100);
    update();
}

void GradientPanel::setHorizontal(bool on) {
    horizontal_ = on;
    update();
}

void GradientPanel::setPlain(bool on) {
    plain_ = on;
    update();
}

void GradientPanel::setCaption(const QString& text) {
    caption_ = text;
    update();
}

void GradientPanel::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    const QRect r = rect();
    if (plain_) {
        p.fillRect(r, color_);
    } else {
        QLinearGradient g(r.topLeft(), horizontal_ ? QPointF(r.right() + 1, r.top())
                                                   : QPointF(r.left(), r.bottom() + 1));
        g.setColorAt(0.0, c1_);
        g.setColorAt(shade_ / 100.0, c2_);
        g.setColorAt(1.0, c3_);
        p.fillRect(r, g);
    }
    if (!caption_.isEmpty()) {
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(r, Qt::AlignCenter, caption_);
    }
    p.end();
    QFrame::paintEvent(event); // the frame line, when one is set
}

} // namespace parvex

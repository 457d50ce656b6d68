#include "widgets/shadow_label.h"

#include <QPainter>
#include <QStyle>

namespace parvex {

ShadowLabel::ShadowLabel(QWidget* parent) : QLabel(parent) {}

ShadowLabel::ShadowLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {}

void ShadowLabel::setFontColor(const QColor& c) {
    font_color_ = c;
    update();
}

void ShadowLabel::setShadowColor(const QColor& c) {
    shadow_color_ = c;
    update();
}

void ShadowLabel::setShadowSize(int pixels) {
    shadow_size_ = std::max(0, pixels);
    updateGeometry();
    update();
}

void ShadowLabel::setTransparent(bool on) {
    transparent_ = on;
    update();
}

void ShadowLabel::setBackgroundColor(const QColor& c) {
    background_ = c;
    update();
}

QSize ShadowLabel::sizeHint() const {
    return QLabel::sizeHint() + QSize(shadow_size_, shadow_size_);
}

QSize ShadowLabel::minimumSizeHint() const {
    return QLabel::minimumSizeHint() + QSize(shadow_size_, shadow_size_);
}

void ShadowLabel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!transparent_)
        p.fillRect(rect(), background_);
    QRect area = contentsRect().adjusted(margin(), margin(), -margin() - shadow_size_,
                                         -margin() - shadow_size_);
    int flags = static_cast<int>(alignment());
    if (wordWrap())
        flags |= Qt::TextWordWrap;
    p.setFont(font());
    if (shadow_size_ > 0) {
        p.setPen(shadow_color_);
        p.drawText(area.translated(shadow_size_, shadow_size_), flags, text());
    }
    p.setPen(font_color_);
    p.drawText(area, flags, text());
}

} // namespace parvex

#include "widgets/speed_button.h"

#include <QEnterEvent>
#include <QKeySequence>
#include <QPainter>
#include <QPainterPath>

namespace parvex {

SpeedButton::SpeedButton(QWidget* parent) : QToolButton(parent) {
    setAutoRaise(true);
    setCursor(Qt::PointingHandCursor);
    setBold(true);
    setToolButtonStyle(Qt::ToolButtonTextOnly);
}

SpeedButton::SpeedButton(const QString& caption, QWidget* parent) : SpeedButton(parent) {
    setText(caption);
}

void SpeedButton::setTransparent(bool on) {
    transparent_ = on;
    update();
}

void SpeedButton::setBold(bool on) {
    QFont f = font();
    f.setBold(on);
    setFont(f);
}

void SpeedButton::setFontColor(const QColor& c) {
    font_color_ = c;
    update();
}

void SpeedButton::runMouseLeave() {
    if (on_leave_)
        on_leave_(this);
}

void SpeedButton::setMnemonic(QChar letter) {
    if (preferred_mnemonic_.isNull())
        preferred_mnemonic_ = letter.toUpper();
    useMnemonic(letter);
}

void SpeedButton::useMnemonic(QChar letter) {
    mnemonic_ = letter.toUpper();
    setShortcut(letter.isNull()
                    ? QKeySequence()
                    : QKeySequence(QKeyCombination(Qt::AltModifier, Qt::Key(mnemonic_.unicode()))));
    update();
}

QString SpeedButton::mnemonicText() const {
    QString out;
    bool placed = mnemonic_.isNull();
    for (QChar c : text()) {
        if (!placed && c.toUpper() == mnemonic_) {
            out += QLatin1Char('&');
            placed = true;
        }
        out += c;
        if (c == QLatin1Char('&'))
            out += c;
    }
    return out;
}

QSize SpeedButton::sizeHint() const {
    QSize s = QToolButton::sizeHint();
    return {s.width() + 16, std::max(s.height() + 6, 25)};
}

void SpeedButton::enterEvent(QEnterEvent* event) {
    hovered_ = true;
    QToolButton::enterEvent(event);
    if (on_enter_)
        on_enter_(this);
    emit mouseEntered();
}

void SpeedButton::leaveEvent(QEvent* event) {
    hovered_ = false;
    QToolButton::leaveEvent(event);
    if (on_leave_)
        on_leave_(this);
    emit mouseLeft();
}

void SpeedButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const bool down = isDown() || isChecked();
    if (!transparent_ || down) {
        // A raised face with a soft vertical shade; pressed buttons look sunk.
        QColor face = palette().color(QPalette::Button);
        QLinearGradient g(r.topLeft(), r.bottomLeft());
        g.setColorAt(0, down ? face.darker(115) : face.lighter(112));
        g.setColorAt(1, down ? face.lighter(105) : face.darker(108));
        QPainterPath path;
        path.addRoundedRect(r, 3, 3);
        p.fillPath(path, g);
        p.setPen(palette().color(QPalette::Mid));
        p.drawPath(path);
    }
    if (hasFocus()) {
        p.setPen(QPen(font_color_, 1, Qt::DotLine));
        p.drawRoundedRect(r.adjusted(2, 2, -2, -2), 2, 2);
    }
    p.setFont(font());
    p.setPen(isEnabled() ? font_color_ : palette().color(QPalette::Disabled, QPalette::ButtonText));
    QRect text_rect = rect();
    if (down)
        text_rect.translate(1, 1);
    if (!icon().isNull()) {
        QSize is = iconSize();
        QRect icon_rect(text_rect.left() + 6, text_rect.center().y() - is.height() / 2, is.width(),
                        is.height());
        icon().paint(&p, icon_rect);
        text_rect.setLeft(icon_rect.right() + 4);
    }
    p.drawText(text_rect, Qt::AlignCenter | Qt::TextShowMnemonic, mnemonicText());
}

} // namespace parvex

#pragma once
// A label whose text carries a drop shadow (colour and size in pixels; size 0 draws none),
// drawn over its parent when transparent, else over its own background colour.

#include <QColor>
#include <QLabel>

namespace parvex {

class ShadowLabel : public QLabel {
    Q_OBJECT
public:
    explicit ShadowLabel(QWidget* parent = nullptr);
    explicit ShadowLabel(const QString& text, QWidget* parent = nullptr);

    void setFontColor(const QColor& c);
    QColor fontColor() const { return font_color_; }
    void setShadowColor(const QColor& c);
    QColor shadowColor() const { return shadow_color_; }
    void setShadowSize(int pixels);
    int shadowSize() const { return shadow_size_; }
    void setTransparent(bool on);
    bool transparent() const { return transparent_; }
    void setBackgroundColor(const QColor& c);
    QColor backgroundColor() const { return background_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor font_color_{Qt::black};
    QColor shadow_color_{Qt::gray};
    QColor background_{Qt::white};
    int shadow_size_ = 1;
    bool transparent_ = true;
};

} // namespace parvex

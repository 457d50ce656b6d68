#pragma once
// A panel filled with a three-colour gradient (shade centre in percent, horizontal or vertical)
// or, in plain mode, with its base colour alone.

#include <QColor>
#include <QFrame>
#include <QString>

namespace parvex {

class GradientPanel : public QFrame {
    Q_OBJECT
public:
    explicit GradientPanel(QWidget* parent = nullptr);

    // The base colour fills the panel in plain mode.
    void setColor(const QColor& c);
    QColor color() const { return color_; }
    void setGradientColors(const QColor& c1, const QColor& c2, const QColor& c3);
    QColor gradientColor(int i) const; // 1 .. 3
    // Where the middle colour sits, in percent of the run (0 .. 100).
    void setShadeCenter(int percent);
    int shadeCenter() const { return shade_; }
    // Horizontal: the colours run from left to right; else from top to bottom.
    void setHorizontal(bool on);
    bool horizontal() const { return horizontal_; }
    void setPlain(bool on);
    bool plain() const { return plain_; }
    void setCaption(const QString& text);
    QString caption() const { return caption_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor color_{Qt::lightGray};
    QColor c1_{Qt::lightGray}, c2_{Qt::white}, c3_{Qt::lightGray};
    int shade_ = 50;
    bool horizontal_ = true;
    bool plain_ = false;
    QString caption_;
};

} // namespace parvex

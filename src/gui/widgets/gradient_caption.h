#pragma once
// A title bar painted with a gradient from a start colour to an end colour, showing several
// caption parts one after the other, each with its own font and colour. Dragging it moves the
// window it belongs to (the dialog window has no system title bar).

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QString>
#include <QWidget>
#include <vector>

namespace parvex {

class GradientCaption : public QWidget {
    Q_OBJECT
public:
    struct Part {
        QString text;
        QFont font;
        QColor color{Qt::white};
        bool visible = true;
    };

    explicit GradientCaption(int parts = 1, QWidget* parent = nullptr);

    int partCount() const { return static_cast<int>(parts_.size()); }
    Part& part(int index) { return parts_.at(static_cast<std::size_t>(index)); }
    const Part& part(int index) const { return parts_.at(static_cast<std::size_t>(index)); }
    void setPartText(int index, const QString& text);
    QString partText(int index) const { return part(index).text; }
    void setPartFont(int index, const QFont& font);
    void setPartColor(int index, const QColor& color);
    // All parts joined, as a reader (or a test) sees the caption.
    QString caption() const;

    void setStartColor(const QColor& c);
    QColor startColor() const { return start_; }
    void setEndColor(const QColor& c);
    QColor endColor() const { return end_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    std::vector<Part> parts_;
    QColor start_{0, 0, 255};
    QColor end_{170, 200, 240};
    QPoint drag_offset_;
    bool dragging_ = false;
};

} // namespace parvex

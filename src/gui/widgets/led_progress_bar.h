#pragma once
// A progress bar of 20 LED segments with black separators, lit from left to right; a segment's
// colour depends on where it sits: below the second threshold the first colour, from the
// second threshold the second colour, from the third threshold the third colour.

#include <QColor>
#include <QWidget>

namespace parvex {

class LedProgressBar : public QWidget {
    Q_OBJECT
public:
    static constexpr int Segments = 20;

    explicit LedProgressBar(QWidget* parent = nullptr);

    int minimum() const { return min_; }
    int maximum() const { return max_; }
    int value() const { return value_; }
    void setMinimum(int v);
    void setMaximum(int v);
    // Changing the position emits valueChanged, also when it is set to the same value again
    // after a range change (callers react to every move).
    void setValue(int v);
    void setThreshold2(int v);
    void setThreshold3(int v);
    int threshold2() const { return threshold2_; }
    int threshold3() const { return threshold3_; }
    void setColors(const QColor& c1, const QColor& c2, const QColor& c3);
    QColor color(int i) const { return i == 1 ? c1_ : i == 2 ? c2_ : c3_; }

    int litSegments() const;
    // The colour of segment i (0 .. 19), lit or not.
    QColor segmentColor(int i) const;

    QSize sizeHint() const override { return {200, 15}; }
    QSize minimumSizeHint() const override { return {Segments * 3 + 2, 8}; }

signals:
    void valueChanged(int value);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int min_ = 0, max_ = 100, value_ = 0;
    int threshold2_ = 60, threshold3_ = 85;
    QColor c1_{0, 255, 255}, c2_{255, 255, 0}, c3_{0, 255, 0};
};

} // namespace parvex

#pragma once
// A layout that sets its items side by side while they fit and starts a new row where they do
// not, so controls whose texts grow (a longer translation) move down instead of out of the
// window. The height its rows take at the width it was last given is its minimum height; it
// does not take part in height-for-width, which a scroll area would read as the height a whole
// page wants and scroll pages that fit.

#include <QLayout>
#include <QList>

namespace parvex {

class FlowLayout : public QLayout {
    Q_OBJECT
public:
    explicit FlowLayout(QWidget* parent = nullptr);
    ~FlowLayout() override;

    // The width a row has to spare goes to its stretches; a row without one gives it to the
    // items that grow sideways. A stretch at the start or end of a row is dropped there.
    void addStretch();
    // Items lower than their row sit in its middle (a bar of buttons, boxes and labels) instead
    // of at its top (side-by-side panels).
    void setCenteredRows(bool on) { centered_rows_ = on; }

    void addItem(QLayoutItem* item) override;
    int count() const override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    Qt::Orientations expandingDirections() const override;
    QSize minimumSize() const override;
    QSize sizeHint() const override;
    void setGeometry(const QRect& rect) override;

private:
    int arrange(const QRect& rect, bool apply) const;
    int horizontal_gap() const;
    int vertical_gap() const;

    QList<QLayoutItem*> items_;
    bool centered_rows_ = false;
    int rows_height_ = -1; // what the rows took at the last width; -1: not laid out yet
};

} // namespace parvex

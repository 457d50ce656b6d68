#pragma once
// Paints and edits the cells of a TSGX: each cell gets its colours from the grid's cell-format
// event, and the in-place editor refuses the characters that would split a table row.

#include <QStyledItemDelegate>

namespace parvex {

class TSGX;

class SGX_Delegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit SGX_Delegate(TSGX& grid);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;

    static constexpr int Text_Padding = 3;

private:
    TSGX& grid_;
};

} // namespace parvex

#include "widgets/sgx_delegate.h"

#include "widgets/sgx.h"
#include "widgets/sgx_model.h"
#include "widgets/sgx_text.h"

#include <QLineEdit>
#include <QPainter>
#include <QRegularExpressionValidator>

namespace parvex {

SGX_Delegate::SGX_Delegate(TSGX& grid) : QStyledItemDelegate(&grid), grid_(grid) {}

void SGX_Delegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const {
    const int col = index.column();
    const int row = SGX_Model::Grid_Row(index.row());
    unsigned state = Draw_None;
    const bool is_current = grid_.currentIndex() == index;
    if (is_current && grid_.hasFocus())
        state = Draw_Focused;
    else if (option.state & QStyle::State_Selected)
        state = Draw_Selected;
    Cell_Format format = grid_.Run_Format_Cell(col, row, state);

    painter->save();
    painter->fillRect(option.rect, To_QColor(format.brush));
    Qt::Alignment align = Qt::AlignVCenter;
    switch (format.align) {
    case Cell_Align::Center:
        align |= Qt::AlignHCenter;
        break;
    case Cell_Align::Right:
        align |= Qt::AlignRight;
        break;
    default:
        align |= Qt::AlignLeft;
        break;
    }
    QRect text_rect = option.rect.adjusted(Text_Padding, 0, -Text_Padding, 0);
    QString text = index.data(Qt::DisplayRole).toString();
    text = option.fontMetrics.elidedText(text, Qt::ElideRight, text_rect.width());
    painter->setPen(To_QColor(format.font));
    painter->setFont(option.font);
    painter->drawText(text_rect, static_cast<int>(align), text);
    painter->restore();
}

QWidget* SGX_Delegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                    const QModelIndex&) const {
    auto* edit = new QLineEdit(parent);
    edit->setFrame(false);
    // "|", CR and LF would split the row when the table file is read back.
    edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[^|\\r\\n]*")), edit));
    return edit;
}

} // namespace parvex

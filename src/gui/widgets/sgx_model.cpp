#include "widgets/sgx_model.h"

#include "tables/table_file.h"
#include "widgets/sgx_text.h"

namespace parvex {

namespace {

Qt::Alignment to_qt(Cell_Align align) {
    switch (align) {
    case Cell_Align::Center:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    case Cell_Align::Right:
        return Qt::AlignRight | Qt::AlignVCenter;
    default:
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

} // namespace

SGX_Model::SGX_Model(Table_Grid& grid, QObject* parent) : QAbstractTableModel(parent), grid_(grid) {
    grid_.Set_Observer(this);
}

SGX_Model::~SGX_Model() {
    if (grid_.Observer() == this)
        grid_.Set_Observer(nullptr);
}

int SGX_Model::rowCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    return grid_.Row_Count() - grid_.Fixed_Rows();
}

int SGX_Model::columnCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    return grid_.Col_Count();
}

QVariant SGX_Model::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const int col = index.column(), row = Grid_Row(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return Bytes_To_Text(grid_.Cell(col, row));
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(to_qt(Col_Align(grid_.Record(), col)));
    default:
        return {};
    }
}

QVariant SGX_Model::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical) {
        if (role == Qt::DisplayRole && section >= 0 && section < rowCount())
            return section + 1;
        return {};
    }
    if (section < 0 || section >= grid_.Col_Count())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return Bytes_To_Text(grid_.Cell(section, 0));
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(to_qt(Col_Align(grid_.Record(), section)));
    default:
        return {};
    }
}

Qt::ItemFlags SGX_Model::flags(const QModelIndex& index) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (editable_ && Col_Type(grid_.Record(), index.column()) != 'L')
        f |= Qt::ItemIsEditable;
    return f;
}

bool SGX_Model::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !checkIndex(index, CheckIndexOption::IndexIsValid))
        return false;
    const int col = index.column(), row = Grid_Row(index.row());
    const std::string& original = grid_.Cell(col, row);
    // Whatever reaches a cell can be written and read back as the same row.
    std::string bytes = Clean_Cell(Text_To_Bytes(value.toString(), original));
    if (bytes == original)
        return true;
    grid_.Set_Cell(col, row, std::move(bytes));
    emit cellEdited(col, row);
    return true;
}

void SGX_Model::table_about_to_reset() {
    beginResetModel();
}

void SGX_Model::table_reset() {
    endResetModel();
}

void SGX_Model::cell_changed(int col, int row) {
    if (row < grid_.Fixed_Rows()) {
        emit headerDataChanged(Qt::Horizontal, col, col);
        return;
    }
    QModelIndex i = index(Model_Row(row), col);
    emit dataChanged(i, i, {Qt::DisplayRole, Qt::EditRole});
}

void SGX_Model::current_changed() {
    emit currentMoved();
}

void SGX_Model::widths_changed() {
    emit widthsChanged();
}

void SGX_Model::repaint() {
    emit repaintWanted();
}

} // namespace parvex

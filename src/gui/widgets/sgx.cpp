#include "widgets/sgx.h"

#include "tables/table_procs.h"
#include "widgets/sgx_delegate.h"
#include "widgets/sgx_model.h"
#include "widgets/sgx_text.h"

#include <QHeaderView>
#include <QStyle>

#include <algorithm>

namespace parvex {

TSGX::TSGX(QWidget* parent) : QTableView(parent) {
    model_ = new SGX_Model(grid_, this);
    setModel(model_);
    setItemDelegate(new SGX_Delegate(*this));

    grid_.text_width = [this](const std::string& bytes) {
        return fontMetrics().horizontalAdvance(Bytes_To_Text(bytes)) +
               2 * SGX_Delegate::Text_Padding;
    };
    // A header cell also holds the header's padding and the sort arrow.
    grid_.header_width = [this](int col) {
        QHeaderView* head = horizontalHeader();
        return col < head->count() ? head->sectionSizeHint(col) : -1;
    };
    grid_.editor_open = [this] { return Editor_Open(); };

    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setGridStyle(Qt::SolidLine);

    // Fixed row heights keep scrolling smooth with thousands of rows.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->hide();

    QHeaderView* head = horizontalHeader();
    head->setSectionsClickable(true);
    head->setSortIndicatorShown(true);
    head->setHighlightSections(false);
    head->setStretchLastSection(false);
    head->setDefaultSectionSize(Default_Col_Width);
    head->setMinimumSectionSize(8);
    connect(head, &QHeaderView::sectionClicked, this, &TSGX::sort_by_header);
    connect(head, &QHeaderView::sectionResized, this, [this](int col, int, int size) {
        if (show_all_columns_)
            updateGeometry();
        if (syncing_)
            return;
        if (size < Min_Col_Width(col)) {
            // Dragged narrower than its header: the column stops at the header's width.
            const bool was = syncing_;
            syncing_ = true;
            horizontalHeader()->resizeSection(col, Min_Col_Width(col));
            syncing_ = was;
            size = Min_Col_Width(col);
        }
        if (size != grid_.Col_Width(col))
            grid_.Set_Col_Width(col, size);
    });

    connect(model_, &QAbstractItemModel::modelReset, this, &TSGX::follow_table);
    connect(model_, &SGX_Model::currentMoved, this, &TSGX::show_current);
    connect(model_, &SGX_Model::widthsChanged, this, &TSGX::apply_widths);
    // A sort of at most one data row changes no rows, only the sort column: the arrow follows.
    connect(model_, &SGX_Model::repaintWanted, this, [this] {
        show_sort_indicator();
        viewport()->update();
    });
    connect(model_, &SGX_Model::cellEdited, this, &TSGX::cellEdited);
    connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex& i) {
        emit cellClicked(i.column(), SGX_Model::Grid_Row(i.row()));
    });
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& i) {
        emit cellDoubleClicked(i.column(), SGX_Model::Grid_Row(i.row()));
    });
    Set_Editing(true);
    follow_table();
}

TSGX::~TSGX() {
    // The model watches grid_, which dies before the view's children are deleted.
    delete model_;
    model_ = nullptr;
}

void TSGX::SetSG_Record(const SG_Rec& rec) {
    grid_.SetSG_Record(rec);
    viewport()->update();
    horizontalHeader()->viewport()->update();
}

void TSGX::Set_Editing(bool on) {
    editing_ = on;
    model_->Set_Editable(on);
    setEditTriggers(on ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                             QAbstractItemView::AnyKeyPressed
                       : QAbstractItemView::NoEditTriggers);
}

bool TSGX::Editing() const {
    return editing_;
}

void TSGX::Set_Format_Cell_Handler(Format_Cell_Handler handler) {
    format_handler_ = std::move(handler);
    viewport()->update();
}

Cell_Format TSGX::Run_Format_Cell(int col, int row, unsigned state) {
    Cell_Format format;
    format.brush = Grid_Color(2);
    format.font = 0;
    format.align = Col_Align(grid_.Record(), col);
    if (format_handler_)
        format_handler_(*this, col, row, format, state);
    else
        Format_Cell(grid_, col, row, format, state);
    return format;
}

void TSGX::Auto_Size() {
    grid_.Auto_Size_Columns(Auto_Size_Margin);
}

void TSGX::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (!syncing_ && current.isValid())
        grid_.Note_Current_From_View(current.column(), SGX_Model::Grid_Row(current.row()));
    // The current row is painted in its own colour: the rows it left and entered change.
    viewport()->update();
}

void TSGX::sort_by_header(int col) {
    const bool ascending =
        !(grid_.Sort_Col() == col && grid_.Sort_Dir() == Sort_Direction::Ascending);
    Sort_Options options;
    if (auto style = Style_For_Type(Col_Type(grid_.Record(), col)))
        options.style = *style;
    options.direction = ascending ? Sort_Direction::Ascending : Sort_Direction::Descending;
    options.case_sensitive = grid_.Case_Sensitive();
    grid_.Sort_Rows(col, options, true);
    // The header flips its arrow on a click by itself; the table says what is really sorted.
    follow_table();
    emit headerClicked(col);
}

void TSGX::show_sort_indicator() {
    QHeaderView* head = horizontalHeader();
    if (grid_.Sort_Col() >= 0)
        head->setSortIndicator(grid_.Sort_Col(), grid_.Sort_Dir() == Sort_Direction::Ascending
                                                     ? Qt::AscendingOrder
                                                     : Qt::DescendingOrder);
    else
        head->setSortIndicator(-1, Qt::AscendingOrder);
}

void TSGX::follow_table() {
    show_sort_indicator();
    apply_widths();
    show_current();
    viewport()->update();
}

void TSGX::apply_widths() {
    const bool was = syncing_;
    syncing_ = true;
    // A width from the table record never cuts the header text or hides it under the arrow;
    // the record keeps its own value.
    for (int c = 0; c < grid_.Col_Count(); ++c)
        setColumnWidth(c, std::max(grid_.Col_Width(c), Min_Col_Width(c)));
    syncing_ = was;
}

void TSGX::Set_Show_All_Columns(bool on) {
    show_all_columns_ = on;
    updateGeometry();
}

QSize TSGX::minimumSizeHint() const {
    QSize size = QTableView::minimumSizeHint();
    if (!show_all_columns_)
        return size;
    // The columns, the frame and a vertical scroll bar, which may come with more rows.
    const int scroll_bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    size.setWidth(
        std::max(size.width(), horizontalHeader()->length() + 2 * frameWidth() + scroll_bar));
    return size;
}

int TSGX::Min_Col_Width(int col) const {
    const QHeaderView* head = horizontalHeader();
    if (col < 0 || col >= head->count() || head->isSectionHidden(col))
        return 0;
    // The header's own measure: its text, its margins and the room for the sort arrow.
    return head->sectionSizeHint(col);
}

void TSGX::show_current() {
    const int row = SGX_Model::Model_Row(grid_.Current_Row());
    if (row < 0 || row >= model_->rowCount())
        return;
    const bool was = syncing_;
    syncing_ = true;
    QModelIndex index = model_->index(row, grid_.Current_Col());
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                 QItemSelectionModel::Rows);
    scrollTo(index);
    syncing_ = was;
    viewport()->update();
}

} // namespace parvex

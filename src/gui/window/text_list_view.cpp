#include "window/text_list_view.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStyledItemDelegate>

namespace parvex {

namespace {

// Every line is as wide as the widest one, so the horizontal scroll bar covers long lines even
// though the view measures only one item (uniform sizes).
class FixedPitchDelegate : public QStyledItemDelegate {
public:
    FixedPitchDelegate(const TextListModel* model, QObject* parent)
        : QStyledItemDelegate(parent), model_(model) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
        const QFontMetrics fm(option.font);
        const int width = model_->maxColumns() * fm.horizontalAdvance(QLatin1Char('M')) + 8;
        return {width, fm.height() + 2};
    }

private:
    const TextListModel* model_;
};

// Judged by the glyphs: some monospace fonts do not carry the fixed-pitch flag.
bool monospaced(const QFont& f) {
    const QFontMetricsF fm(f);
    return fm.horizontalAdvance(QLatin1Char('i')) == fm.horizontalAdvance(QLatin1Char('W')) &&
           fm.horizontalAdvance(QLatin1Char(' ')) == fm.horizontalAdvance(QLatin1Char('W'));
}

// The desktop's fixed-pitch font; where the platform names none (a bare or offscreen session
// may answer with its ordinary font) the font matcher is asked for any monospace family.
QFont fixed_pitch_font() {
    QFont f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (monospaced(f))
        return f;
    f.setFamily(QStringLiteral("Monospace"));
    f.setStyleHint(QFont::Monospace);
    f.setFixedPitch(true);
    return f;
}

} // namespace

TextListView::TextListView(QWidget* parent) : QListView(parent), model_(new TextListModel(this)) {
    setModel(model_);
    setItemDelegate(new FixedPitchDelegate(model_, this));
    setUniformItemSizes(true);
    setFont(fixed_pitch_font());
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setTextElideMode(Qt::ElideNone);
    setWordWrap(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    connect(this, &QAbstractItemView::clicked, this,
            [this](const QModelIndex& index) { emit rowClicked(index.row()); });
}

int TextListView::selectedRow() const {
    const QModelIndexList rows = selectionModel()->selectedIndexes();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void TextListView::setSelectedRow(int row) {
    if (row < 0 || row >= count()) {
        selectionModel()->clearSelection();
        return;
    }
    const QModelIndex index = model_->index(row);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
}

void TextListView::scrollRowToTop(int row) {
    if (count() == 0)
        return;
    row = std::clamp(row, 0, count() - 1);
    scrollTo(model_->index(row), QAbstractItemView::PositionAtTop);
}

int TextListView::topRow() const {
    if (count() == 0)
        return -1;
    const QModelIndex index = indexAt(QPoint(1, 1));
    return index.isValid() ? index.row() : 0;
}

void TextListView::keyPressEvent(QKeyEvent* event) {
    const int before = currentIndex().row();
    QListView::keyPressEvent(event);
    const int after = currentIndex().row();
    if (after != before && after >= 0)
        emit rowClicked(after);
}

void TextListView::changeEvent(QEvent* event) {
    // A new font changes the line height: measure the lines again.
    if (event->type() == QEvent::FontChange) {
        scheduleDelayedItemsLayout();
        fit_first_column();
    }
    QListView::changeEvent(event);
}

void TextListView::resizeEvent(QResizeEvent* event) {
    QListView::resizeEvent(event);
    fit_first_column();
}

void TextListView::fit_first_column() {
    const int char_width = std::max(1, QFontMetrics(font()).horizontalAdvance(QLatin1Char('M')));
    const int visible = viewport()->width() / char_width;
    model_->setFirstColumnLimit(visible * 3 / 5);
}

int TextListView::firstLineNumber(const QString& entry) {
    const qsizetype tab = entry.indexOf(QLatin1Char('\t'));
    if (tab < 0)
        return 0;
    const qsizetype hash = entry.indexOf(QLatin1Char('#'), tab);
    if (hash < 0)
        return 0;
    qsizetype end = hash + 1;
    while (end < entry.size() && entry[end].isDigit())
        ++end;
    bool ok = false;
    const int number = entry.mid(hash + 1, end - hash - 1).toInt(&ok);
    return ok ? number : 0;
}

} // namespace parvex

#pragma once
// A read-only list model over one text list of 8-bit lines: shown as UTF-8 where a line is valid
// UTF-8, else as Latin-1, with TAB characters expanded to columns for a fixed-pitch view.

#include "platform/text_file.h"

#include <QAbstractListModel>
#include <QString>

namespace parvex {

class TextListModel : public QAbstractListModel {
    Q_OBJECT
public:
    // The original bytes of a line, as a QByteArray.
    static constexpr int BytesRole = Qt::UserRole + 1;

    explicit TextListModel(QObject* parent = nullptr);

    // Replaces all lines in one model reset; pass an rvalue to hand the list over without a copy.
    void setLines(TextList lines);
    // Exchanges the shown lines with the caller's list in one model reset (no copy either way).
    void swapLines(TextList& lines);
    void clear();
    const TextList& lines() const { return lines_; }
    int count() const { return static_cast<int>(lines_.size()); }
    // One line as shown (tabs expanded); empty for a row out of range.
    QString displayText(int row) const;

    // Tab stops every `width` columns (at least 1).
    void setTabWidth(int width);
    int tabWidth() const { return tab_width_; }
    // When on, the first TAB of every line goes to one common column just past the widest text
    // before a first TAB (up to the first-column limit), so "item TAB #line" lists read as two
    // columns. An item too long for the column is cut and ends in "…", so the line numbers
    // always start in that column.
    void setAlignFirstColumn(bool on);
    bool alignFirstColumn() const { return align_first_; }
    static constexpr int maxFirstColumn = 40;
    static constexpr int minFirstColumn = 6;
    // The widest the first column may become, in columns (minFirstColumn .. maxFirstColumn);
    // the view sets it from its width.
    void setFirstColumnLimit(int columns);
    int firstColumnLimit() const { return first_column_limit_; }
    // The column of the first tab stop now in force.
    int firstTabColumn() const { return first_tab_column_; }
    // The widest line in columns after tab expansion (counted on the bytes, so a line of
    // multi-byte characters is counted a little wide, never too narrow).
    int maxColumns() const { return max_columns_; }

    // 8-bit bytes to text: UTF-8 when they are valid UTF-8, else Latin-1.
    static QString decode(const std::string& bytes);
    // Tabs to blanks: the first TAB to `first_stop` when above 0, every other to the next
    // multiple of `tab_width`.
    static QString expandTabs(const QString& text, int tab_width, int first_stop);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    void measure();

    TextList lines_;
    int tab_width_ = 8;
    bool align_first_ = false;
    int first_column_limit_ = maxFirstColumn;
    int first_tab_column_ = 0; // 0: the first TAB is an ordinary one
    int max_columns_ = 0;
};

} // namespace parvex

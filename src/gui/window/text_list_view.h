#pragma once
// A read-only pane of text lines in a fixed-pitch font: a list view with uniform line heights
// over its own TextListModel, filled in one call, smooth with hundreds of thousands of lines.

#include "window/text_list_model.h"

#include <QListView>

namespace parvex {

class TextListView : public QListView {
    Q_OBJECT
public:
    explicit TextListView(QWidget* parent = nullptr);

    TextListModel* textModel() const { return model_; }
    void setLines(TextList lines) { model_->setLines(std::move(lines)); }
    void swapLines(TextList& lines) { model_->swapLines(lines); }
    void clear() { model_->clear(); }
    const TextList& lines() const { return model_->lines(); }
    int count() const { return model_->count(); }

    // The selected line (`ItemIndex`), -1 when none.
    int selectedRow() const;
    // Selects a line without scrolling; -1 or a row out of range clears the selection.
    void setSelectedRow(int row);
    // Scrolls so that the row is the top line (`TopIndex`); a row past the end scrolls to the
    // last line, an empty pane stays as it is.
    void scrollRowToTop(int row);
    // The line shown at the top, -1 when the pane is empty.
    int topRow() const;
    // The first line number of a list entry ("item TAB #00012 TAB #00034"), 0 when it has none.
    static int firstLineNumber(const QString& entry);

signals:
    // The user picked a line with the mouse or the keyboard (not sent for setSelectedRow).
    void rowClicked(int row);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The first column of an aligned list takes at most three fifths of the visible width, so
    // the first line numbers stay in sight.
    void fit_first_column();

    TextListModel* model_;
};

} // namespace parvex

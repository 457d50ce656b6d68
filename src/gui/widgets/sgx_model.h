#pragma once
// Item model over a core table: the table's header row becomes the horizontal header, its data
// rows the model's rows. It follows the table's changes and writes edits back as bytes.

#include "tables/table_grid.h"

#include <QAbstractTableModel>

namespace parvex {

class SGX_Model : public QAbstractTableModel, private Table_Observer {
    Q_OBJECT
public:
    explicit SGX_Model(Table_Grid& grid, QObject* parent = nullptr);
    ~SGX_Model() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // In-place editing; logical ("L") columns are toggled by double-click, never typed into.
    void Set_Editable(bool on) { editable_ = on; }
    bool Editable() const { return editable_; }

    // Grid numbering: data row 1 is model row 0.
    static int Grid_Row(int model_row) { return model_row + 1; }
    static int Model_Row(int grid_row) { return grid_row - 1; }

signals:
    void currentMoved();
    void widthsChanged();
    void repaintWanted();
    void cellEdited(int col, int row);

private:
    void table_about_to_reset() override;
    void table_reset() override;
    void cell_changed(int col, int row) override;
    void current_changed() override;
    void widths_changed() override;
    void repaint() override;

    Table_Grid& grid_;
    bool editable_ = true;
};

} // namespace parvex

#pragma once
// A framed group of radio buttons with an item index (-1: none selected), so that settings and
// the language walk can address the chosen item by number.

#include <QButtonGroup>
#include <QGroupBox>
#include <QStringList>

namespace parvex {

class RadioGroup : public QGroupBox {
    Q_OBJECT
    Q_PROPERTY(int itemIndex READ itemIndex WRITE setItemIndex NOTIFY itemIndexChanged)
public:
    explicit RadioGroup(const QString& caption, const QStringList& items,
                        QWidget* parent = nullptr);

    int itemIndex() const { return group_->checkedId(); }
    // -1 (or any index outside the items) clears the selection.
    void setItemIndex(int index);
    int count() const { return static_cast<int>(group_->buttons().size()); }
    QAbstractButton* item(int index) const { return group_->button(index); }

signals:
    void itemIndexChanged(int index);

private:
    void follow_focus_stop();

    QButtonGroup* group_;
};

} // namespace parvex

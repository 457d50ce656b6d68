#include "widgets/radio_group.h"

#include <QRadioButton>
#include <QVBoxLayout>

namespace parvex {

RadioGroup::RadioGroup(const QString& caption, const QStringList& items, QWidget* parent)
    : QGroupBox(caption, parent), group_(new QButtonGroup(this)) {
    auto* lay = new QVBoxLayout(this);
    for (int i = 0; i < items.size(); ++i) {
        auto* rb = new QRadioButton(items[i]);
        rb->setObjectName(QStringLiteral("%1_Item%2").arg(objectName()).arg(i));
        group_->addButton(rb, i);
        lay->addWidget(rb);
    }
    connect(group_, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on)
            emit itemIndexChanged(id);
    });
}

void RadioGroup::setItemIndex(int index) {
    if (QAbstractButton* b = group_->button(index)) {
        b->setChecked(true);
        return;
    }
    if (QAbstractButton* checked = group_->checkedButton()) {
        // An exclusive group never lets the last checked button go by itself.
        group_->setExclusive(false);
        checked->setChecked(false);
        group_->setExclusive(true);
        emit itemIndexChanged(-1);
    }
}

} // namespace parvex

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
        follow_focus_stop();
        if (on)
            emit itemIndexChanged(id);
    });
    follow_focus_stop();
    // The items are named after the group, also when the group gets its name later.
    connect(this, &QObject::objectNameChanged, this, [this](const QString& name) {
        for (QAbstractButton* b : group_->buttons())
            b->setObjectName(QStringLiteral("%1_Item%2").arg(name).arg(group_->id(b)));
    });
}

void RadioGroup::follow_focus_stop() {
    // Tab enters the group at its chosen item (the first when none is chosen); the arrow keys
    // move between the items.
    QAbstractButton* stop = group_->checkedButton() ? group_->checkedButton() : group_->button(0);
    for (QAbstractButton* b : group_->buttons())
        b->setFocusPolicy(b == stop ? Qt::StrongFocus : Qt::ClickFocus);
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
        follow_focus_stop();
        emit itemIndexChanged(-1);
    }
}

} // namespace parvex

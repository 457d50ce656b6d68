// The colour scheme's state between handlers, and the hover handlers the applier installs.
#include "frame/color_state.h"

#include "frame/form_base.h"
#include "platform/color_convert.h"
#include "tables/color_names.h"
#include "tables/subs.h"
#include "widgets/sgx.h"
#include "widgets/speed_button.h"

#include <QCheckBox>
#include <QEvent>
#include <QLineEdit>
#include <QMouseEvent>

namespace parvex {

namespace {

void set_enabled_role(QPalette& pal, QPalette::ColorRole role, const QColor& c) {
    pal.setColor(QPalette::Active, role, c);
    pal.setColor(QPalette::Inactive, role, c);
}

QColor contrast_of(const QColor& background) {
    return To_QColor(Contrast_Color(From_QColor(background)));
}

} // namespace

void Paint_Switch(QCheckBox& c, bool hovered) {
    QPalette pal = c.palette();
    const bool transparent = c.property("swTransparent").toBool();
    QColor background = c.property("swColor").value<QColor>();
    if (hovered && c.property("swHover").toBool())
        background = c.property("swHoverColor").value<QColor>();
    else if (transparent) {
        c.setAutoFillBackground(false);
        set_enabled_role(pal, QPalette::WindowText, To_QColor(System_Color_Base + 8));
        c.setPalette(pal);
        return;
    }
    c.setAutoFillBackground(true);
    pal.setColor(c.backgroundRole(), background); // a button's background role is Button
    set_enabled_role(pal, QPalette::WindowText, contrast_of(background));
    c.setPalette(pal);
}

// ---------------------------------------------------------------------------------------------

Color_State::Color_State(TFormBase& form) : QObject(&form), form_(form) {
    setObjectName(QStringLiteral("fb_Color_State"));
}

void Color_State::watch(QObject* control) {
    if (control->property("colorWatched").toBool())
        return;
    control->setProperty("colorWatched", true);
    control->installEventFilter(this);
}

bool Color_State::eventFilter(QObject* watched, QEvent* event) {
    if (form_gone)
        return false;
    const QEvent::Type type = event->type();
    if (type == QEvent::Enter || type == QEvent::Leave) {
        const bool enter = type == QEvent::Enter;
        if (qobject_cast<QCheckBox*>(watched))
            enter ? form_.fb_Chk_Enter(watched) : form_.fb_Chk_Leave(watched);
        else if (qobject_cast<TSGX*>(watched))
            enter ? form_.fb_Grid_Enter(watched) : form_.fb_Grid_Leave(watched);
    } else if (type == QEvent::MouseButtonRelease) {
        auto* edit = qobject_cast<QLineEdit*>(watched);
        auto* me = static_cast<QMouseEvent*>(event);
        if (edit && me->button() == Qt::LeftButton && edit->rect().contains(me->pos())) {
            form_.fb_EDIT_ColorClick(edit);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

Color_Batch::Color_Batch(TFormBase& form) : form_(form) {
    ++form_.color_state().batch_depth;
}

Color_Batch::~Color_Batch() {
    Color_State& s = form_.color_state();
    if (--s.batch_depth == 0 && s.pending) {
        s.pending = false;
        form_.fb_btn_do_PPClick();
    }
}

// ---------------------------------------------------------------------------------------------
// Hover handlers

void TFormBase::fb_Btn_Enter(QObject* sender) {
    fb_Play_Sound("eB");
    if (auto* b = qobject_cast<SpeedButton*>(sender))
        b->setTransparent(!fb_chk_10->isChecked());
}

void TFormBase::fb_Btn_Leave(QObject* sender) {
    if (auto* b = qobject_cast<SpeedButton*>(sender))
        b->setTransparent(fb_chk_10->isChecked());
    fb_Play_Sound("lB");
}

void TFormBase::fb_Chk_Enter(QObject* sender) {
    fb_Play_Sound("eC");
    if (auto* c = qobject_cast<QCheckBox*>(sender); c && c->property("swColor").isValid())
        Paint_Switch(*c, true);
}

void TFormBase::fb_Chk_Leave(QObject* sender) {
    if (auto* c = qobject_cast<QCheckBox*>(sender); c && c->property("swColor").isValid())
        Paint_Switch(*c, false);
    fb_Play_Sound("lC");
}

void TFormBase::fb_Grid_Enter(QObject*) {
    fb_Play_Sound("eS");
}

void TFormBase::fb_Grid_Leave(QObject*) {
    fb_Play_Sound("lS");
}

} // namespace parvex

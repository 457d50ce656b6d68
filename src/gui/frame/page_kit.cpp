#include "frame/page_kit.h"

#include "platform/color_edit.h"
#include "widgets/gradient_panel.h"
#include "widgets/sgx.h"
#include "widgets/shadow_label.h"
#include "widgets/speed_button.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QWidget>

namespace parvex::kit {

QWidget* Page(const char* name) {
    auto* w = new QWidget;
    w->setObjectName(name);
    return w;
}

QWidget* Heading(const char* name, const QString& text, QWidget** label_out) {
    auto* bar = new GradientPanel;
    bar->setGradientColors(QColor(0xC0, 0xC0, 0xC0), QColor(0xFF, 0xEC, 0xEC), Qt::white);
    bar->setShadeCenter(25);
    bar->setHorizontal(true);
    bar->setFixedHeight(30);
    auto* label = new ShadowLabel(text);
    label->setObjectName(name);
    label->setProperty("tag", 1);
    QFont f = label->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.35);
    label->setFont(f);
    label->setFontColor(QColor(0xFF, 0x75, 0x33));
    label->setShadowColor(QColor(0x80, 0x80, 0x00));
    auto* lay = new QHBoxLayout(bar);
    lay->setContentsMargins(6, 0, 6, 0);
    lay->addWidget(label);
    lay->addStretch();
    if (label_out)
        *label_out = label;
    return bar;
}

QGroupBox* Group(const char* name, const QString& title) {
    auto* g = new QGroupBox(title);
    if (name)
        g->setObjectName(name);
    QFont f = g->font();
    f.setBold(true);
    g->setFont(f);
    return g;
}

QLineEdit* Color_Edit(const char* name, const QString& color_name) {
    auto* e = new QLineEdit;
    e->setObjectName(name);
    e->setReadOnly(true);
    e->setAlignment(Qt::AlignCenter);
    e->setFixedWidth(100);
    e->setCursor(Qt::PointingHandCursor);
    (void)Set_Edit_Color(*e, color_name);
    QFont f = e->font();
    f.setBold(false);
    e->setFont(f);
    return e;
}

QCheckBox* Switch(const char* name, const QString& caption, bool checked) {
    auto* c = new QCheckBox(caption);
    c->setObjectName(name);
    c->setChecked(checked);
    QFont f = c->font();
    f.setBold(false);
    c->setFont(f);
    return c;
}

QSpinBox* Spin(const char* name, int min, int max, int value, int digits, int step) {
    auto* s = new QSpinBox;
    s->setObjectName(name);
    s->setRange(min, max);
    s->setValue(value);
    s->setSingleStep(step);
    s->setAlignment(Qt::AlignRight);
    s->setFixedWidth(40 + digits * 9);
    QFont f = s->font();
    f.setBold(false);
    s->setFont(f);
    return s;
}

SpeedButton* Button(const char* name, const QString& caption) {
    auto* b = new SpeedButton(caption);
    b->setObjectName(name);
    return b;
}

QLabel* Label(const QString& text, const char* name) {
    auto* l = new QLabel(text);
    if (name)
        l->setObjectName(name);
    l->setProperty("tag", 8); // plain label style of the colour scheme
    QFont f = l->font();
    f.setBold(false);
    l->setFont(f);
    return l;
}

QLabel* Note(const QString& text, const char* name) {
    QLabel* l = Label(text, name);
    l->setProperty("tag", 2); // hint style
    l->setWordWrap(true);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, QColor(0x40, 0x40, 0x40));
    l->setPalette(p);
    QFont f = l->font();
    f.setItalic(true);
    l->setFont(f);
    return l;
}

TSGX* Grid(const char* name) {
    auto* g = new TSGX;
    g->setObjectName(name);
    return g;
}

} // namespace parvex::kit

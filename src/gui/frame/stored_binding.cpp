#include "frame/stored_binding.h"

#include "platform/color_edit.h"
#include "tables/color_names.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTabWidget>

namespace parvex {

namespace {

QObject* component(const QObject& root, std::string_view name) {
    const QString n = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    if (root.objectName() == n)
        return const_cast<QObject*>(&root);
    return root.findChild<QObject*>(n);
}

std::optional<int> to_int(const QString& text) {
    bool ok = false;
    int v = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(v) : std::nullopt;
}

} // namespace

std::optional<QString> Read_Stored(const QObject& root, const Stored_Property& p) {
    QObject* c = component(root, p.component);
    if (!c)
        return std::nullopt;
    const std::string_view prop = p.property;
    if (prop == "Text") {
        if (auto* e = qobject_cast<QLineEdit*>(c))
            return e->text();
        if (auto* cb = qobject_cast<QComboBox*>(c))
            return cb->currentText();
    } else if (prop == "Color") {
        if (auto* e = qobject_cast<QLineEdit*>(c))
            return QString::fromStdString(Color_To_Name(Edit_Color(*e)));
    } else if (prop == "Caption") {
        if (auto* l = qobject_cast<QLabel*>(c))
            return l->text();
        if (auto* b = qobject_cast<QAbstractButton*>(c))
            return b->text();
    } else if (prop == "Checked") {
        if (auto* b = qobject_cast<QAbstractButton*>(c))
            return QString::fromLatin1(b->isChecked() ? "True" : "False");
    } else if (prop == "Value" || prop == "ItemIndex") {
        if (auto* s = qobject_cast<QSpinBox*>(c))
            return QString::number(s->value());
        if (auto* s = qobject_cast<QAbstractSlider*>(c))
            return QString::number(s->value());
        if (auto* cb = qobject_cast<QComboBox*>(c))
            return QString::number(cb->currentIndex());
        QVariant v = c->property(prop == "Value" ? "value" : "itemIndex");
        if (v.isValid())
            return QString::number(v.toInt());
    } else if (prop == "ActivePage") {
        if (auto* pc = qobject_cast<QTabWidget*>(c))
            return pc->currentWidget() ? pc->currentWidget()->objectName() : QString();
    } else if (prop == "Width") {
        if (auto* w = qobject_cast<QWidget*>(c))
            return QString::number(w->width());
    }
    return std::nullopt;
}

bool Write_Stored(QObject& root, const Stored_Property& p, const QString& value) {
    QObject* c = component(root, p.component);
    if (!c)
        return false;
    const std::string_view prop = p.property;
    if (prop == "Text") {
        if (auto* e = qobject_cast<QLineEdit*>(c)) {
            e->setText(value);
            return true;
        }
        if (auto* cb = qobject_cast<QComboBox*>(c)) {
            cb->setCurrentText(value);
            return true;
        }
    } else if (prop == "Color") {
        auto* e = qobject_cast<QLineEdit*>(c);
        std::optional<std::uint32_t> color = Name_To_Color(value.trimmed().toStdString());
        if (!e || !color)
            return false;
        // The colour and the text are stored apart; setting one must not rewrite the other.
        const QString text = e->text();
        Set_Edit_Color_Value(*e, *color);
        e->setText(text);
        return true;
    } else if (prop == "Caption") {
        if (auto* l = qobject_cast<QLabel*>(c)) {
            l->setText(value);
            return true;
        }
        if (auto* b = qobject_cast<QAbstractButton*>(c)) {
            b->setText(value);
            return true;
        }
    } else if (prop == "Checked") {
        auto* b = qobject_cast<QAbstractButton*>(c);
        if (!b || (value != "True" && value != "False"))
            return false;
        b->setChecked(value == "True");
        return true;
    } else if (prop == "Value" || prop == "ItemIndex") {
        std::optional<int> v = to_int(value);
        if (!v)
            return false;
        if (auto* s = qobject_cast<QSpinBox*>(c)) {
            s->setValue(*v);
            return true;
        }
        if (auto* s = qobject_cast<QAbstractSlider*>(c)) {
            s->setValue(*v);
            return true;
        }
        if (auto* cb = qobject_cast<QComboBox*>(c)) {
            cb->setCurrentIndex(*v);
            return true;
        }
        return c->setProperty(prop == "Value" ? "value" : "itemIndex", *v);
    } else if (prop == "ActivePage") {
        auto* pc = qobject_cast<QTabWidget*>(c);
        if (!pc)
            return false;
        for (int i = 0; i < pc->count(); ++i)
            if (pc->widget(i)->objectName() == value) {
                pc->setCurrentIndex(i);
                return true;
            }
        return false;
    } else if (prop == "Width") {
        std::optional<int> v = to_int(value);
        auto* w = qobject_cast<QWidget*>(c);
        if (!w || !v || *v < 0)
            return false;
        w->resize(*v, w->height());
        return true;
    }
    return false;
}

} // namespace parvex

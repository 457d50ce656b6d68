#include "language/lang_properties.h"

#include "frame/directory_edit.h"
#include "widgets/gradient_caption.h"
#include "widgets/gradient_panel.h"
#include "widgets/speed_button.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QVariant>

namespace parvex {

namespace {

// The page control that shows `w` as one of its pages.
QTabWidget* tab_owner(const QWidget* w) {
    if (!w || !w->parentWidget())
        return nullptr;
    auto* pc = qobject_cast<QTabWidget*>(w->parentWidget()->parentWidget());
    return pc && pc->indexOf(const_cast<QWidget*>(w)) >= 0 ? pc : nullptr;
}

// A string property of the object by its Qt name (declared or dynamic).
std::optional<QString> string_property(const QObject* object, const char* name) {
    const QVariant v = object->property(name);
    if (!v.isValid() || v.typeId() != QMetaType::QString)
        return std::nullopt;
    return v.toString();
}

const char* dialog_text_property(const QObject* object) {
    if (string_property(object, "dialogText"))
        return "dialogText";
    if (string_property(object, "filter"))
        return "filter";
    return nullptr;
}

// A tool tip is shown as rich text when it looks like mark-up; such a text is escaped.
QString literal_tool_tip(const QString& text) {
    if (!Qt::mightBeRichText(text))
        return text;
    return QStringLiteral("<p style='white-space:pre-wrap'>") + text.toHtmlEscaped() +
           QStringLiteral("</p>");
}

} // namespace

std::optional<QString> Read_Lang_Property(const QObject* object, std::string_view property) {
    if (!object)
        return std::nullopt;
    const auto* w = qobject_cast<const QWidget*>(object);
    if (property == "Caption") {
        if (!w || qobject_cast<const GradientCaption*>(w))
            return std::nullopt;
        if (QTabWidget* pc = tab_owner(w))
            return pc->tabText(pc->indexOf(const_cast<QWidget*>(w)));
        if (auto* l = qobject_cast<const QLabel*>(w))
            return l->text();
        if (auto* b = qobject_cast<const QAbstractButton*>(w))
            return b->text();
        if (auto* g = qobject_cast<const QGroupBox*>(w))
            return g->title();
        return std::nullopt;
    }
    if (property == "Hint") {
        if (auto* action = qobject_cast<const QAction*>(object))
            return action->toolTip();
        return w ? std::optional<QString>(w->toolTip()) : std::nullopt;
    }
    if (property == "TextHint") {
        if (auto* e = qobject_cast<const QLineEdit*>(object))
            return e->placeholderText();
        if (auto* e = qobject_cast<const QPlainTextEdit*>(object))
            return e->placeholderText();
        return std::nullopt;
    }
    if (property == "DialogTitle") {
        if (auto* d = qobject_cast<const DirectoryEdit*>(object))
            return d->dialogTitle();
        return string_property(object, "dialogTitle");
    }
    if (property == "DialogText") {
        if (const char* name = dialog_text_property(object))
            return string_property(object, name);
        return std::nullopt;
    }
    return std::nullopt;
}

bool Write_Lang_Property(QObject* object, std::string_view property, const QString& text) {
    if (!Read_Lang_Property(object, property))
        return false;
    auto* w = qobject_cast<QWidget*>(object);
    if (property == "Caption") {
        if (QTabWidget* pc = tab_owner(w)) {
            pc->setTabText(pc->indexOf(w), text);
        } else if (auto* l = qobject_cast<QLabel*>(w)) {
            l->setTextFormat(Qt::PlainText);
            l->setText(text);
        } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            b->setText(text);
            // A button's text decides its Alt key; a speed button keeps the one it has until
            // the letters are chosen anew for the new captions.
            if (auto* speed = qobject_cast<SpeedButton*>(b))
                speed->useMnemonic(speed->mnemonic());
        } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
            g->setTitle(text);
        }
        return true;
    }
    if (property == "Hint") {
        if (auto* action = qobject_cast<QAction*>(object))
            action->setToolTip(literal_tool_tip(text));
        else
            w->setToolTip(literal_tool_tip(text));
        return true;
    }
    if (property == "TextHint") {
        if (auto* e = qobject_cast<QLineEdit*>(object))
            e->setPlaceholderText(text);
        else if (auto* e = qobject_cast<QPlainTextEdit*>(object))
            e->setPlaceholderText(text);
        return true;
    }
    if (property == "DialogTitle") {
        if (auto* d = qobject_cast<DirectoryEdit*>(object))
            d->setDialogTitle(text);
        else
            object->setProperty("dialogTitle", text);
        return true;
    }
    if (property == "DialogText") {
        object->setProperty(dialog_text_property(object), text);
        return true;
    }
    return false;
}

} // namespace parvex

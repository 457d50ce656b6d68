#include "language/lang_component.h"

#include "language/lang_codec.h"
#include "language/lang_properties.h"
#include "language/mnemonics.h"
#include "tables/subs.h"
#include "widgets/gradient_panel.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QSet>
#include <QTabBar>
#include <QVariant>
#include <QWidget>

#include <algorithm>

namespace parvex {

namespace {

std::string to_bytes(const QString& s) {
    return s.toUtf8().toStdString();
}

QString from_bytes(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// The property's own spelling ("caption" names "Caption"), or "" when it is none of the four.
std::string_view canonical_property(std::string_view name) {
    for (std::string_view p : Lang_Properties)
        if (p.size() == name.size() && Upper_Ascii(p) == Upper_Ascii(name))
            return p;
    return {};
}

bool qt_internal_name(const QString& name) {
    return name.startsWith(QLatin1String("qt_")) || name.startsWith(QLatin1String("_q_"));
}

// Qt's own helper objects carry a "qt_" name (the line edit inside a spin box) or lie inside a
// composite Qt widget (a tab bar's scroll buttons, a combo box's list, a grid's header). The
// containers Qt puts around pages and scroll areas hold real components and do not count.
bool inside_qt_helper(const QObject* object, const QObject* window) {
    if (qt_internal_name(object->objectName()))
        return true;
    // A window of its own kept as a child (the colour chooser) is Qt's dialog, not a component.
    for (const QObject* o = object; o && o != window; o = o->parent())
        if (o->isWidgetType() && static_cast<const QWidget*>(o)->isWindow())
            return true;
    // A field's own button (a folder field's "Browse ...") is a named action of the field: its
    // tip is ours to translate; Qt's own actions of a field carry Qt's names.
    const bool field_action =
        qobject_cast<const QAction*>(object) && qobject_cast<const QLineEdit*>(object->parent());
    for (const QObject* o = object->parent(); o && o != window; o = o->parent())
        if (field_action && o == object->parent())
            continue;
        else if (qobject_cast<const QTabBar*>(o) || qobject_cast<const QAbstractSpinBox*>(o) ||
                 qobject_cast<const QComboBox*>(o) || qobject_cast<const QLineEdit*>(o) ||
                 qobject_cast<const QAbstractItemView*>(o) || qobject_cast<const QScrollBar*>(o))
            return true;
    return false;
}

bool is_component(const QObject* object, const QObject* window) {
    return !object->objectName().isEmpty() && !inside_qt_helper(object, window);
}

// The name a caption without a component name gets: a kind prefix and the caption's words.
QString derived_name(const QObject* object, const QString& caption) {
    QString prefix = QStringLiteral("lab_");
    if (qobject_cast<const QRadioButton*>(object))
        prefix = QStringLiteral("rb_");
    else if (qobject_cast<const QCheckBox*>(object))
        prefix = QStringLiteral("chk_");
    else if (qobject_cast<const QAbstractButton*>(object))
        prefix = QStringLiteral("btn_");
    else if (qobject_cast<const QGroupBox*>(object))
        prefix = QStringLiteral("GB_");
    // The caption's words (ASCII letters and digits), whole words up to 32 characters.
    QStringList parts;
    QString word;
    for (QChar c : caption + QLatin1Char(' ')) {
        if (c.unicode() < 128 && c.isLetterOrNumber()) {
            word += c;
        } else if (!word.isEmpty()) {
            parts << word;
            word.clear();
        }
    }
    QString words;
    for (const QString& part : parts) {
        if (!words.isEmpty() && words.size() + 1 + part.size() > 32)
            break;
        words += (words.isEmpty() ? QString() : QStringLiteral("_")) + part;
    }
    return prefix + words;
}

// Captions that have no component name get one, so a language file can reach every caption.
// Texts without a letter (a number, "25 %") are values the program shows and stay unnamed.
void name_captions(QWidget* window) {
    QSet<QString> taken;
    for (QObject* o : window->findChildren<QObject*>())
        if (!o->objectName().isEmpty())
            taken.insert(o->objectName().toLower());
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->objectName().isEmpty() || inside_qt_helper(w, window))
            continue;
        if (!qobject_cast<QLabel*>(w) && !qobject_cast<QAbstractButton*>(w) &&
            !qobject_cast<QGroupBox*>(w))
            continue;
        const std::optional<QString> caption = Read_Lang_Property(w, "Caption");
        if (!caption ||
            std::none_of(caption->begin(), caption->end(), [](QChar c) { return c.isLetter(); }))
            continue;
        const QString base = derived_name(w, *caption);
        QString name = base;
        for (int n = 2; taken.contains(name.toLower()); ++n)
            name = base + QLatin1Char('_') + QString::number(n);
        taken.insert(name.toLower());
        w->setObjectName(name);
    }
}

} // namespace

long long Component_Tag(const QObject* object) {
    return object ? object->property("tag").toLongLong() : 0;
}

TjanLanguage::TjanLanguage(QWidget* window) : window_(window) {
    if (!window)
        return;
    name_captions(window);
    for (QObject* object : window->findChildren<QObject*>()) {
        if (!is_component(object, window))
            continue;
        Component c;
        c.object = object;
        for (std::size_t i = 0; i < Lang_Properties.size(); ++i)
            c.texts[i] = Read_Lang_Property(object, Lang_Properties[i]);
        components_.push_back(std::move(c));
    }
}

std::vector<Lang_Entry> TjanLanguage::Walk_Entries() const {
    std::vector<Lang_Entry> entries;
    if (!window_)
        return entries;
    const std::string window_name = to_bytes(window_->objectName());
    for (const Component& c : components_) {
        if (!c.object || qobject_cast<const GradientPanel*>(c.object.data()))
            continue;
        const std::string name = to_bytes(c.object->objectName());
        if (!Lang_Component_Name_Ok(name))
            continue;
        for (std::size_t i = 0; i < Lang_Properties.size(); ++i) {
            if (!c.texts[i])
                continue;
            const std::string_view property = Lang_Properties[i];
            const std::string value = Encode_Lang_Value(to_bytes(*c.texts[i]));
            if (Lang_Protected(Component_Tag(c.object), name) || Lang_Text_Skipped(property, value))
                continue;
            entries.push_back({Make_Lang_Key(window_name, name, property), value});
        }
    }
    return entries;
}

FileResult TjanLanguage::Write_Language_File(const std::string& file) const {
    if (FileResult r = Delete_File(file); !r)
        return r;
    return Write_Translations(file, Walk_Entries());
}

QObject* TjanLanguage::Find_Component(const QString& name) const {
    for (const Component& c : components_)
        if (c.object && c.object->objectName().compare(name, Qt::CaseInsensitive) == 0)
            return c.object;
    return nullptr;
}

std::optional<QString> TjanLanguage::Builtin_Text(const QObject* component,
                                                  std::string_view property) const {
    for (const Component& c : components_)
        if (c.object == component)
            for (std::size_t i = 0; i < Lang_Properties.size(); ++i)
                if (Lang_Properties[i] == property)
                    return c.texts[i];
    return std::nullopt;
}

FileResult TjanLanguage::LoadLanguage(const std::string& file) {
    std::vector<Lang_Entry> entries;
    if (FileResult r = Read_Translations(file, entries); !r)
        return r;
    if (!window_)
        return FileResult::success();
    const std::string window_name = to_bytes(window_->objectName());
    // Names are looked up once each: a language file has an entry per text of the window.
    QHash<QString, QObject*> by_name;
    for (const Component& c : components_)
        if (c.object) {
            const QString key = c.object->objectName().toUpper();
            if (!by_name.contains(key))
                by_name.insert(key, c.object);
        }
    for (const Lang_Entry& e : entries) {
        const Lang_Key key = Split_Lang_Key(e.key);
        if (key.window != window_name ||
            key.component.find(Lang_Exclusion_Marker) != std::string::npos)
            continue;
        QObject* object = by_name.value(from_bytes(key.component).toUpper(), nullptr);
        if (!object || Lang_Protected(Component_Tag(object), key.component))
            continue;
        const std::string_view property = canonical_property(key.property);
        if (property.empty())
            continue;
        (void)Write_Lang_Property(object, property, from_bytes(Decode_Lang_Value(e.value)));
    }
    Assign_Mnemonics(window_);
    return FileResult::success();
}

} // namespace parvex

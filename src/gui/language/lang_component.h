#pragma once
// The language component of a window: the walk that writes the built-in language file from
// the texts the window was built with, and LoadLanguage, which applies a language file.

#include "language/lang_codec.h"
#include "language/lang_file.h"

#include <QPointer>
#include <QString>

#include <array>
#include <optional>
#include <string>
#include <vector>

class QObject;
class QWidget;

namespace parvex {

class TjanLanguage {
public:
    // Takes the window's components as they are now (its named objects, Qt's own "qt_…"
    // helpers left out) with their texts: the built-in texts every later walk writes, even
    // after another language was applied. A label, button or group box that shows a caption
    // but has no name is named first after its kind and caption ("Numbers" becomes
    // "lab_Numbers"), so that every caption has a key.
    explicit TjanLanguage(QWidget* window);

    QWidget* window() const { return window_; }

    // The entries of "[Translations]", in the window's component order: gradient panels, tag
    // bit 15, "_EX_" names, empty texts and "-" captions left out.
    std::vector<Lang_Entry> Walk_Entries() const;
    // A new file holding those entries (any old file is replaced).
    [[nodiscard]] FileResult Write_Language_File(const std::string& file) const;

    // Applies the "[Translations]" entries of the file that name this window; entries naming
    // other windows, missing or protected components, or properties a component lacks are
    // skipped. A missing file applies nothing.
    [[nodiscard]] FileResult LoadLanguage(const std::string& file);

    // The component of that name (letter case ignored), or nullptr.
    QObject* Find_Component(const QString& name) const;

    // The built-in text of one property of a component, as taken at construction.
    std::optional<QString> Builtin_Text(const QObject* component, std::string_view property) const;

private:
    struct Component {
        QPointer<QObject> object;
        std::array<std::optional<QString>, Lang_Properties.size()> texts; // by Lang_Properties
    };
    QPointer<QWidget> window_;
    std::vector<Component> components_;
};

// The tag property of an object (0 when it has none).
long long Component_Tag(const QObject* object);

} // namespace parvex

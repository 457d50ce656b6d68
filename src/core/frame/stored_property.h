#pragma once
// One persisted window property: which component and property it is, its key in the settings
// file and the text it has before any settings file exists.

#include <climits>
#include <string_view>

namespace parvex {

// What a stored text must look like for the window to use it; anything else counts as damage.
enum class Setting_Kind {
    Text,    // any text (edit texts, captions, file and folder names)
    Color,   // a colour name or "$00BBGGRR"; checked by the colour scheme, not here
    Number,  // a decimal integer within [min_value, max_value]
    Boolean, // "True" or "False"
    Page,    // the component name of a page
};

struct Stored_Property {
    std::string_view component;
    std::string_view property;
    std::string_view key; // component + "_" + property
    std::string_view default_value;
    Setting_Kind kind = Setting_Kind::Text;
    int min_value = INT_MIN;
    int max_value = INT_MAX;
};

constexpr bool Key_Matches(const Stored_Property& p) {
    return p.key.size() == p.component.size() + 1 + p.property.size() &&
           p.key.substr(0, p.component.size()) == p.component && p.key[p.component.size()] == '_' &&
           p.key.substr(p.component.size() + 1) == p.property;
}

template <typename Table> constexpr bool All_Keys_Match(const Table& table) {
    for (const auto& p : table)
        if (!Key_Matches(p))
            return false;
    return true;
}

} // namespace parvex

#pragma once
// The language-file codec: names and paths of language files, the encoding of texts as values,
// the keys window.component.property, and the rules that keep a component out of every language.

#include <array>
#include <string>
#include <string_view>

namespace parvex {

inline constexpr std::string_view Builtin_Lang_Name = "Language"; // gives "Language.Lng"
inline constexpr std::string_view Lang_File_Ext = ".Lng";
inline constexpr std::string_view Translations_Section = "Translations";
inline constexpr std::string_view Version_Section = "Version-INFO";
inline constexpr std::string_view Reference_Lang_Code = "$0409";
inline constexpr std::string_view Reference_Lang_File = "US_English.Lng";
inline constexpr std::string_view No_Language = "?"; // no language chosen yet
inline constexpr std::string_view Lang_Exclusion_Marker = "_EX_";
inline constexpr unsigned Lang_Protect_Tag = 32768; // bit 15: never written nor changed

// The translated properties, in the order the walk writes them ("TextHint": the grey text an
// empty field shows).
inline constexpr std::array<std::string_view, 5> Lang_Properties{"Caption", "Hint", "DialogTitle",
                                                                 "DialogText", "TextHint"};

// Text to value: every line break (CR LF, LF or a lone CR) becomes "~~", then every " " "_".
std::string Encode_Lang_Value(std::string_view text);
// Value to text: every "~~" becomes a line break (LF), then every "_" a " ".
std::string Decode_Lang_Value(std::string_view value);

// A language name may name a file in the language folder only: empty names, names with "/",
// "\" or "..", and names starting with "." are refused.
bool Lang_Name_Ok(std::string_view language);
// "US English" gives "US_English.Lng".
std::string Lang_File_Name(std::string_view language);
// The language folder + the file name; an existing file whose name differs only in letter case
// is taken instead. lang_dir ends with "/".
std::string Lang_File_Path(std::string_view lang_dir, std::string_view language);

struct Lang_Key {
    std::string window;
    std::string component;
    std::string property;
};
// Split at the first "." (window) and the next "." (component); the rest is the property.
Lang_Key Split_Lang_Key(std::string_view key);
std::string Make_Lang_Key(std::string_view window, std::string_view component,
                          std::string_view property);

// Whether a component name can be part of a key: a "." would split the key in the wrong place,
// and "=", line breaks or outer blanks would not read back.
bool Lang_Component_Name_Ok(std::string_view name);

// A component whose tag has bit 15 set or whose name holds "_EX_" keeps its texts.
bool Lang_Protected(long long tag, std::string_view component_name);
// Texts the walk does not write: empty ones, and a caption "-" (a menu separator).
bool Lang_Text_Skipped(std::string_view property, std::string_view text);

} // namespace parvex

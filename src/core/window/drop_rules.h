#pragma once
// What the main window does with a list of dropped files: only the first name counts, and only
// a Pascal source (".PAS" in any letter case) is taken; the texts of the two answers.

#include <string>
#include <string_view>
#include <vector>

namespace parvex {

inline constexpr std::string_view Drop_Title = "DROP FILES";
inline constexpr std::string_view Drop_Refused_Text =
    "^C:Dropping Files works only\r\nwith \".PAS\" Fileextensions";
inline constexpr std::string_view Drop_Accepted_Text = "^C:File accepted";

// The extension of a file name with its dot (".pas" of "dir/Unit1.bak.pas"), or empty when the
// last part of the name has no dot.
std::string File_Ext(std::string_view file_name);

// True when the name's extension, upper-cased, is ".PAS".
bool Is_Pas_File(std::string_view file_name);

struct Drop_Choice {
    enum class Kind { Nothing, Refused, Accepted };
    Kind kind = Kind::Nothing;
    std::string file; // the first dropped name (also when it is refused)
};

// `Drop_Files_Handler`'s decision: nothing for an empty list, else the first name, accepted or
// refused by its extension; the names after the first are never looked at.
Drop_Choice Choose_Dropped_File(const std::vector<std::string>& files);

} // namespace parvex

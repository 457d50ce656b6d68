#pragma once
// The frame's folders under the program folder, the log and settings file names, and the data
// folder that the "GUI-Data Directory" edit may redirect.

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace parvex {

// Relative to the program folder, in the order they are created.
inline constexpr std::array<std::string_view, 8> Frame_Dir_Names{
    "GUI/", "GUI/Lang", "GUI/Snds", "GUI/Pics", "GUI/Data/", "GUI/Help", "Data/", "Dont/"};

// Creates each folder one level at a time; an existing folder is fine. A folder that cannot be
// created stops nothing (later file work in it fails and says so); its full name is returned.
std::vector<std::string> Create_Frame_Dirs(std::string_view program_dir);

std::string Log_File_Name(std::string_view program_dir);      // Data/Logfile.txt
std::string Sounds_Initial_Dir(std::string_view program_dir); // GUI/Snds

// `fb_Special_Dir`: the edit's text when it names an existing folder (with "/" added when it
// has none), else the default.
std::string Special_Dir(std::string_view default_dir, std::string_view dir_edit_text);
// The data folder: "GUI/Data/" under the program folder unless the edit redirects it.
std::string Frame_Data_Dir(std::string_view program_dir, std::string_view gdata_edit_text);

} // namespace parvex

#pragma once
// The frame's folders under the program folder, the log and settings file names, and the data
// folder that the "GUI-Data Directory" edit may redirect.

#include "platform/text_file.h"

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

// The files the program reads from the data folder: the frame tables that follow the folder and
// the four information pages (the to-do page is named after the program title).
std::vector<std::string> Data_Folder_Files(std::string_view program_title);

// Whether a folder the user names can stand in for a default folder: it exists and holds every
// one of `files` that the default folder holds (a file the program does not have itself is not
// asked for).
struct Folder_Check {
    bool exists = false;
    std::vector<std::string> missing; // names, in the order given
    bool usable() const { return exists && missing.empty(); }
};
Folder_Check Check_Special_Folder(std::string_view folder, std::string_view default_dir,
                                  const std::vector<std::string>& files);

// Copies the named files from one folder into another, each written whole through a temporary
// file; a file the target holds already is left as it is. Stops at the first failure.
[[nodiscard]] FileResult Copy_Folder_Files(std::string_view from_dir, std::string_view to_dir,
                                           const std::vector<std::string>& files);

} // namespace parvex

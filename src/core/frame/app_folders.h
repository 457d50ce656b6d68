#pragma once
// Where the program keeps what it writes: beside the executable (portable) or under the user's
// XDG folders (installed), and where the shipped installation data lies that seeds the user's
// copy. The frame's folder tree, the settings file, the token files and parvex-list's default
// personal file all ask this module; nothing else computes these folders.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace parvex {

struct App_Folders {
    bool installed = false;
    std::string program_dir; // the executable's folder, ending in "/"
    std::string data_home;   // base of Dont/, Data/ and GUI/, ending in "/"
    std::string config_dir;  // folder of the settings file, ending in "/"
    std::string shipped_dir; // installation data that seeds data_home ("" when portable)
};

// Reads an environment variable; std::nullopt when it is not set.
using Env_Lookup = std::function<std::optional<std::string>(std::string_view)>;
Env_Lookup Process_Env();

// Portable when the executable's folder is writable and is not an installed layout (a "bin/"
// folder with "../share/parvex/defaults/" beside it); installed otherwise. An installed layout is never
// written to, even by a user who may write there (root running /usr/bin/parvex).
App_Folders Decide_App_Folders(std::string_view exe_dir, const Env_Lookup& env);
App_Folders Decide_App_Folders(); // the running executable and the process environment

// The settings file of a program whose data lives under data_home: in the config folder when
// the folders decided at start put that data home there, else beside the data.
std::string Settings_File_Path(std::string_view data_home, std::string_view file_name);

// The folders decided at start by the program (none until Set_Current_App_Folders is called).
void Set_Current_App_Folders(const App_Folders& folders);
const App_Folders* Current_App_Folders();

// Creates the user's folders and copies every shipped file the user does not have yet; a file
// the user has is never overwritten. `problems` names what failed or is missing, one line each.
struct Seed_Report {
    std::vector<std::string> problems;
    int copied = 0;
    bool writable = true; // data_home and config_dir exist and accept files
};
Seed_Report Seed_User_Data(const App_Folders& folders);

// parvex-list's default personal token file: the user's copy, else the shipped one.
std::string Default_Personal_Tokens(const App_Folders& folders);

} // namespace parvex

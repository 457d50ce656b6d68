#include "frame/frame_dirs.h"

#include "platform/text_file.h"
#include "tables/subs.h"

#include <filesystem>
#include <system_error>

namespace parvex {

std::vector<std::string> Create_Frame_Dirs(std::string_view program_dir) {
    std::vector<std::string> failed;
    const std::string base = Add_Backslash(program_dir);
    for (std::string_view name : Frame_Dir_Names) {
        std::string dir = base + std::string(name);
        std::error_code ec;
        std::filesystem::create_directory(dir, ec); // one level only, as the tree is built
        if (!Dir_Exists(dir))
            failed.push_back(dir);
    }
    return failed;
}

std::string Log_File_Name(std::string_view program_dir) {
    return Data_Dir(program_dir) + "Logfile.txt";
}

std::string Sounds_Initial_Dir(std::string_view program_dir) {
    return Add_Backslash(program_dir) + "GUI/Snds";
}

std::string Special_Dir(std::string_view default_dir, std::string_view dir_edit_text) {
    if (!dir_edit_text.empty() && Dir_Exists(std::string(dir_edit_text)))
        return Add_Backslash(dir_edit_text);
    return std::string(default_dir);
}

std::string Frame_Data_Dir(std::string_view program_dir, std::string_view gdata_edit_text) {
    return Special_Dir(GUI_Data_Dir(program_dir), gdata_edit_text);
}

} // namespace parvex

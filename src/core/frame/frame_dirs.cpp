#include "frame/frame_dirs.h"

#include "frame/frame_tables.h"
#include "platform/text_file.h"
#include "tables/subs.h"

#include <algorithm>
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

std::vector<std::string> Data_Folder_Files(std::string_view program_title) {
    std::vector<std::string> files;
    for (const Frame_Table_Def& table : Frame_Tables)
        if (table.folder == Table_Folder::Data &&
            std::find(files.begin(), files.end(), table.file) == files.end())
            files.emplace_back(table.file);
    files.emplace_back("About.rtf");
    files.push_back(std::string(program_title) + "-ToDo.rtf");
    files.emplace_back("Credits_L.rtf");
    files.emplace_back("Credits_R.rtf");
    return files;
}

Folder_Check Check_Special_Folder(std::string_view folder, std::string_view default_dir,
                                  const std::vector<std::string>& files) {
    Folder_Check check;
    check.exists = !folder.empty() && Dir_Exists(std::string(folder));
    if (!check.exists)
        return check;
    const std::string dir = Add_Backslash(folder);
    const std::string reference = Add_Backslash(default_dir);
    for (const std::string& name : files)
        if (File_Exists(reference + name) && !File_Exists(dir + name))
            check.missing.push_back(name);
    return check;
}

FileResult Copy_Folder_Files(std::string_view from_dir, std::string_view to_dir,
                             const std::vector<std::string>& files) {
    const std::string from = Add_Backslash(from_dir);
    const std::string to = Add_Backslash(to_dir);
    for (const std::string& name : files) {
        if (File_Exists(to + name))
            continue;
        std::string bytes;
        if (FileResult r = Read_File(from + name, bytes); !r)
            return r;
        if (FileResult r = Write_File_Atomic(to + name, bytes); !r)
            return r;
    }
    return FileResult::success();
}

} // namespace parvex

#include "frame/app_folders.h"

#include "platform/text_file.h"
#include "tables/subs.h"

#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <system_error>
#include <unistd.h>

namespace parvex {

namespace fs = std::filesystem;

namespace {

const std::string_view Program_Folder = "parvex/";
// The list of shipped files, written by the installation beside them.
const std::string_view Shipped_List = "Files.lst";
// The installation data under a prefix. It has a folder of its own below share/parvex/ because
// a per-user install (prefix ~/.local) makes share/parvex/ the user's own data folder: a second
// install must never write over the user's copies there.
const std::string_view Shipped_Below_Prefix = "share/parvex/defaults";

bool Is_Dir(const std::string& dir) {
    std::error_code ec;
    return fs::is_directory(dir, ec);
}

bool Writable_Dir(const std::string& dir) {
    return Is_Dir(dir) && ::access(dir.c_str(), W_OK | X_OK) == 0;
}

// A bin/ folder with the installation data beside it: a program installed under a prefix.
bool Installed_Layout(const std::string& exe_dir) {
    fs::path dir = fs::path(exe_dir).parent_path(); // exe_dir ends in "/"
    return dir.filename() == "bin" && Is_Dir((dir.parent_path() / Shipped_Below_Prefix).string());
}

std::string Home_Dir(const Env_Lookup& env) {
    if (auto home = env("HOME"); home && !home->empty())
        return *home;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir)
        return pw->pw_dir;
    return "/tmp";
}

// An XDG base folder: the variable when it holds an absolute path, else the fallback under home.
std::string Xdg_Dir(const Env_Lookup& env, std::string_view var, std::string_view fallback) {
    if (auto value = env(var); value && !value->empty() && value->front() == '/')
        return Add_Backslash(*value);
    return Add_Backslash(Home_Dir(env)) + std::string(fallback);
}

std::string Relative_To(const fs::path& file, const fs::path& base) {
    return file.lexically_relative(base).generic_string();
}

// Copies one shipped file unless the user has it; the copy lands whole or not at all.
void Seed_File(const fs::path& from, const std::string& to, Seed_Report& report) {
    std::error_code ec;
    if (fs::exists(fs::symlink_status(to, ec)))
        return;
    if (FileResult made = Make_Dirs(fs::path(to).parent_path().string()); !made) {
        report.problems.push_back(made.error);
        return;
    }
    std::string bytes;
    if (FileResult read = Read_File(from.string(), bytes); !read) {
        report.problems.push_back(read.error);
        return;
    }
    if (FileResult wrote = Write_File_Atomic(to, bytes); !wrote) {
        report.problems.push_back(wrote.error);
        return;
    }
    ++report.copied;
}

} // namespace

Env_Lookup Process_Env() {
    return [](std::string_view name) -> std::optional<std::string> {
        const char* value = std::getenv(std::string(name).c_str());
        if (!value)
            return std::nullopt;
        return std::string(value);
    };
}

App_Folders Decide_App_Folders(std::string_view exe_dir, const Env_Lookup& env) {
    App_Folders f;
    f.program_dir = Add_Backslash(exe_dir);
    if (!Installed_Layout(f.program_dir) && Writable_Dir(f.program_dir)) {
        f.data_home = f.program_dir;
        f.config_dir = f.program_dir;
        return f;
    }
    f.installed = true;
    f.config_dir = Xdg_Dir(env, "XDG_CONFIG_HOME", ".config/") + std::string(Program_Folder);
    f.data_home = Xdg_Dir(env, "XDG_DATA_HOME", ".local/share/") + std::string(Program_Folder);
    const std::string share =
        (fs::path(f.program_dir).parent_path().parent_path() / Shipped_Below_Prefix).string() + "/";
    // A read-only copy of a build folder carries its data beside the programs.
    f.shipped_dir = Is_Dir(share) ? share : f.program_dir;
    return f;
}

App_Folders Decide_App_Folders() {
    return Decide_App_Folders(Exe_Dir(), Process_Env());
}

namespace {
std::optional<App_Folders>& Current() {
    static std::optional<App_Folders> current;
    return current;
}
} // namespace

void Set_Current_App_Folders(const App_Folders& folders) {
    Current() = folders;
}

const App_Folders* Current_App_Folders() {
    return Current() ? &*Current() : nullptr;
}

std::string Settings_File_Path(std::string_view data_home, std::string_view file_name) {
    const App_Folders* f = Current_App_Folders();
    if (f && f->installed && f->data_home == Add_Backslash(data_home))
        return f->config_dir + std::string(file_name);
    return Add_Backslash(data_home) + std::string(file_name);
}

Seed_Report Seed_User_Data(const App_Folders& folders) {
    Seed_Report report;
    if (!folders.installed)
        return report;
    for (const std::string& dir : {folders.data_home, folders.config_dir}) {
        if (FileResult made = Make_Dirs(dir); !made)
            report.problems.push_back(made.error);
        if (!Writable_Dir(dir)) {
            report.writable = false;
            report.problems.push_back("The folder \"" + dir + "\" cannot be written.");
        }
    }
    if (!report.writable)
        return report;
    if (!Is_Dir(folders.shipped_dir)) {
        report.problems.push_back("The installation data folder \"" + folders.shipped_dir +
                                  "\" is missing.");
        return report;
    }
    const fs::path base(folders.shipped_dir);
    std::error_code ec;
    // Only the data folders are installation data; Data/ holds a user's work and log.
    for (const fs::directory_entry& top : fs::directory_iterator(base, ec)) {
        if (!top.is_directory(ec) || top.path().filename() == "Data")
            continue;
        fs::recursive_directory_iterator it(top.path(), ec), end;
        for (; !ec && it != end; it.increment(ec)) {
            if (it->is_regular_file(ec))
                Seed_File(it->path(), folders.data_home + Relative_To(it->path(), base), report);
        }
    }
    // The installation names every file it shipped: one that is gone is reported by name.
    TextList shipped;
    if (Load_Lines(folders.shipped_dir + std::string(Shipped_List), shipped)) {
        for (const std::string& line : shipped) {
            const std::string name = Trim(line);
            if (name.empty() || name.find("..") != std::string::npos)
                continue;
            if (!File_Exists(folders.shipped_dir + name) && !File_Exists(folders.data_home + name))
                report.problems.push_back("The installed file \"" + folders.shipped_dir + name +
                                          "\" is missing.");
        }
    }
    return report;
}

std::string Default_Personal_Tokens(const App_Folders& folders) {
    const std::string name = "Dont/Tokens-Personal.dat";
    const std::string own = folders.data_home + name;
    if (!folders.installed || File_Exists(own))
        return own;
    return folders.shipped_dir + name;
}

} // namespace parvex

#include "engine/result_names.h"

#include "tables/subs.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <filesystem>
#include <sys/stat.h>

namespace parvex {

const std::array<const char*, 7> Extension_Captions = {
    "Newly written PAS-File",         "Saved Original",
    "create List of Alpha-Constants", "create List of Numeric-Constants",
    "create Alpha-Cross Reference",   "create Numeric-Cross-Reference",
    "create Token-Cross-Reference"};

namespace {

constexpr std::string_view kDefaultTextExtension = "pas";

std::string file_part(const std::string& name) {
    return name.substr(name.rfind('/') + 1);
}

bool is_source_extension(const std::string& ext) {
    const std::string e = Lower_Ascii(ext);
    return e == "pas" || e == "pp" || e == "dpr" || e == "lpr" || e == "inc";
}

std::string quoted(const std::string& s) {
    return "\"" + s + "\"";
}

std::string field_name(std::size_t k) {
    return quoted(Extension_Captions[k]);
}

} // namespace

ResultNames Result_Names(const std::string& source_file, const std::string& folder,
                         const SaveOptions& options) {
    const std::string whole = file_part(source_file);
    const auto dot = whole.rfind('.');
    const std::string ext = dot == std::string::npos ? std::string() : whole.substr(dot + 1);
    const auto& x = options.extensions;
    ResultNames names;
    if (ext == x[0] || x[0] != kDefaultTextExtension) {
        const std::string base = dot == std::string::npos ? whole : whole.substr(0, dot);
        for (std::size_t k = 0; k < x.size(); ++k)
            names.files[k] = folder + base + "." + x[k];
        return names;
    }
    // The whole name stays; the results hang their names on it with a "-". The backup's
    // extension loses the text extension it starts with ("pas-SAVED" gives "u.inc-SAVED").
    std::string saved = x[1];
    if (saved.starts_with(x[0] + "-"))
        saved = saved.substr(x[0].size() + 1);
    names.files[0] = folder + whole;
    names.files[1] = folder + whole + "-" + saved;
    for (std::size_t k = 2; k < x.size(); ++k)
        names.files[k] = folder + whole + "-" + x[k];
    return names;
}

namespace {

// The number of a numbered backup's file name ("a.pas-SAVED.~12~" of "a.pas-SAVED": 12), or 0.
unsigned long backup_number(std::string_view name, std::string_view simple) {
    if (name.size() < simple.size() + 4 || !name.starts_with(simple) ||
        name.substr(simple.size(), 2) != ".~" || !name.ends_with('~'))
        return 0;
    const std::string_view digits = name.substr(simple.size() + 2, name.size() - simple.size() - 3);
    unsigned long n = 0;
    for (char c : digits) {
        if (c < '0' || c > '9' || n > 100000000)
            return 0;
        n = n * 10 + static_cast<unsigned long>(c - '0');
    }
    return n;
}

// The highest number among the numbered backups of `simple_backup`; 0 when there is none.
unsigned long highest_backup_number(const std::string& simple_backup) {
    const std::string folder = simple_backup.substr(0, simple_backup.rfind('/') + 1);
    const std::string simple = file_part(simple_backup);
    DIR* d = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!d)
        return 0;
    unsigned long highest = 0;
    while (const dirent* e = ::readdir(d))
        highest = std::max(highest, backup_number(e->d_name, simple));
    ::closedir(d);
    return highest;
}

} // namespace

std::string Backup_Name(const std::string& simple_backup, BackupMode mode) {
    if (mode == BackupMode::None)
        return {};
    if (mode == BackupMode::Simple)
        return simple_backup;
    const unsigned long highest = highest_backup_number(simple_backup);
    if (mode == BackupMode::Existing && highest == 0)
        return simple_backup;
    return simple_backup + ".~" + std::to_string(highest + 1) + "~";
}

bool Is_Backup_Of(const std::string& name, const std::string& simple_backup) {
    if (Same_File(name, simple_backup))
        return true;
    const auto slash = name.rfind('/');
    const std::string folder = name.substr(0, slash + 1);
    const std::string simple_folder = simple_backup.substr(0, simple_backup.rfind('/') + 1);
    return backup_number(file_part(name), file_part(simple_backup)) > 0 &&
           Same_File(folder.empty() ? "." : folder, simple_folder.empty() ? "." : simple_folder);
}

ExtensionProblem Extensions_Problem(const SaveOptions& options) {
    const auto& x = options.extensions;
    auto problem = [](std::size_t k, std::string text) {
        return ExtensionProblem{static_cast<int>(k), std::move(text)};
    };
    for (std::size_t k = 0; k < x.size(); ++k) {
        if (x[k].empty())
            return problem(k, "The extension of " + field_name(k) + " is empty.");
        if (x[k].find('/') != std::string::npos)
            return problem(k, "The extension of " + field_name(k) +
                                  " holds a \"/\": results stay in their folder.");
    }
    if (x[1] == x[0])
        return problem(1, "The new text and the saved original would have one name (\"." + x[0] +
                              "\"): the original would be lost.\r\nGive " + field_name(1) +
                              " another extension than " + field_name(0) + ".");
    if (is_source_extension(x[1]))
        return problem(1, "The saved original would replace a source named *." + x[1] +
                              ".\r\nGive " + field_name(1) +
                              " an extension that no Pascal source has (such as \"pas-SAVED\").");
    for (std::size_t k = 2; k < x.size(); ++k) {
        if (x[k] == x[0] || x[k] == x[1])
            return problem(k, "The list of " + field_name(k) + " would replace the " +
                                  (x[k] == x[0] ? "new text" : "saved original") + " (\"." + x[k] +
                                  "\").\r\nGive it an extension of its own.");
        if (is_source_extension(x[k]))
            return problem(k, "The list of " + field_name(k) + " would replace a source named *." +
                                  x[k] + ".\r\nGive it an extension that no Pascal source has.");
    }
    return {};
}

bool Same_File(const std::string& a, const std::string& b) {
    struct stat sa {
    }, sb{};
    const bool a_is = ::stat(a.c_str(), &sa) == 0;
    const int a_err = a_is ? 0 : errno;
    const bool b_is = ::stat(b.c_str(), &sb) == 0;
    const int b_err = b_is ? 0 : errno;
    if (a_is && b_is)
        return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
    // A name without ".." that leads to no file cannot lead to one that is there (the usual
    // case of a result not yet written): no need to resolve both names. With "..", a folder
    // made later may join them ("sub/../x.pas").
    auto missing = [](int err, const std::string& name) {
        return (err == ENOENT || err == ENOTDIR) && name.find("..") == std::string::npos;
    };
    if ((a_is && missing(b_err, b)) || (b_is && missing(a_err, a)))
        return false;
    std::error_code ea, eb;
    const auto ca = std::filesystem::weakly_canonical(std::filesystem::absolute(a, ea), ea);
    const auto cb = std::filesystem::weakly_canonical(std::filesystem::absolute(b, eb), eb);
    if (ea || eb)
        return a == b;
    return ca == cb;
}

std::string Names_Problem(const std::string& source_file, const ResultNames& names,
                          Remedies remedies) {
    const bool command_line = remedies == Remedies::Command_Line;
    const std::string text = file_part(names.text());
    const bool backup_kept = !names.backup().empty();
    // On the command line the extensions are fixed: a clash comes from a second name of a file
    // (a hard or symbolic link), which the user removes, or a backup that goes elsewhere.
    auto mend_backup = [&](const std::string& backup) {
        return command_line ? "\r\nRemove that second name (rm " + quoted(backup) +
                                  "; the source keeps its own), or keep numbered backups "
                                  "(--backup=numbered) or none (--no-backup) instead."
                            : "\r\nChange " + field_name(0) + " or " + field_name(1) +
                                  " on the page Setup / Files.";
    };
    auto mend_list = [&](std::size_t k) {
        static constexpr const char* leave_out[] = {
            "", "", "--no-alpha", "--no-numeric", "--no-alpha", "--no-numeric", "--no-tokens"};
        return command_line ? "\r\nRemove that second name (rm " + quoted(names.files[k]) +
                                  "; the source keeps its own), or leave the list out (" +
                                  leave_out[k] + ", or --text-only for no lists at all)."
                            : std::string("\r\nChange its extension on the page Setup / Files.");
    };
    if (backup_kept && names.text() == names.backup())
        return "Nothing was saved: the new text and the saved original would both be named " +
               quoted(text) + ", so the original would be lost." + mend_backup(names.backup());
    for (std::size_t k = 2; k < names.files.size(); ++k)
        if (names.files[k] == names.text() || (backup_kept && names.files[k] == names.backup()))
            return "Nothing was saved: the list of " + field_name(k) + " would be named " +
                   quoted(file_part(names.files[k])) + " like the " +
                   (names.files[k] == names.text() ? "new text" : "saved original") + "." +
                   mend_list(k);
    // The source is looked at once; a result name that leads to no file (and holds no "..")
    // is not it, one that leads to a file is it when both are one file.
    struct stat source_stat {};
    const bool source_is = ::stat(source_file.c_str(), &source_stat) == 0;
    auto same_as_source = [&](const std::string& name) {
        if (!source_is)
            return Same_File(name, source_file);
        struct stat st {};
        if (::stat(name.c_str(), &st) == 0)
            return st.st_dev == source_stat.st_dev && st.st_ino == source_stat.st_ino;
        if ((errno == ENOENT || errno == ENOTDIR) && name.find("..") == std::string::npos)
            return false;
        return Same_File(name, source_file);
    };
    for (std::size_t k = backup_kept ? 1 : 2; k < names.files.size(); ++k) {
        if (!same_as_source(names.files[k]))
            continue;
        if (k == 1)
            return "Nothing was saved: the saved original would be the source " +
                   quoted(file_part(source_file)) + " itself while the new text goes to " +
                   quoted(text) + ", so the source would be lost." + mend_backup(names.files[1]);
        return "Nothing was saved: the list of " + field_name(k) + " would replace the source " +
               quoted(file_part(source_file)) + "." + mend_list(k);
    }
    return {};
}

} // namespace parvex

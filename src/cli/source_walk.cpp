#include "source_walk.h"

#include "source_choice.h"

#include "engine/result_names.h"
#include "platform/file_kind.h"
#include "tables/subs.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <filesystem>
#include <map>
#include <sys/stat.h>
#include <unordered_set>

namespace fs = std::filesystem;

namespace parvex::cli {

bool Is_Pascal_Source(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || name.size() - dot - 1 > 3)
        return false;
    char ext[3];
    const std::size_t n = name.size() - dot - 1;
    for (std::size_t k = 0; k < n; ++k) {
        const char c = name[dot + 1 + k];
        ext[k] = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    }
    const std::string_view e(ext, n);
    return e == "pas" || e == "pp" || e == "dpr" || e == "lpr" || e == "inc";
}

namespace {

std::string folder_with_slash(const fs::path& p) {
    std::string s = p.string();
    if (s.empty())
        return "./"; // a bare file name: the current folder
    return Add_Backslash(s);
}

// The path with "."/".." and links resolved as far as it exists.
fs::path resolved(const fs::path& p) {
    std::error_code ec;
    fs::path abs = fs::absolute(p, ec);
    if (ec)
        return p.lexically_normal();
    fs::path c = fs::weakly_canonical(abs, ec);
    return ec ? abs.lexically_normal() : c;
}

// Resolves many file names, each folder once: a file that is no link resolves to its folder,
// resolved, and its own name. A walk of thousands of files then costs one look per file.
class Resolver {
public:
    fs::path operator()(const fs::path& file) {
        struct stat st {};
        const fs::path name = file.filename();
        if (name.empty() || name == "." || name == ".." || ::lstat(file.c_str(), &st) != 0 ||
            S_ISLNK(st.st_mode))
            return resolved(file);
        const fs::path parent = file.parent_path();
        auto [it, fresh] = folders_.try_emplace(parent.string());
        if (fresh)
            it->second = resolved(parent.empty() ? fs::path(".") : parent);
        return it->second / name;
    }

private:
    std::map<std::string, fs::path> folders_;
};

bool inside(const fs::path& inner, const fs::path& outer) {
    auto rel = inner.lexically_relative(outer);
    return !rel.empty() && *rel.begin() != "..";
}

// A source the walk found, with its path resolved and the folder it was found in (an index
// into the walk's list of folders).
struct Found {
    std::string path;
    std::string real;
    std::size_t folder;
};

// A name in a folder, as a path joins them: no second "/" behind one that ends the folder.
std::string joined(const std::string& folder, const char* name) {
    std::string out;
    const std::size_t n = std::strlen(name);
    out.reserve(folder.size() + 1 + n);
    out += folder;
    if (!out.empty() && out.back() != '/')
        out += '/';
    out.append(name, n);
    return out;
}

// Walks one folder (`real`: the folder resolved): no links followed, every unreadable folder
// reported. Without links, what lies in a resolved folder is resolved as it is named. The
// folder is read with the system's own calls, its entries' kinds as the folder tells them (a
// look at the entry only where the file system does not say): a walk of many thousands of
// files then costs little more than reading the folders.
// Hidden files and folders (names that start with ".") are left out, as version control tools
// and the editors' own folders keep them; so is whatever `choice` leaves out (`rel`: the
// folder's path below the walked one, "" for that one).
void walk(const std::string& dir, const std::string& real, const std::string& rel,
          SourceChoice* choice, std::vector<Found>& found, std::vector<std::string>& folders,
          std::vector<std::string>& errors) {
    DIR* d = ::opendir(dir.c_str());
    if (!d) {
        errors.push_back(dir + ": folder cannot be read: " +
                         std::error_code(errno, std::generic_category()).message());
        return;
    }
    const std::size_t here = folders.size();
    folders.push_back(dir);
    for (;;) {
        errno = 0;
        const dirent* e = ::readdir(d);
        if (!e) {
            if (errno != 0)
                errors.push_back(dir + ": folder cannot be read: " +
                                 std::error_code(errno, std::generic_category()).message());
            break;
        }
        const char* name = e->d_name;
        if (name[0] == '.')
            continue;
        unsigned char type = e->d_type;
        if (type == DT_UNKNOWN) {
            struct stat st {};
            if (::lstat(joined(dir, name).c_str(), &st) != 0)
                continue;
            type = S_ISLNK(st.st_mode)   ? DT_LNK
                   : S_ISDIR(st.st_mode) ? DT_DIR
                   : S_ISREG(st.st_mode) ? DT_REG
                                         : DT_UNKNOWN;
        }
        if (type != DT_DIR && !(type == DT_REG && Is_Pascal_Source(name)))
            continue; // a link planted in a folder is not followed; other kinds are no sources
        std::string path = joined(dir, name);
        std::string below = rel.empty() ? std::string(name) : joined(rel, name);
        if (choice && choice->Walk_Leaves_Out(path, below, type == DT_DIR))
            continue;
        if (type == DT_DIR)
            walk(path, joined(real, name), below, choice, found, folders, errors);
        else
            found.push_back({std::move(path), joined(real, name), here});
    }
    ::closedir(d);
}

} // namespace

WalkResult Collect_Sources(const std::vector<std::string>& paths, const std::string& out_dir,
                           SourceChoice* choice, std::string_view out_option,
                           bool out_replaced_whole) {
    const std::string option(out_option);
    WalkResult result;
    const fs::path out = out_dir.empty() ? fs::path() : resolved(out_dir);
    std::unordered_set<std::string> seen;
    Resolver resolve;
    auto add = [&](const std::string& file, const std::string& real, std::string folder) {
        if (seen.insert(real).second)
            result.jobs.push_back({file, std::move(folder)});
    };
    for (const auto& path : paths) {
        std::error_code ec;
        const bool is_dir = fs::is_directory(fs::status(path, ec));
        if (choice && choice->Left_Out(path, is_dir))
            continue;
        if (!is_dir) {
            if (std::string what = Describe_Non_File(path); !what.empty()) {
                result.errors.push_back(path + ": " + what);
                continue;
            }
            const fs::path p(path);
            if (!out_dir.empty() && (resolved(p).parent_path() == out ||
                                     (out_replaced_whole && inside(resolved(p), out)))) {
                result.errors.push_back(
                    option + " " + out_dir +
                    (resolved(p).parent_path() == out ? ": is the folder of " : ": holds ") + path +
                    ": its results would replace sources; choose another folder");
                result.refused = true;
                continue;
            }
            add(p.string(), resolve(p).string(),
                out_dir.empty() ? folder_with_slash(p.parent_path()) : Add_Backslash(out_dir));
            continue;
        }
        if (!out_dir.empty()) {
            const fs::path in = resolved(path);
            const char* how = out == in         ? "is the input folder "
                              : inside(out, in) ? "lies inside the input folder "
                              : inside(in, out) ? "holds the input folder "
                                                : nullptr;
            if (how) {
                result.errors.push_back(option + " " + out_dir + ": " + how + path +
                                        ": its results would replace sources; choose a folder "
                                        "outside it");
                result.refused = true;
                continue;
            }
        }
        std::vector<Found> found;
        std::vector<std::string> folders;
        walk(path, resolved(path).string(), "", choice, found, folders, result.errors);
        std::sort(found.begin(), found.end(),
                  [](const Found& a, const Found& b) { return a.path < b.path; });
        // Each folder's result folder is worked out once, for its first file.
        std::vector<std::string> out_folders(folders.size());
        for (const Found& f : found) {
            std::string& folder = out_folders[f.folder];
            if (folder.empty()) {
                const fs::path parent = fs::path(f.path).parent_path();
                if (out_dir.empty()) {
                    folder = folder_with_slash(parent);
                } else {
                    fs::path rel = parent.lexically_relative(path);
                    fs::path target = fs::path(out_dir) / rel;
                    folder = Add_Backslash(target.lexically_normal().string());
                }
            }
            add(f.path, f.real, folder);
        }
    }
    return result;
}

void Drop_Name_Clashes(WalkResult& walk,
                       const std::function<const SaveOptions&(const SourceJob&)>& options_of) {
    // Results are named folder + name; a folder is resolved once.
    std::map<std::string, fs::path> folders;
    auto key = [&](const std::string& name) {
        const auto slash = name.rfind('/');
        const std::string folder = name.substr(0, slash + 1);
        auto [it, fresh] = folders.try_emplace(folder);
        if (fresh)
            it->second = resolved(folder.empty() ? "." : folder);
        return (it->second / name.substr(slash + 1)).string();
    };
    Resolver resolve;
    std::map<std::string, std::string> sources; // resolved source -> as given
    std::vector<std::string> own_names;
    own_names.reserve(walk.jobs.size());
    for (const auto& job : walk.jobs) {
        own_names.push_back(resolve(job.file).string());
        sources.emplace(own_names.back(), job.file);
    }
    std::map<std::string, std::string> written; // resolved result -> the source it belongs to
    std::vector<SourceJob> kept;
    for (std::size_t j = 0; j < walk.jobs.size(); ++j) {
        SourceJob& job = walk.jobs[j];
        const ResultNames names = Result_Names(job.file, job.out_folder, options_of(job));
        const std::string& own = own_names[j];
        std::string clash;
        std::vector<std::string> keys;
        for (const auto& name : names.files) {
            const std::string k = key(name);
            keys.push_back(k);
            if (auto s = sources.find(k); s != sources.end() && k != own) {
                clash = "its result \"" + name + "\" would replace the source " + s->second;
                break;
            }
            if (auto w = written.find(k); w != written.end()) {
                clash = "its result \"" + name + "\" would replace that of " + w->second;
                break;
            }
        }
        if (!clash.empty()) {
            walk.errors.push_back(job.file + ": not listed: " + clash);
            continue;
        }
        for (const auto& k : keys)
            written.emplace(k, job.file);
        kept.push_back(std::move(job));
    }
    walk.jobs = std::move(kept);
}

} // namespace parvex::cli

#include "source_walk.h"

#include "engine/result_names.h"
#include "platform/file_kind.h"
#include "tables/subs.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <sys/stat.h>
#include <unordered_set>

namespace fs = std::filesystem;

namespace parvex::cli {

bool Is_Pascal_Source(const std::string& name) {
    auto dot = name.rfind('.');
    if (dot == std::string::npos)
        return false;
    std::string ext = Lower_Ascii(name.substr(dot + 1));
    return ext == "pas" || ext == "pp" || ext == "dpr" || ext == "lpr" || ext == "inc";
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

// A source the walk found, with its path resolved.
struct Found {
    fs::path path;
    fs::path real;
};

// Walks one folder (`real`: the folder resolved): no links followed, every unreadable folder
// reported. Without links, what lies in a resolved folder is resolved as it is named.
void walk(const fs::path& dir, const fs::path& real, std::vector<Found>& found,
          std::vector<std::string>& errors) {
    std::error_code ec;
    fs::directory_iterator it(dir, ec);
    if (ec) {
        errors.push_back(dir.string() + ": folder cannot be read: " + ec.message());
        return;
    }
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec) {
            errors.push_back(dir.string() + ": folder cannot be read: " + ec.message());
            return;
        }
        // The kind of entry as the folder itself tells it, where it does (no look per entry).
        std::error_code sec;
        if (it->is_symlink(sec) || sec)
            continue; // a link planted in a folder is not followed
        if (it->is_directory(sec) && !sec)
            walk(it->path(), real / it->path().filename(), found, errors);
        else if (!sec && it->is_regular_file(sec) && !sec &&
                 Is_Pascal_Source(it->path().filename().string()))
            found.push_back({it->path(), real / it->path().filename()});
    }
}

} // namespace

WalkResult Collect_Sources(const std::vector<std::string>& paths, const std::string& out_dir) {
    WalkResult result;
    const fs::path out = out_dir.empty() ? fs::path() : resolved(out_dir);
    std::unordered_set<std::string> seen;
    Resolver resolve;
    auto add = [&](const fs::path& file, const fs::path& real, std::string folder) {
        if (seen.insert(real.native()).second)
            result.jobs.push_back({file.string(), std::move(folder)});
    };
    for (const auto& path : paths) {
        std::error_code ec;
        const bool is_dir = fs::is_directory(fs::status(path, ec));
        if (!is_dir) {
            if (std::string what = Describe_Non_File(path); !what.empty()) {
                result.errors.push_back(path + ": " + what);
                continue;
            }
            const fs::path p(path);
            if (!out_dir.empty() && resolved(p).parent_path() == out) {
                result.errors.push_back(
                    "--out " + out_dir + ": is the folder of " + path +
                    ": its results would replace sources; choose another folder");
                result.refused = true;
                continue;
            }
            add(p, resolve(p),
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
                result.errors.push_back("--out " + out_dir + ": " + how + path +
                                        ": its results would replace sources; choose a folder "
                                        "outside it");
                result.refused = true;
                continue;
            }
        }
        std::vector<Found> found;
        walk(fs::path(path), resolved(path), found, result.errors);
        std::sort(found.begin(), found.end(),
                  [](const Found& a, const Found& b) { return a.path.native() < b.path.native(); });
        for (const auto& [f, real] : found) {
            std::string folder;
            if (out_dir.empty()) {
                folder = folder_with_slash(f.parent_path());
            } else {
                fs::path rel = f.parent_path().lexically_relative(path);
                fs::path target = fs::path(out_dir) / rel;
                folder = Add_Backslash(target.lexically_normal().string());
            }
            add(f, real, std::move(folder));
        }
    }
    return result;
}

void Drop_Name_Clashes(WalkResult& walk, const SaveOptions& options) {
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
        const ResultNames names = Result_Names(job.file, job.out_folder, options);
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

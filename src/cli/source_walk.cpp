#include "source_walk.h"

#include "tables/subs.h"

#include <algorithm>
#include <filesystem>

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
        return {};
    return Add_Backslash(s);
}
} // namespace

WalkResult Collect_Sources(const std::vector<std::string>& paths, const std::string& out_dir) {
    WalkResult result;
    for (const auto& path : paths) {
        std::error_code ec;
        fs::file_status st = fs::status(path, ec);
        if (ec || !fs::exists(st)) {
            result.errors.push_back(path + ": File does not exist");
            continue;
        }
        if (!fs::is_directory(st)) {
            fs::path p(path);
            std::string folder =
                out_dir.empty() ? folder_with_slash(p.parent_path()) : Add_Backslash(out_dir);
            result.jobs.push_back({path, folder});
            continue;
        }
        std::vector<fs::path> found;
        fs::recursive_directory_iterator it(path, fs::directory_options::skip_permission_denied,
                                            ec);
        if (ec) {
            result.errors.push_back(path + ": " + ec.message());
            continue;
        }
        for (; it != fs::recursive_directory_iterator(); it.increment(ec)) {
            if (ec) {
                result.errors.push_back(path + ": " + ec.message());
                break;
            }
            std::error_code fec;
            if (it->is_regular_file(fec) && Is_Pascal_Source(it->path().filename().string()))
                found.push_back(it->path());
        }
        std::sort(found.begin(), found.end(),
                  [](const fs::path& a, const fs::path& b) { return a.string() < b.string(); });
        for (const auto& f : found) {
            std::string folder;
            if (out_dir.empty()) {
                folder = folder_with_slash(f.parent_path());
            } else {
                fs::path rel = f.parent_path().lexically_relative(path);
                fs::path target = fs::path(out_dir) / rel;
                folder = Add_Backslash(target.lexically_normal().string());
            }
            result.jobs.push_back({f.string(), folder});
        }
    }
    return result;
}

} // namespace parvex::cli

#include "source_choice.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace parvex::cli {

namespace {

std::string parent_of(const std::string& absolute) {
    const std::size_t slash = absolute.rfind('/');
    return slash == 0 || slash == std::string::npos ? "/" : absolute.substr(0, slash);
}

// `path` below `folder` (both absolute), or nothing when it does not lie below it.
std::optional<std::string> below(const std::string& path, const std::string& folder) {
    if (folder == "/")
        return path.size() > 1 ? std::optional(path.substr(1)) : std::nullopt;
    if (path.size() > folder.size() + 1 && path.starts_with(folder) && path[folder.size()] == '/')
        return path.substr(folder.size() + 1);
    return std::nullopt;
}

} // namespace

SourceChoice::SourceChoice(std::vector<PathPattern> command_line, ProjectConfigs* configs,
                           std::string base)
    : command_line_(std::move(command_line)), configs_(configs), base_(std::move(base)) {}

bool SourceChoice::holds_git(const std::string& folder) {
    auto [it, fresh] = holds_git_.try_emplace(folder, false);
    if (fresh) {
        std::error_code ec;
        it->second = fs::exists(fs::path(folder) / ".git", ec);
    }
    return it->second;
}

std::optional<std::string> SourceChoice::config_leaves_out(const std::string& absolute,
                                                           bool is_folder) {
    if (!configs_)
        return std::nullopt;
    // The path and each folder above it, each judged by the configuration of the folder that
    // holds it, as a walk from the top would judge them on its way down; a repository's top
    // is where a walk starts.
    std::string path = absolute;
    bool folder = is_folder;
    while (path != "/" && !(folder && holds_git(path))) {
        const ProjectConfig* config = configs_->For_Folder(parent_of(path));
        if (!config)
            break;
        if (const auto rel = below(path, config->folder))
            for (const PathPattern& p : config->excludes)
                if (p.Matches(*rel, folder))
                    return "\"" + p.Text() + "\" (" + config->file + ")";
        path = parent_of(path);
        folder = true;
    }
    return std::nullopt;
}

std::optional<std::string> SourceChoice::Left_Out(const std::string& path, bool is_folder) {
    if (!command_line_.empty()) {
        // Below the current folder; a path outside it is matched as it stands, so that a
        // pattern without "/" still finds its names.
        const std::string here = Absolute_Path(".");
        const std::string absolute = Absolute_Path(path);
        const std::string rel =
            below(absolute, here).value_or(absolute == here ? "" : absolute.substr(1));
        for (const PathPattern& p : command_line_)
            if (p.Covers(rel, is_folder))
                return "\"" + p.Text() + "\" (command line)";
    }
    return config_leaves_out(Absolute(path), is_folder);
}

bool SourceChoice::Walk_Leaves_Out(const std::string& path, std::string_view rel, bool is_folder) {
    for (const PathPattern& p : command_line_)
        if (p.Matches(rel, is_folder))
            return true;
    if (!configs_)
        return false;
    const std::string absolute = Absolute(path);
    const ProjectConfig* config = configs_->For_Folder(parent_of(absolute));
    if (!config)
        return false;
    const auto below_config = below(absolute, config->folder);
    if (!below_config)
        return false;
    for (const PathPattern& p : config->excludes)
        if (p.Matches(*below_config, is_folder))
            return true;
    return false;
}

const ProjectConfig* SourceChoice::Config_Of(const std::string& file) {
    return configs_ ? configs_->For_Folder(parent_of(Absolute(file))) : nullptr;
}

} // namespace parvex::cli

#pragma once
// Which sources a call takes: a walk leaves out hidden names, and every path that an exclude
// pattern of the command line or of the source's configuration names is left out.

#include "config/path_pattern.h"
#include "config/project_config.h"

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace parvex::cli {

class SourceChoice {
public:
    // `configs` null: no configuration is read (--no-config). `base`: the folder relative paths
    // are taken from when configurations are looked for ("" for the current one).
    SourceChoice(std::vector<PathPattern> command_line, ProjectConfigs* configs, std::string base);

    // A path named on the command line or in a list of files, judged with each folder above it:
    // the command line's patterns against its path below the current folder, a configuration's
    // against its path below the configuration's folder. The pattern that leaves it out, and
    // where it comes from, or nothing.
    std::optional<std::string> Left_Out(const std::string& path, bool is_folder);
    // An entry of a walk (the folders above it were taken): the command line's patterns
    // against `rel`, its path below the walked folder.
    bool Walk_Leaves_Out(const std::string& path, std::string_view rel, bool is_folder);

    // The configuration of a source (a file, or "-" read as `name`); nullptr for none.
    const ProjectConfig* Config_Of(const std::string& file);
    std::string Absolute(const std::string& path) const { return Absolute_Path(path, base_); }

private:
    std::optional<std::string> config_leaves_out(const std::string& absolute, bool is_folder);
    bool holds_git(const std::string& folder);

    std::vector<PathPattern> command_line_;
    ProjectConfigs* configs_;
    std::string base_;
    std::unordered_map<std::string, bool> holds_git_;
};

} // namespace parvex::cli

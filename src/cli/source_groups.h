#pragma once
// The sources of one call, grouped by the configuration they fall under: each group has its
// settings, the options its batches run with, and a token index of its own, so that a source
// is listed as a call over its own project alone would list it.

#include "cli_options.h"
#include "source_choice.h"

#include "config/effective_settings.h"
#include "engine/token_table.h"

#include <memory>
#include <string>
#include <vector>

namespace parvex::cli {

struct SourceGroup {
    const ProjectConfig* config = nullptr; // nullptr: none
    EffectiveSettings settings;
    CliOptions options; // the call's options with these settings
    TokenTable tokens;
    bool loaded = false;
};

class SourceGroups {
public:
    // `default_personal`: the program's own personal token file, "" when it has none.
    SourceGroups(const CliOptions& options, std::string default_personal);

    SourceGroup& For(const ProjectConfig* config);
    // Loads the token files of the group, once; the error names the file and the setting.
    [[nodiscard]] std::string Load_Tokens(SourceGroup& group);
    std::size_t Size() const { return groups_.size(); }

private:
    const CliOptions& options_;
    std::string default_personal_;
    std::vector<std::unique_ptr<SourceGroup>> groups_;
};

// The settings that apply to `path` (a source or a folder of sources), each with where it
// came from, and whether the path is left out. Errors go to `errors`.
std::string Describe_Settings(const std::string& path, SourceChoice& choice, SourceGroups& groups,
                              const ProjectConfigs* configs);

} // namespace parvex::cli

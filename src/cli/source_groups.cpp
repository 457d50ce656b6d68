#include "source_groups.h"

#include "source_input.h"

#include "platform/file_kind.h"
#include "platform/text_file.h"

namespace parvex::cli {

SourceGroups::SourceGroups(const CliOptions& options, std::string default_personal)
    : options_(options), default_personal_(std::move(default_personal)) {}

SourceGroup& SourceGroups::For(const ProjectConfig* config) {
    for (auto& g : groups_)
        if (g->config == config)
            return *g;
    auto g = std::make_unique<SourceGroup>();
    g->config = config;
    g->settings = Settle_Settings(config, options_.given, default_personal_);
    g->options = options_;
    g->settings.Apply(g->options.listing, g->options.save);
    g->options.personal_file = g->settings.personal_file.value;
    g->options.tokens_file = g->settings.tokens_file.value;
    groups_.push_back(std::move(g));
    return *groups_.back();
}

std::string SourceGroups::Load_Tokens(SourceGroup& group) {
    if (group.loaded)
        return {};
    group.loaded = true;
    // A file that was asked for must be there; the program's own is taken only when it is.
    for (const Setting<std::string>* s :
         {&group.settings.tokens_file, &group.settings.personal_file}) {
        if (s->value.empty() || s->origin.kind == SettingOrigin::Kind::Default)
            continue;
        if (std::string what = Describe_Non_File(s->value); !what.empty())
            return s->value + ": " + what +
                   (s->origin.kind == SettingOrigin::Kind::Config_File
                        ? " (named by " + s->origin.file + ")"
                        : std::string());
    }
    if (FileResult r =
            group.tokens.Load_Token_Tables(group.settings.tokens_file.value,
                                           group.settings.personal_file.value, options_.max_size);
        !r)
        return With_Limit_Hint(r.error);
    return {};
}

std::string Describe_Settings(const std::string& path, SourceChoice& choice, SourceGroups& groups,
                              const ProjectConfigs* configs) {
    const bool is_folder = Dir_Exists(path);
    const ProjectConfig* config =
        is_folder ? choice.Config_Of(path + "/-") : choice.Config_Of(path);
    const SourceGroup& group = groups.For(config);
    std::string out = "# " + path + ": ";
    out += config    ? "configuration " + config->file
           : configs ? "no configuration file (" + std::string(Project_Config_Name) + ") applies"
                     : "configuration files are not read (--no-config)";
    out += '\n';
    for (const std::string& line : group.settings.Describe())
        out += line + '\n';
    if (const auto why = choice.Left_Out(path, is_folder))
        out += "# " + path + " is left out by " + *why + '\n';
    return out;
}

} // namespace parvex::cli

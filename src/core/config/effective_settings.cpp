#include "config/effective_settings.h"

namespace parvex {

std::string SettingOrigin::Describe() const {
    switch (kind) {
    case Kind::Config_File:
        return file;
    case Kind::Command_Line:
        return "command line";
    case Kind::Default:
        break;
    }
    return "default";
}

namespace {

// The command line's value, else the file's, else the default.
template <class T>
void settle(Setting<T>& setting, const T& fallback, const std::optional<T>& from_file,
            const std::string& file, const std::optional<T>& from_command_line) {
    if (from_command_line) {
        setting = {*from_command_line, {SettingOrigin::Kind::Command_Line, {}}};
    } else if (from_file) {
        setting = {*from_file, {SettingOrigin::Kind::Config_File, file}};
    } else {
        setting = {fallback, {}};
    }
}

} // namespace

EffectiveSettings Settle_Settings(const ProjectConfig* config, const ConfigValues& command_line,
                                  const std::string& default_personal) {
    const ConfigValues none;
    const ConfigValues& file = config ? config->values : none;
    const std::string name = config ? config->file : std::string();
    const ListingOptions listing;
    const SaveOptions save;
    EffectiveSettings s;
    s.config_file = name;
    settle(s.output_case, listing.output_case, file.output_case, name, command_line.output_case);
    settle(s.personal_file, default_personal, file.personal_file, name, command_line.personal_file);
    settle(s.tokens_file, std::string(), file.tokens_file, name, command_line.tokens_file);
    settle(s.end_remarks, listing.end_remarks, file.end_remarks, name, command_line.end_remarks);
    settle(s.keep_old_remarks, !listing.remove_old_remarks, file.keep_old_remarks, name,
           command_line.keep_old_remarks);
    settle(s.break_after, save.break_after, file.break_after, name, command_line.break_after);
    settle(s.lists, static_cast<unsigned>(All_Lists), file.lists, name, command_line.lists);
    if (command_line.lists_off & s.lists.value) {
        s.lists.value &= ~command_line.lists_off;
        s.lists.origin = {SettingOrigin::Kind::Command_Line, {}};
    }
    for (const auto& pattern : file.excludes)
        s.excludes.push_back({pattern, {SettingOrigin::Kind::Config_File, name}});
    for (const auto& pattern : command_line.excludes)
        s.excludes.push_back({pattern, {SettingOrigin::Kind::Command_Line, {}}});
    return s;
}

void EffectiveSettings::Apply(ListingOptions& listing, SaveOptions& save) const {
    listing.output_case = output_case.value;
    listing.end_remarks = end_remarks.value;
    listing.remove_old_remarks = !keep_old_remarks.value;
    listing.collect_alpha = (lists.value & Alpha_Lists) != 0;
    listing.collect_numeric = (lists.value & Numeric_Lists) != 0;
    listing.collect_tokens = (lists.value & Token_List) != 0;
    // The lists' results: constants and cross-reference of literals, then of numbers, then the
    // tokens' cross-reference (the text and its backup are always written).
    save.create[2] = save.create[4] = listing.collect_alpha;
    save.create[3] = save.create[5] = listing.collect_numeric;
    save.create[6] = listing.collect_tokens;
    save.break_after = break_after.value;
}

std::vector<std::string> EffectiveSettings::Describe() const {
    std::vector<std::pair<std::string, const SettingOrigin*>> lines;
    auto yes_no = [](bool b) { return std::string(b ? "yes" : "no"); };
    lines.emplace_back("case = " + Case_Word(output_case.value), &output_case.origin);
    lines.emplace_back("personal = " + personal_file.value, &personal_file.origin);
    lines.emplace_back("tokens = " + tokens_file.value, &tokens_file.origin);
    lines.emplace_back("remarks = " + yes_no(end_remarks.value), &end_remarks.origin);
    lines.emplace_back("keep-old-remarks = " + yes_no(keep_old_remarks.value),
                       &keep_old_remarks.origin);
    lines.emplace_back("break = " + std::to_string(break_after.value), &break_after.origin);
    lines.emplace_back("lists = " + Lists_Words(lists.value), &lists.origin);
    for (const auto& e : excludes)
        lines.emplace_back("exclude = " + e.value, &e.origin);
    std::size_t width = 0;
    for (const auto& [text, origin] : lines)
        width = std::max(width, text.size());
    std::vector<std::string> out;
    for (const auto& [text, origin] : lines)
        out.push_back(text + std::string(width - text.size() + 2, ' ') + "(" + origin->Describe() +
                      ")");
    return out;
}

} // namespace parvex

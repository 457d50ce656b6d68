#pragma once
// The settings that apply to a source: each with the value it has and where that came from
// (the program's default, a configuration file, the command line).

#include "config/project_config.h"
#include "engine/listing_options.h"

#include <string>
#include <vector>

namespace parvex {

struct SettingOrigin {
    enum class Kind { Default, Config_File, Command_Line };
    Kind kind = Kind::Default;
    std::string file;             // the configuration file, for Config_File
    std::string Describe() const; // "default", the file, "command line"
};

template <class T> struct Setting {
    T value{};
    SettingOrigin origin;
};

struct EffectiveSettings {
    std::string config_file; // the configuration that applies, "" for none
    Setting<int> output_case;
    Setting<std::string> personal_file; // "" for none
    Setting<std::string> tokens_file;   // "" for none
    Setting<bool> end_remarks;
    Setting<bool> keep_old_remarks;
    Setting<int> break_after;
    Setting<unsigned> lists; // ListKinds bits
    std::vector<Setting<std::string>> excludes;

    // Sets what the listing and the save read from these settings.
    void Apply(ListingOptions& listing, SaveOptions& save) const;
    // One line a setting, as in a configuration file, with its origin in parentheses.
    std::vector<std::string> Describe() const;
};

// The settings of the sources under `config` (nullptr: none): the command line's over the
// file's over the defaults. `default_personal` is the program's own personal token file.
EffectiveSettings Settle_Settings(const ProjectConfig* config, const ConfigValues& command_line,
                                  const std::string& default_personal);

} // namespace parvex

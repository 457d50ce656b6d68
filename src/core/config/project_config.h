#pragma once
// A project's configuration file (.parvex): the listing settings a team shares between its
// editors, hooks and CI, found from a source's folder upward as far as the repository's top.

#include "config/path_pattern.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace parvex {

inline constexpr std::string_view Project_Config_Name = ".parvex";
inline constexpr std::string_view Project_Config_Section = "parvex";

// The lists a save writes beside a source, as bits.
enum ListKinds : unsigned {
    Alpha_Lists = 1,   // the string literals' constants and cross-reference
    Numeric_Lists = 2, // the numbers' constants and cross-reference
    Token_List = 4,    // the tokens' cross-reference
    All_Lists = 7,
};

// The settings a configuration file or the command line gives. One left unset leaves the one
// below it: the command line's go over the file's, the file's over the program's defaults.
struct ConfigValues {
    std::optional<int> output_case; // 0 upper, 1 lower, 2 first, 3 capitalize, -1 as stored
    std::optional<std::string> personal_file;
    std::optional<std::string> tokens_file;
    std::optional<bool> end_remarks;
    std::optional<bool> keep_old_remarks;
    std::optional<int> break_after;
    std::optional<unsigned> lists;     // ListKinds bits
    unsigned lists_off = 0;            // taken off whatever the lists below are (--no-alpha, ...)
    std::vector<std::string> excludes; // added to those below
};

struct ProjectConfig {
    std::string file;                  // absolute
    std::string folder;                // the folder it lies in, absolute, no "/" at the end
    ConfigValues values;               // its file names made absolute from `folder`
    std::vector<PathPattern> excludes; // relative to `folder`
};

struct [[nodiscard]] ConfigRead {
    std::vector<std::string> errors; // "FILE:LINE: what is wrong"; empty when all is well
    ProjectConfig config;            // what could be read
    explicit operator bool() const { return errors.empty(); }
};

// Reads the settings of section [parvex]; an unknown section, key or value is an error (a typo
// must not pass unnoticed in a team's shared settings). `file` is an absolute path.
ConfigRead Read_Project_Config(const std::string& file);
ConfigRead Parse_Project_Config(std::string_view bytes, const std::string& file);

// The words of the settings, shared with the command line. Nothing for a word not known.
std::optional<int> Parse_Case(std::string_view word); // upper, lower, first, capitalize, keep
std::string Case_Word(int output_case);
// Names from alpha, numeric and tokens, separated by blanks or commas; "none" or "all".
std::optional<unsigned> Parse_Lists(std::string_view words);
std::string Lists_Words(unsigned lists);
std::optional<bool> Parse_Yes_No(std::string_view word); // yes/no, true/false, on/off, 1/0

// Finds and reads the configuration of each folder once.
class ProjectConfigs {
public:
    // The configuration of the sources in `folder` (absolute, without "." or ".." parts): the
    // nearest .parvex in it or above it, looking no higher than a folder that holds .git (a
    // repository's top); nullptr when there is none. A file that cannot be read, or holds
    // something wrong, gives what could be read, and its errors in Errors().
    const ProjectConfig* For_Folder(const std::string& folder);
    const std::vector<std::string>& Errors() const { return errors_; }

private:
    std::unordered_map<std::string, const ProjectConfig*> by_folder_;
    std::map<std::string, std::unique_ptr<ProjectConfig>> by_file_;
    std::vector<std::string> errors_;
};

// A path as the configuration search sees it: absolute (from `base` when relative, the current
// folder when `base` is empty), without "." or ".." parts and without a "/" at the end.
std::string Absolute_Path(const std::string& path, const std::string& base = {});

} // namespace parvex

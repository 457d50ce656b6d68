#include "config/project_config.h"

#include "frame/ini_file.h"
#include "platform/text_file.h"
#include "tables/subs.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace parvex {

namespace {

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    return out;
}

constexpr const char* kCaseWords[] = {"upper", "lower", "first", "capitalize"};

} // namespace

std::optional<int> Parse_Case(std::string_view word) {
    const std::string w = lower(word);
    if (w == "keep")
        return -1;
    for (int i = 0; i < 4; ++i)
        if (w == kCaseWords[i])
            return i;
    return std::nullopt;
}

std::string Case_Word(int output_case) {
    return output_case >= 0 && output_case < 4 ? kCaseWords[output_case] : "keep";
}

std::optional<unsigned> Parse_Lists(std::string_view words) {
    unsigned lists = 0;
    bool any = false, alone = false;
    std::size_t at = 0;
    while (at < words.size()) {
        const std::size_t end = words.find_first_of(" \t,", at);
        const std::string word =
            lower(words.substr(at, end == std::string_view::npos ? end : end - at));
        at = end == std::string_view::npos ? words.size() : end + 1;
        if (word.empty())
            continue;
        if (alone)
            return std::nullopt; // "none" and "all" stand alone
        if (word == "alpha")
            lists |= Alpha_Lists;
        else if (word == "numeric")
            lists |= Numeric_Lists;
        else if (word == "tokens")
            lists |= Token_List;
        else if ((word == "none" || word == "all") && !any) {
            lists = word == "all" ? static_cast<unsigned>(All_Lists) : 0u;
            alone = true;
        } else {
            return std::nullopt;
        }
        any = true;
    }
    if (!any)
        return std::nullopt;
    return lists;
}

std::string Lists_Words(unsigned lists) {
    std::string words;
    for (auto [bit, word] : {std::pair{Alpha_Lists, "alpha"}, std::pair{Numeric_Lists, "numeric"},
                             std::pair{Token_List, "tokens"}})
        if (lists & bit)
            words += words.empty() ? word : std::string(" ") + word;
    return words.empty() ? "none" : words;
}

std::optional<bool> Parse_Yes_No(std::string_view word) {
    const std::string w = lower(word);
    if (w == "yes" || w == "true" || w == "on" || w == "1")
        return true;
    if (w == "no" || w == "false" || w == "off" || w == "0")
        return false;
    return std::nullopt;
}

std::string Absolute_Path(const std::string& path, const std::string& base) {
    std::error_code ec;
    fs::path p(path);
    if (p.is_relative())
        p = (base.empty() ? fs::current_path(ec) : fs::path(base)) / p;
    std::string s = p.lexically_normal().string();
    while (s.size() > 1 && s.back() == '/')
        s.pop_back();
    return s;
}

ConfigRead Parse_Project_Config(std::string_view bytes, const std::string& file) {
    ConfigRead read;
    ProjectConfig& config = read.config;
    config.file = file;
    config.folder = fs::path(file).parent_path().string();
    ConfigValues& v = config.values;
    std::map<std::string, std::size_t> seen; // key -> the line it was set on
    const IniFile ini = IniFile::parse(bytes);
    for (const IniLine& line : ini.meaningful_lines()) {
        const std::string at = file + ":" + std::to_string(line.number) + ": ";
        auto error = [&](const std::string& text) { read.errors.push_back(at + text); };
        if (line.kind == IniLine::Kind::Unreadable) {
            error("neither \"[section]\" nor \"key = value\"");
            continue;
        }
        if (lower(line.section) != Project_Config_Section) {
            if (line.kind == IniLine::Kind::Section)
                error("unknown section [" + line.section + "]: the settings go in [" +
                      std::string(Project_Config_Section) + "]");
            else if (line.section.empty())
                error("\"" + line.key + "\" stands before the section [" +
                      std::string(Project_Config_Section) + "]");
            continue;
        }
        if (line.kind != IniLine::Kind::Entry)
            continue;
        const std::string key = lower(line.key);
        const std::string& value = line.value;
        if (key != "exclude") {
            if (auto [it, fresh] = seen.try_emplace(key, line.number); !fresh) {
                error("\"" + line.key + "\" is set a second time (first on line " +
                      std::to_string(it->second) + ")");
                continue;
            }
        }
        auto bad_value = [&](const std::string& expected) {
            error("\"" + value + "\" is no value for " + line.key + ": " + expected);
        };
        if (key == "case") {
            if (auto c = Parse_Case(value))
                v.output_case = *c;
            else
                bad_value("upper, lower, first, capitalize or keep");
        } else if (key == "personal" || key == "tokens") {
            // Relative to the configuration, so that it names one file wherever a run starts;
            // an empty value names none.
            std::string path = value.empty() ? value : Absolute_Path(value, config.folder);
            (key == "personal" ? v.personal_file : v.tokens_file) = std::move(path);
        } else if (key == "remarks" || key == "keep-old-remarks") {
            if (auto yes = Parse_Yes_No(value))
                (key == "remarks" ? v.end_remarks : v.keep_old_remarks) = *yes;
            else
                bad_value("yes or no");
        } else if (key == "break") {
            const std::int32_t n = Str_To_Int_Def(value, INT32_MIN);
            if (n == INT32_MIN)
                bad_value("a number");
            else
                v.break_after = n;
        } else if (key == "lists") {
            if (auto lists = Parse_Lists(value))
                v.lists = *lists;
            else
                bad_value("alpha, numeric and tokens, or none");
        } else if (key == "exclude") {
            std::string why;
            if (auto pattern = PathPattern::Parse(value, why)) {
                v.excludes.push_back(value);
                config.excludes.push_back(std::move(*pattern));
            } else {
                bad_value(why);
            }
        } else {
            error("unknown setting \"" + line.key +
                  "\" (known: case, personal, tokens, remarks, keep-old-remarks, break, lists, "
                  "exclude)");
        }
    }
    return read;
}

ConfigRead Read_Project_Config(const std::string& file) {
    std::string bytes;
    if (FileResult r = Read_File(file, bytes); !r) {
        ConfigRead read;
        read.config.file = file;
        read.config.folder = fs::path(file).parent_path().string();
        read.errors.push_back(r.error);
        return read;
    }
    return Parse_Project_Config(bytes, file);
}

const ProjectConfig* ProjectConfigs::For_Folder(const std::string& folder) {
    // Each folder on the way up is looked at once; the answer holds for all of them.
    std::vector<std::string> passed;
    const ProjectConfig* found = nullptr;
    fs::path here(folder);
    for (;;) {
        const std::string key = here.string();
        if (auto it = by_folder_.find(key); it != by_folder_.end()) {
            found = it->second;
            break;
        }
        passed.push_back(key);
        std::error_code ec;
        const fs::path candidate = here / Project_Config_Name;
        const fs::file_status st = fs::status(candidate, ec);
        if (fs::exists(st) && !fs::is_directory(st)) {
            auto& slot = by_file_[candidate.string()];
            if (!slot) {
                ConfigRead read = Read_Project_Config(candidate.string());
                errors_.insert(errors_.end(), read.errors.begin(), read.errors.end());
                slot = std::make_unique<ProjectConfig>(std::move(read.config));
            }
            found = slot.get();
            break;
        }
        if (fs::exists(here / ".git", ec) || !here.has_relative_path())
            break; // a repository's top, or the root
        here = here.parent_path();
    }
    for (const auto& f : passed)
        by_folder_[f] = found;
    return found;
}

} // namespace parvex

#include "config/path_pattern.h"

#include <fnmatch.h>
#include <vector>

namespace parvex {

namespace {

std::vector<std::string_view> split(std::string_view path) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t slash = path.find('/', start);
        if (slash == std::string_view::npos)
            slash = path.size();
        if (slash > start)
            parts.push_back(path.substr(start, slash - start));
        start = slash + 1;
    }
    return parts;
}

// "**" stands for any number of folders, none too; any other part is a shell pattern for one
// name ("*", "?", "[a-z]", "\" before a character that stands for itself).
bool match(const std::vector<std::string>& pattern, std::size_t p,
           const std::vector<std::string>& names, std::size_t n) {
    if (p == pattern.size())
        return n == names.size();
    if (pattern[p] == "**") {
        for (std::size_t k = n; k <= names.size(); ++k)
            if (match(pattern, p + 1, names, k))
                return true;
        return false;
    }
    return n < names.size() && ::fnmatch(pattern[p].c_str(), names[n].c_str(), 0) == 0 &&
           match(pattern, p + 1, names, n + 1);
}

} // namespace

std::optional<PathPattern> PathPattern::Parse(std::string_view text, std::string& error) {
    PathPattern pattern;
    pattern.text_ = std::string(text);
    if (text.starts_with('!')) {
        error = "a pattern that takes paths back in (\"!\") is not supported";
        return std::nullopt;
    }
    while (text.ends_with('/')) {
        pattern.folder_only_ = true;
        text.remove_suffix(1);
    }
    // A "/" at the start or inside ties the pattern to the folder it belongs to; without one it
    // names a file or folder at any depth.
    const bool anchored = text.find('/') != std::string_view::npos;
    const std::vector<std::string_view> parts = split(text);
    if (parts.empty()) {
        error = "an empty pattern";
        return std::nullopt;
    }
    if (!anchored)
        pattern.parts_.emplace_back("**");
    for (std::string_view part : parts) {
        if (part == "." || part == "..") {
            error = "a pattern has no \".\" or \"..\" parts";
            return std::nullopt;
        }
        pattern.parts_.emplace_back(part);
    }
    return pattern;
}

bool PathPattern::Matches(std::string_view path, bool is_folder) const {
    if (folder_only_ && !is_folder)
        return false;
    std::vector<std::string> names;
    for (std::string_view name : split(path))
        names.emplace_back(name);
    return !names.empty() && match(parts_, 0, names, 0);
}

bool PathPattern::Covers(std::string_view path, bool is_folder) const {
    for (std::size_t slash = path.find('/'); slash != std::string_view::npos;
         slash = path.find('/', slash + 1))
        if (slash > 0 && Matches(path.substr(0, slash), true))
            return true;
    return Matches(path, is_folder);
}

} // namespace parvex

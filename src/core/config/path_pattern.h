#pragma once
// A pattern that leaves paths out of a walk, written as in a .gitignore file: "backup/",
// "*_old.pas", "/lib/*.inc", "**/generated/*".

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace parvex {

class PathPattern {
public:
    // The pattern, or nothing with the reason in `error`.
    static std::optional<PathPattern> Parse(std::string_view text, std::string& error);

    // Whether the pattern names this path itself. `path` is relative to the folder the pattern
    // belongs to, its parts separated by "/", without "." or ".." parts.
    bool Matches(std::string_view path, bool is_folder) const;
    // Whether it names the path or a folder above it (what lies in a left-out folder is out too).
    bool Covers(std::string_view path, bool is_folder) const;

    const std::string& Text() const { return text_; }

private:
    std::string text_;
    std::vector<std::string> parts_; // split at "/"; "**" for any number of folders
    bool folder_only_ = false;       // written with a "/" at the end
};

} // namespace parvex

#pragma once
// An initialisation file held as its lines: sections and keys are found without regard to case,
// every line the program does not change is written back exactly as it was read.

#include "platform/text_file.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace parvex {

using IniEntries = std::vector<std::pair<std::string, std::string>>;

// One line of a file that says something: a section header, an entry, or a line that is none of
// these nor a comment nor blank (for a reader that reports such lines).
struct IniLine {
    enum class Kind { Section, Entry, Unreadable };
    Kind kind = Kind::Unreadable;
    std::size_t number = 0; // from 1
    std::string section;    // the section it lies in ("" before the first), its own for a header
    std::string key;        // an entry's key, trimmed
    std::string value;      // an entry's value, trimmed
};

class IniFile {
public:
    IniFile() = default;

    // Reading never fails: lines that are neither a section, an entry, a comment nor blank are
    // kept for writing but give no values.
    static IniFile parse(std::string_view bytes);
    // A missing file reads as an empty one. A file that exists but cannot be read also leaves
    // `out` empty; the failure is returned so the caller can tell the user, then go on.
    [[nodiscard]] static FileResult load(const std::string& name, IniFile& out);
    // The whole file, CR LF after every line, written through a temporary file.
    [[nodiscard]] FileResult save(const std::string& name) const;

    std::string text() const { return Join_Lines(lines_); }
    const TextList& lines() const { return lines_; }

    bool has_section(std::string_view section) const;
    std::vector<std::string> section_names() const; // first spelling of each, in file order
    // The value of the first entry with that key in any section of that name.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    std::string read(std::string_view section, std::string_view key,
                     std::string_view fallback) const;
    // Every key of the section once (its first value), in file order.
    IniEntries entries(std::string_view section) const;
    // Every line that says something, in file order, entries of one key as often as they stand.
    std::vector<IniLine> meaningful_lines() const;

    // Replaces the value of an existing key in place, else appends the entry to its section, else
    // appends the section with the entry at the end. Names or values that could not be read back
    // as written (a line break anywhere, "=" in a key, "]" in a section name, outer blanks in a
    // name) are refused and change nothing.
    [[nodiscard]] bool set(std::string_view section, std::string_view key, std::string_view value);

private:
    TextList lines_;
};

// "Version" handling on arbitrary initialisation files (the language files use them).
// An absent or unreadable file, section or key gives "".
std::string INI_Get_Version(const std::string& file_name, std::string_view section,
                            std::string_view key);
// Writes key "Version" with the value into the section, creating file and section as needed.
[[nodiscard]] FileResult INI_Set_Version(const std::string& file_name, std::string_view section,
                                         std::string_view value);

} // namespace parvex

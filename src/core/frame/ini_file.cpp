#include "frame/ini_file.h"

#include "tables/subs.h"

#include <unordered_set>

namespace parvex {

namespace {

enum class LineKind { Other, Section, BrokenSection, Entry };

struct LineInfo {
    LineKind kind = LineKind::Other;
    std::string name;       // section name or key, trimmed
    std::size_t value_at{}; // for entries: where the value starts (just after the first "=")
};

bool same_name(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z')
            x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z')
            y = static_cast<char>(y - 'a' + 'A');
        if (x != y)
            return false;
    }
    return true;
}

constexpr std::string_view utf8_bom = "\xEF\xBB\xBF";

LineInfo classify(std::string_view line, bool first_line) {
    // An editor may have put a byte-order mark in front of the first section.
    std::size_t skip = 0;
    if (first_line && line.substr(0, utf8_bom.size()) == utf8_bom)
        skip = utf8_bom.size();
    std::string trimmed = Trim(line.substr(skip));
    LineInfo info;
    if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#')
        return info;
    if (trimmed.front() == '[') {
        auto close = trimmed.find(']');
        if (close == std::string::npos) {
            // A cut-off header: its entries must not be taken for those of the section before.
            info.kind = LineKind::BrokenSection;
            return info;
        }
        info.kind = LineKind::Section;
        info.name = Trim(std::string_view(trimmed).substr(1, close - 1));
        return info;
    }
    auto eq = line.find('=', skip);
    if (eq == std::string_view::npos)
        return info;
    info.name = Trim(line.substr(skip, eq - skip));
    if (info.name.empty())
        return info;
    info.kind = LineKind::Entry;
    info.value_at = eq + 1;
    return info;
}

bool has_line_break(std::string_view s) {
    return s.find_first_of("\r\n") != std::string_view::npos;
}

bool valid_name(std::string_view s) {
    return !s.empty() && !has_line_break(s) && Trim(s) == s;
}

// Walks the lines and calls `visit(index, info, in_section)` for each, where in_section tells
// whether the line lies in a section named `section`. Stops when `visit` returns true.
template <typename Visit> void walk(const TextList& lines, std::string_view section, Visit visit) {
    bool inside = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        LineInfo info = classify(lines[i], i == 0);
        if (info.kind == LineKind::Section)
            inside = same_name(info.name, section);
        else if (info.kind == LineKind::BrokenSection)
            inside = false;
        if (visit(i, info, inside))
            return;
    }
}

} // namespace

IniFile IniFile::parse(std::string_view bytes) {
    IniFile ini;
    ini.lines_ = Split_Lines(bytes);
    return ini;
}

FileResult IniFile::load(const std::string& name, IniFile& out) {
    out = IniFile();
    if (!File_Exists(name) && !Dir_Exists(name))
        return FileResult::success();
    std::string bytes;
    FileResult r = Read_File(name, bytes);
    if (!r)
        return r;
    out = parse(bytes);
    return r;
}

FileResult IniFile::save(const std::string& name) const {
    return Write_File_Atomic(name, text());
}

bool IniFile::has_section(std::string_view section) const {
    bool found = false;
    walk(lines_, section, [&](std::size_t, const LineInfo& info, bool inside) {
        found = info.kind == LineKind::Section && inside;
        return found;
    });
    return found;
}

std::vector<std::string> IniFile::section_names() const {
    std::vector<std::string> names;
    std::unordered_set<std::string> seen; // upper-cased names: one look-up per header
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        LineInfo info = classify(lines_[i], i == 0);
        if (info.kind == LineKind::Section && seen.insert(Upper_Ascii(info.name)).second)
            names.push_back(std::move(info.name));
    }
    return names;
}

std::optional<std::string> IniFile::value(std::string_view section, std::string_view key) const {
    std::optional<std::string> result;
    walk(lines_, section, [&](std::size_t i, const LineInfo& info, bool inside) {
        if (inside && info.kind == LineKind::Entry && same_name(info.name, key))
            result = lines_[i].substr(info.value_at);
        return result.has_value();
    });
    return result;
}

std::string IniFile::read(std::string_view section, std::string_view key,
                          std::string_view fallback) const {
    auto v = value(section, key);
    return v ? *v : std::string(fallback);
}

IniEntries IniFile::entries(std::string_view section) const {
    IniEntries result;
    std::unordered_set<std::string> seen; // upper-cased keys; a language file has thousands
    walk(lines_, section, [&](std::size_t i, const LineInfo& info, bool inside) {
        if (inside && info.kind == LineKind::Entry && seen.insert(Upper_Ascii(info.name)).second)
            result.emplace_back(info.name, lines_[i].substr(info.value_at));
        return false;
    });
    return result;
}

std::vector<IniLine> IniFile::meaningful_lines() const {
    std::vector<IniLine> result;
    std::string section;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const LineInfo info = classify(lines_[i], i == 0);
        IniLine line;
        line.number = i + 1;
        if (info.kind == LineKind::Section) {
            line.kind = IniLine::Kind::Section;
            section = info.name;
        } else if (info.kind == LineKind::Entry) {
            line.kind = IniLine::Kind::Entry;
            line.key = info.name;
            line.value = Trim(std::string_view(lines_[i]).substr(info.value_at));
        } else {
            std::string_view text = lines_[i];
            if (i == 0 && text.substr(0, utf8_bom.size()) == utf8_bom)
                text.remove_prefix(utf8_bom.size());
            const std::string trimmed = Trim(text);
            if (info.kind != LineKind::BrokenSection &&
                (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#'))
                continue;
            section = info.kind == LineKind::BrokenSection ? std::string() : section;
        }
        line.section = section;
        result.push_back(std::move(line));
    }
    return result;
}

bool IniFile::set(std::string_view section, std::string_view key, std::string_view value) {
    if (!valid_name(section) || section.find(']') != std::string_view::npos || !valid_name(key) ||
        key.find('=') != std::string_view::npos || key.front() == '[' || key.front() == ';' ||
        key.front() == '#' || has_line_break(value))
        return false;

    std::optional<std::size_t> existing;
    std::optional<std::size_t> insert_after; // last non-blank line of the first such section
    bool first_section_done = false;
    bool was_inside = false;
    walk(lines_, section, [&](std::size_t i, const LineInfo& info, bool inside) {
        if (inside && info.kind == LineKind::Entry && same_name(info.name, key)) {
            existing = i;
            return true;
        }
        if (was_inside && !inside)
            first_section_done = true;
        was_inside = inside;
        if (inside && !first_section_done && !Trim(lines_[i]).empty())
            insert_after = i;
        return false;
    });

    std::string entry = std::string(key) + "=" + std::string(value);
    if (existing) {
        std::string& line = lines_[*existing];
        LineInfo info = classify(line, *existing == 0);
        line = line.substr(0, info.value_at) + std::string(value);
    } else if (insert_after) {
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(*insert_after + 1), entry);
    } else {
        lines_.push_back("[" + std::string(section) + "]");
        lines_.push_back(entry);
    }
    return true;
}

std::string INI_Get_Version(const std::string& file_name, std::string_view section,
                            std::string_view key) {
    IniFile ini;
    if (!IniFile::load(file_name, ini))
        return {};
    return ini.read(section, key, "");
}

FileResult INI_Set_Version(const std::string& file_name, std::string_view section,
                           std::string_view value) {
    IniFile ini;
    // A file that exists but cannot be read is left alone rather than replaced by one entry.
    if (FileResult r = IniFile::load(file_name, ini); !r)
        return r;
    if (!ini.set(section, "Version", value))
        return FileResult::failure("Cannot store the version \"" + std::string(value) +
                                   "\" in section \"" + std::string(section) + "\" of \"" +
                                   file_name + "\"");
    return ini.save(file_name);
}

} // namespace parvex

#include "language/lang_file.h"

#include "language/lang_codec.h"
#include "tables/subs.h"

#include <array>
#include <cstdint>
#include <unordered_map>

namespace parvex {

namespace {

// Code points of the bytes 0x80 .. 0x9F in Windows-1252; the five unused bytes keep their value.
constexpr std::array<std::uint16_t, 32> Cp1252_High{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void append_utf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

constexpr std::string_view utf8_bom = "\xEF\xBB\xBF";

} // namespace

bool Is_Valid_Utf8(std::string_view bytes) {
    std::size_t i = 0;
    const std::size_t n = bytes.size();
    while (i < n) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        int extra = 0;
        std::uint32_t cp = 0;
        std::uint32_t min = 0;
        if ((c & 0xE0) == 0xC0) {
            extra = 1;
            cp = c & 0x1F;
            min = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2;
            cp = c & 0x0F;
            min = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3;
            cp = c & 0x07;
            min = 0x10000;
        } else {
            return false;
        }
        if (i + static_cast<std::size_t>(extra) >= n)
            return false;
        for (int k = 1; k <= extra; ++k) {
            const auto cc = static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]);
            if ((cc & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        // Overlong forms, surrogates and code points beyond Unicode are not UTF-8.
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += static_cast<std::size_t>(extra) + 1;
    }
    return true;
}

std::string Lang_Bytes_To_Utf8(std::string_view bytes) {
    if (bytes.substr(0, utf8_bom.size()) == utf8_bom)
        bytes.remove_prefix(utf8_bom.size());
    if (Is_Valid_Utf8(bytes))
        return std::string(bytes);
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80)
            out += ch;
        else if (c < 0xA0)
            append_utf8(out, Cp1252_High[c - 0x80]);
        else
            append_utf8(out, c);
    }
    return out;
}

FileResult Load_Lang_Lines(const std::string& file, TextList& lines) {
    lines.clear();
    if (!File_Exists(file))
        return FileResult::success();
    std::string bytes;
    if (FileResult r = Read_File(file, bytes); !r)
        return r;
    lines = Split_Lines(Lang_Bytes_To_Utf8(bytes));
    return FileResult::success();
}

FileResult Load_Lang_File(const std::string& file, IniFile& out) {
    out = IniFile();
    if (!File_Exists(file))
        return FileResult::success();
    std::string bytes;
    if (FileResult r = Read_File(file, bytes); !r)
        return r;
    out = IniFile::parse(Lang_Bytes_To_Utf8(bytes));
    return FileResult::success();
}

FileResult Read_Translations(const std::string& file, std::vector<Lang_Entry>& out) {
    out.clear();
    IniFile ini;
    if (FileResult r = Load_Lang_File(file, ini); !r)
        return r;
    for (auto& [key, value] : ini.entries(Translations_Section))
        out.push_back({std::move(key), std::move(value)});
    return FileResult::success();
}

FileResult Write_Translations(const std::string& file, const std::vector<Lang_Entry>& entries) {
    // A new file: a repeated key (letter case ignored, as the readers do) keeps its first place
    // and takes the later value, as writing the entries one by one into the file would.
    TextList lines{"[" + std::string(Translations_Section) + "]"};
    std::unordered_map<std::string, std::size_t> line_of_key;
    for (const Lang_Entry& e : entries) {
        if (e.key.empty() || e.key.find_first_of("=\r\n") != std::string::npos ||
            e.key.front() == '[' || e.key.front() == ';' || e.key.front() == '#' ||
            Trim(e.key) != e.key || e.value.find_first_of("\r\n") != std::string::npos)
            return FileResult::failure("Cannot write the entry \"" + e.key + "\" into \"" + file +
                                       "\"");
        const auto [it, added] = line_of_key.emplace(Upper_Ascii(e.key), lines.size());
        if (added)
            lines.push_back(e.key + "=" + e.value);
        else {
            std::string& line = lines[it->second];
            line = line.substr(0, line.find('=') + 1) + e.value;
        }
    }
    return Save_Lines(file, lines);
}

FileResult Copy_Lang_File(const std::string& from, const std::string& to) {
    if (!File_Exists(from))
        return FileResult::failure("Cannot copy \"" + from + "\": the file does not exist");
    std::string bytes;
    if (FileResult r = Read_File(from, bytes); !r)
        return r;
    return Write_File_Atomic(to, bytes);
}

std::string Lang_Backup_Name(const std::string& file) {
    return file + ".bak";
}

FileResult Save_Lang_Lines(const std::string& file, const TextList& lines) {
    if (File_Exists(file)) {
        std::string old;
        if (FileResult r = Read_File(file, old); !r)
            return r;
        if (FileResult r = Write_File_Atomic(Lang_Backup_Name(file), old); !r)
            return r;
    }
    return Save_Lines(file, lines);
}

} // namespace parvex

#include "tables/subs.h"

#include <charconv>
#include <climits>
#include <filesystem>
#include <unistd.h>

namespace parvex {

std::string Left_Str(std::string_view s, long n) {
    if (n <= 0)
        return {};
    return std::string(s.substr(0, static_cast<std::size_t>(n)));
}

std::string Right_Str(std::string_view s, long n) {
    if (n < 0)
        n = 0;
    if (static_cast<std::size_t>(n) < s.size())
        return std::string(s.substr(s.size() - static_cast<std::size_t>(n)));
    return std::string(s);
}

std::string Capitalize_Words(std::string_view s) {
    std::string out(s);
    bool at_start = true;
    for (char& c : out) {
        if (c == ' ' || c == '-' || c == '.') {
            at_start = true;
        } else if (at_start) {
            // Bytes above 127 are never re-cased: they may be part of a UTF-8 sequence.
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 'a' + 'A');
            at_start = false;
        }
    }
    return out;
}

std::string Zero_Pad(long long number, int width) {
    return Right_Str("00000000000000" + std::to_string(number), width);
}

WordPos Extract_Word_Pos(long n, std::string_view s, std::string_view delims) {
    WordPos result;
    if (n < 1)
        return result;
    bool is_delim[256] = {};
    for (unsigned char d : delims)
        is_delim[d] = true;
    long count = 0;
    std::size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && is_delim[static_cast<unsigned char>(s[i])])
            ++i;
        if (i >= s.size())
            break;
        std::size_t start = i;
        while (i < s.size() && !is_delim[static_cast<unsigned char>(s[i])])
            ++i;
        if (++count == n) {
            result.word = std::string(s.substr(start, i - start));
            result.length = i - start;
            result.pos = start + 1;
            return result;
        }
    }
    return result;
}

std::string Extract_Word(long n, std::string_view s, std::string_view delims) {
    return Extract_Word_Pos(n, s, delims).word;
}

std::int32_t Str_To_Int_Def(std::string_view s, std::int32_t def) {
    if (s.empty())
        return def;
    std::string_view digits = s;
    bool negative = false;
    if (digits.front() == '+' || digits.front() == '-') {
        negative = digits.front() == '-';
        digits.remove_prefix(1);
    }
    if (digits.empty())
        return def;
    long long value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return def;
        value = value * 10 + (c - '0');
        if (value > static_cast<long long>(INT32_MAX) + 1)
            return def;
    }
    if (negative)
        value = -value;
    if (value < INT32_MIN || value > INT32_MAX)
        return def;
    return static_cast<std::int32_t>(value);
}

bool Is_True(std::string_view s) {
    return s == "True";
}

std::string Bool_To_Str(bool b) {
    return b ? "True" : "False";
}

std::string Int_To_Bin(std::uint32_t value, int digits) {
    if (digits <= 0)
        return {};
    if (digits > 32)
        digits = 32;
    std::string out;
    out.reserve(static_cast<std::size_t>(digits));
    for (int bit = digits - 1; bit >= 0; --bit)
        out.push_back(((value >> bit) & 1u) ? '1' : '0');
    return out;
}

bool Bit_Is_Set(std::uint32_t value, int n) {
    if (n < 1 || n > 16)
        return false;
    return Int_To_Bin(value, 16)[static_cast<std::size_t>(16 - n)] == '1';
}

std::int32_t Int_Power(std::int32_t base, std::uint16_t exp) {
    std::uint32_t result = 1;
    for (std::uint16_t i = 0; i < exp; ++i)
        result *= static_cast<std::uint32_t>(base); // wraps like 32-bit arithmetic
    return static_cast<std::int32_t>(result);
}

std::optional<double> Secs_To_Time(long long secs) {
    if (secs < 0 || secs >= 86400)
        return std::nullopt;
    long long h = secs / 3600, m = (secs % 3600) / 60, s = secs % 60;
    return static_cast<double>(h * 3600 + m * 60 + s) / 86400.0;
}

std::string Upper_Ascii(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}

std::string Lower_Ascii(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string_view Trimmed(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ')
        ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ')
        --e;
    return s.substr(b, e - b);
}

std::string Trim(std::string_view s) {
    return std::string(Trimmed(s));
}

std::string Exe_File_Name() {
    std::error_code ec;
    auto p = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return {};
    return p.string();
}

std::string Exe_Dir() {
    std::string exe = Exe_File_Name();
    auto slash = exe.rfind('/');
    if (slash == std::string::npos)
        return "./";
    return exe.substr(0, slash + 1);
}

std::string Data_Dir(std::string_view exe_dir) {
    return Add_Backslash(exe_dir) + "Data/";
}
std::string GUI_Data_Dir(std::string_view exe_dir) {
    return Add_Backslash(exe_dir) + "GUI/Data/";
}
std::string GUI_Lang_Dir(std::string_view exe_dir) {
    return Add_Backslash(exe_dir) + "GUI/Lang/";
}
std::string Dont_Dir(std::string_view exe_dir) {
    return Add_Backslash(exe_dir) + "Dont/";
}

std::string Ini_File_Name(std::string_view exe_file_name) {
    // Programs here carry no extension; a dot in one of the folders must not cut the path.
    auto slash = exe_file_name.rfind('/');
    std::string_view file_part =
        slash == std::string_view::npos ? exe_file_name : exe_file_name.substr(slash + 1);
    if (file_part.find('.') == std::string_view::npos)
        return std::string(exe_file_name) + ".INI";
    return Change_Ext(exe_file_name, "INI");
}

std::string Add_Backslash(std::string_view s) {
    std::string out(s);
    if (out.empty() || out.back() != '/')
        out.push_back('/');
    return out;
}

std::string Change_Ext(std::string_view name, std::string_view ext) {
    if (!ext.empty() && ext.front() == '.')
        ext.remove_prefix(1);
    auto dot = name.rfind('.');
    if (dot != std::string_view::npos)
        return std::string(name.substr(0, dot + 1)) + std::string(ext);
    return std::string(name) + "." + std::string(ext);
}

std::uint32_t Contrast_Color(std::uint32_t color) {
    std::uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        std::uint32_t component = (color >> shift) & 0xFFu;
        if (component < 128)
            out |= 0xFFu << shift;
    }
    return out;
}

} // namespace parvex

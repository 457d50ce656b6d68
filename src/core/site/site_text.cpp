#include "site/site_text.h"

#include "language/lang_file.h"
#include "richtext/rtf_reader.h"

#include <utility>
#include <vector>

namespace parvex::site {

namespace {
constexpr std::string_view kLast = "0123456789ABCDEFGHIJKLMNOPQRSTUV";
constexpr std::string_view kMore = "WXYZabcdefghijklmnopqrstuvwxyz#$";

int digit_of(char c, bool& last) {
    if (auto k = kLast.find(c); k != std::string_view::npos) {
        last = true;
        return static_cast<int>(k);
    }
    if (auto k = kMore.find(c); k != std::string_view::npos) {
        last = false;
        return static_cast<int>(k);
    }
    return -1;
}
} // namespace

std::string Html_Escape(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 8);
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string Url_Escape(std::string_view path) {
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(path.size() + 8);
    for (char ch : path) {
        const auto c = static_cast<unsigned char>(ch);
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
            c == '-' || c == '.' || c == '_' || c == '~' || c == '/') {
            out += ch;
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

void Append_Js_String(std::string& out, std::string_view utf8) {
    static constexpr char hex[] = "0123456789abcdef";
    out.reserve(out.size() + utf8.size() + 2);
    out += '"';
    std::size_t plain = 0; // the start of the bytes not yet appended, which need no escape
    auto flush = [&](std::size_t to) { out.append(utf8.data() + plain, to - plain); };
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c != '"' && c != '\\' && c != '\n' && c != '\r' && c != 0 && c != 0xE2 && c != '<')
            continue;
        if (c == 0xE2 && !(i + 2 < utf8.size() && utf8[i + 1] == '\x80' &&
                           (utf8[i + 2] == '\xA8' || utf8[i + 2] == '\xA9')))
            continue;
        if (c == '<' && !(i + 1 < utf8.size() && utf8[i + 1] == '/'))
            continue;
        flush(i);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
            plain = i + 1;
        } else if (c == '\n') {
            out += "\\n";
            plain = i + 1;
        } else if (c == '\r' || c == 0) {
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 15];
            plain = i + 1;
        } else if (c == 0xE2) {
            // Line and paragraph separators end a line in older script engines.
            out += utf8[i + 2] == '\xA8' ? "\\u2028" : "\\u2029";
            i += 2;
            plain = i + 1;
        } else { // "</": never "</script" in a script of a page
            out += "<\\/";
            ++i;
            plain = i + 1;
        }
    }
    flush(utf8.size());
    out += '"';
}

void Append_Display(std::string& out, std::string_view bytes, bool utf8) {
    std::size_t plain = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c == '\t' || (c >= 0x20 && c < 0x7F) || (c >= 0x80 && utf8))
            continue;
        out.append(bytes.data() + plain, i - plain);
        plain = i + 1;
        if (c < 0x20 || c == 0x7F)
            rich::Append_Utf8(out, c == 0x7F ? char32_t{0x2421} : char32_t{0x2400} + c);
        else
            rich::Append_Utf8(out, c); // Latin-1
    }
    out.append(bytes.data() + plain, bytes.size() - plain);
}

std::string Display_Name(std::string_view bytes) {
    std::string out;
    Append_Display(out, bytes, Is_Valid_Utf8(bytes));
    return out;
}

void Append_Upper_Ascii(std::string& out, std::string_view text) {
    for (char c : text)
        out += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

std::uint32_t Key_Hash(std::string_view utf8) {
    std::uint32_t h = 0x811C9DC5u;
    auto unit = [&](std::uint32_t u) { h = (h ^ u) * 0x01000193u; };
    for (std::size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        std::uint32_t cp = c;
        int extra = 0;
        if (c >= 0xF0) {
            cp = c & 0x07;
            extra = 3;
        } else if (c >= 0xE0) {
            cp = c & 0x0F;
            extra = 2;
        } else if (c >= 0xC0) {
            cp = c & 0x1F;
            extra = 1;
        }
        ++i;
        for (int k = 0; k < extra && i < utf8.size(); ++k, ++i)
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i]) & 0x3F);
        if (cp >= 0x10000) {
            cp -= 0x10000;
            unit(0xD800 + (cp >> 10));
            unit(0xDC00 + (cp & 0x3FF));
        } else {
            unit(cp);
        }
    }
    return h;
}

void Append_Varint(std::string& out, std::uint64_t value) {
    while (value >= 32) {
        out += kMore[value & 31];
        value >>= 5;
    }
    out += kLast[value];
}

bool Read_Varint(std::string_view text, std::size_t& at, std::uint64_t& value) {
    value = 0;
    int shift = 0;
    while (at < text.size() && shift < 64) {
        bool last = false;
        const int d = digit_of(text[at], last);
        if (d < 0)
            return false;
        ++at;
        value |= static_cast<std::uint64_t>(d) << shift;
        if (last)
            return true;
        shift += 5;
    }
    return false;
}

std::vector<std::string> Cut_Occurrences(std::string_view stream, std::size_t part_bytes) {
    std::vector<std::string> parts;
    std::size_t at = 0;
    std::int64_t file = -1;
    std::string* part = nullptr;
    while (at < stream.size()) {
        const std::size_t start = at;
        std::uint64_t v = 0;
        if (!Read_Varint(stream, at, v))
            break;
        if (v & 1) { // a new file, then its first line
            file += static_cast<std::int64_t>((v + 1) / 2);
            const std::size_t line_at = at;
            if (!Read_Varint(stream, at, v))
                break;
            if (!part || part->size() >= part_bytes) {
                part = &parts.emplace_back();
                Append_Varint(*part, 2ull * static_cast<std::uint64_t>(file + 1) - 1);
                part->append(stream.substr(line_at, at - line_at));
                continue;
            }
        }
        part->append(stream.substr(start, at - start));
    }
    return parts;
}

std::vector<std::pair<std::uint32_t, std::vector<std::uint32_t>>>
Occurrence_Groups(std::string_view stream) {
    std::vector<std::pair<std::uint32_t, std::vector<std::uint32_t>>> groups;
    std::size_t at = 0;
    std::int64_t file = -1;
    std::uint64_t line = 0;
    while (at < stream.size()) {
        std::uint64_t v = 0;
        if (!Read_Varint(stream, at, v))
            break;
        if (v & 1) {
            file += static_cast<std::int64_t>((v + 1) / 2);
            if (!Read_Varint(stream, at, line))
                break;
            groups.push_back({static_cast<std::uint32_t>(file), {}});
        } else if (groups.empty()) {
            break;
        } else {
            line += v / 2;
        }
        groups.back().second.push_back(static_cast<std::uint32_t>(line));
    }
    return groups;
}

} // namespace parvex::site

#include "name_quote.h"

#include <algorithm>

namespace parvex::cli {

namespace {

bool is_control(unsigned char c) {
    return c < 0x20 || c == 0x7F;
}

void append_escaped(std::string& out, unsigned char c) {
    out += '\\';
    switch (c) {
    case '\a':
        out += 'a';
        return;
    case '\b':
        out += 'b';
        return;
    case '\t':
        out += 't';
        return;
    case '\n':
        out += 'n';
        return;
    case '\v':
        out += 'v';
        return;
    case '\f':
        out += 'f';
        return;
    case '\r':
        out += 'r';
        return;
    case '"':
        out += '"';
        return;
    case '\\':
        out += '\\';
        return;
    default: // three octal digits
        out += static_cast<char>('0' + ((c >> 6) & 7));
        out += static_cast<char>('0' + ((c >> 3) & 7));
        out += static_cast<char>('0' + (c & 7));
    }
}

} // namespace

std::string Quote_Name(std::string_view name) {
    const bool plain = std::none_of(name.begin(), name.end(), [](char ch) {
        const auto c = static_cast<unsigned char>(ch);
        return is_control(c) || c == '"' || c == '\\';
    });
    if (plain)
        return std::string(name);
    std::string out = "\"";
    for (char ch : name) {
        const auto c = static_cast<unsigned char>(ch);
        if (is_control(c) || c == '"' || c == '\\')
            append_escaped(out, c);
        else
            out += ch;
    }
    return out + '"';
}

std::string Escape_Controls(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (is_control(c))
            append_escaped(out, c);
        else
            out += ch;
    }
    return out;
}

} // namespace parvex::cli

#include "verify/rewrite_check.h"

#include "verify/code_reader.h"

#include <algorithm>
#include <vector>

namespace parvex {

namespace {

bool is_ascii_letter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

std::string shown(char c) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 0x20 && u < 0x7f)
        return std::string("'") + c + "'";
    static const char* hex = "0123456789ABCDEF";
    return std::string("byte $") + hex[u >> 4] + hex[u & 15];
}

RewriteCheck refuse(std::size_t line, std::string reason) {
    return {false, line, std::move(reason)};
}

RewriteCheck compare(const std::vector<std::string_view>& old_lines,
                     const std::vector<std::string_view>& new_lines) {
    if (old_lines.size() != new_lines.size()) {
        const std::size_t first = std::min(old_lines.size(), new_lines.size()) + 1;
        return refuse(first, "the new text has " + std::to_string(new_lines.size()) +
                                 " lines, the source " + std::to_string(old_lines.size()));
    }
    CodeReader old_reader, new_reader;
    CodeLine was, now;
    for (std::size_t n = 0; n < old_lines.size(); ++n) {
        if (old_lines[n] == new_lines[n] && old_reader == new_reader) {
            // Equal lines read in equal states are equal without the remarks too.
            old_reader.Skip_Line(old_lines[n]);
            new_reader = old_reader;
            continue;
        }
        old_reader.Read_Line(old_lines[n], was);
        new_reader.Read_Line(new_lines[n], now);
        const std::size_t common = std::min(was.text.size(), now.text.size());
        for (std::size_t k = 0; k < common; ++k) {
            const char a = was.text[k], b = now.text[k];
            if (a == b)
                continue;
            const bool recased = is_ascii_letter(a) && (a | 0x20) == (b | 0x20);
            if (!recased)
                return refuse(n + 1, shown(a) + " became " + shown(b) + " (column " +
                                         std::to_string(k + 1) + " without remarks)");
            if (was.kinds[k] != ByteKind::Code)
                return refuse(n + 1,
                              std::string("letter case changed inside a ") +
                                  (was.kinds[k] == ByteKind::Literal ? "literal" : "comment") +
                                  " (column " + std::to_string(k + 1) + " without remarks)");
        }
        if (was.text.size() != now.text.size())
            return refuse(n + 1, std::string("the new line is ") +
                                     (now.text.size() > was.text.size() ? "longer" : "shorter") +
                                     " than the source line beyond its remarks");
    }
    return {};
}

} // namespace

RewriteCheck Check_Rewrite(std::string_view source, const TextList& rewritten) {
    std::vector<std::string_view> new_lines(rewritten.begin(), rewritten.end());
    for (std::size_t n = 0; n < new_lines.size(); ++n)
        if (new_lines[n].find_first_of("\r\n") != std::string_view::npos)
            return refuse(n + 1, "a line of the new text holds a line end");
    return compare(Text_Lines(source), new_lines);
}

RewriteCheck Check_Rewrite(std::string_view source, std::string_view rewritten) {
    return compare(Text_Lines(source), Text_Lines(rewritten));
}

} // namespace parvex

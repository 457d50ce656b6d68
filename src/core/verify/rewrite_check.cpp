#include "verify/rewrite_check.h"

#include <vector>

namespace parvex {

namespace {

// The lines of a text as views: CR LF, LF and CR each end a line, and a final line end starts
// no further line. Written here again on purpose, so that a fault in the listing's own reader
// cannot hide itself.
std::vector<std::string_view> lines_of(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\n' && c != '\r')
            continue;
        lines.push_back(text.substr(start, i - start));
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

enum class Kind : unsigned char { Code, Comment, Literal };
enum class Open : unsigned char { None, Brace, Paren };

// One line with the remarks taken out, and for every byte left whether it stands in code.
struct Reading {
    std::string text;
    std::vector<Kind> kinds;
};

bool is_word_char(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           u >= 0x80;
}

// Length of a remark "{ of NAME }" at `pos` (NAME holds no "}"), or 0.
std::size_t remark_length(std::string_view line, std::size_t pos) {
    constexpr std::string_view head = "{ of ";
    if (line.substr(pos, head.size()) != head)
        return 0;
    const std::size_t close = line.find('}', pos + head.size());
    if (close == std::string_view::npos || line[close - 1] != ' ' || close - 1 < pos + head.size())
        return 0;
    return close + 1 - pos;
}

class Reader {
public:
    // Reads one line, carrying an open comment over from the line before.
    void read(std::string_view line, Reading& r) {
        r.text.clear();
        r.kinds.clear();
        std::size_t i = 0;
        auto take = [&](std::size_t to, Kind kind) {
            r.text.append(line.substr(i, to - i));
            r.kinds.insert(r.kinds.end(), to - i, kind);
            i = to;
        };
        while (i < line.size()) {
            if (open_ != Open::None) {
                const std::size_t close =
                    open_ == Open::Brace ? line.find('}', i) : line.find("*)", i);
                if (close == std::string_view::npos) {
                    take(line.size(), Kind::Comment);
                    break;
                }
                take(close + (open_ == Open::Brace ? 1 : 2), Kind::Comment);
                open_ = Open::None;
                continue;
            }
            const char c = line[i];
            if (c == '\'' || c == '"') {
                // To the next quote of the same kind that is not doubled; a quote that is
                // never closed on its line is an ordinary character.
                std::size_t k = i + 1;
                while (k < line.size()) {
                    if (line[k] == c) {
                        if (k + 1 < line.size() && line[k + 1] == c) {
                            k += 2;
                            continue;
                        }
                        break;
                    }
                    ++k;
                }
                if (k >= line.size())
                    take(i + 1, Kind::Code);
                else
                    take(k + 1, Kind::Literal);
            } else if (c == '{') {
                if (const std::size_t len = remark_length(line, i)) {
                    // A remark goes with one blank in front of it, unless taking it out would
                    // join two words: then it stays and is compared like any other text.
                    const bool blank =
                        !r.text.empty() && r.text.back() == ' ' && r.kinds.back() == Kind::Code;
                    const std::size_t before = r.text.size() - (blank ? 1 : 0);
                    const bool joins = before > 0 && is_word_char(r.text[before - 1]) &&
                                       i + len < line.size() && is_word_char(line[i + len]);
                    if (!joins) {
                        r.text.resize(before);
                        r.kinds.resize(before);
                        i += len;
                        continue;
                    }
                }
                open_ = Open::Brace;
                take(i + 1, Kind::Comment);
            } else if (c == '(' && i + 1 < line.size() && line[i + 1] == '*') {
                open_ = Open::Paren;
                take(i + 2, Kind::Comment);
            } else if (c == '/' && i + 1 < line.size() && line[i + 1] == '/') {
                take(line.size(), Kind::Comment);
            } else {
                take(i + 1, Kind::Code);
            }
        }
    }

private:
    Open open_ = Open::None;
};

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
    Reader old_reader, new_reader;
    Reading was, now;
    for (std::size_t n = 0; n < old_lines.size(); ++n) {
        old_reader.read(old_lines[n], was);
        new_reader.read(new_lines[n], now);
        const std::size_t common = std::min(was.text.size(), now.text.size());
        for (std::size_t k = 0; k < common; ++k) {
            const char a = was.text[k], b = now.text[k];
            if (a == b)
                continue;
            const bool recased = is_ascii_letter(a) && (a | 0x20) == (b | 0x20);
            if (!recased)
                return refuse(n + 1, shown(a) + " became " + shown(b) + " (column " +
                                         std::to_string(k + 1) + " without remarks)");
            if (was.kinds[k] != Kind::Code)
                return refuse(n + 1, std::string("letter case changed inside a ") +
                                         (was.kinds[k] == Kind::Literal ? "literal" : "comment") +
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
    return compare(lines_of(source), new_lines);
}

RewriteCheck Check_Rewrite(std::string_view source, std::string_view rewritten) {
    return compare(lines_of(source), lines_of(rewritten));
}

} // namespace parvex

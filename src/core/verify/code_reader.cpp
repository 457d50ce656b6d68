#include "verify/code_reader.h"

namespace parvex {

// Written here again on purpose, so that a fault in the listing's own reader cannot hide itself.
std::vector<std::string_view> Text_Lines(std::string_view text) {
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

namespace {

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

} // namespace

void CodeReader::Read_Line(std::string_view line, CodeLine& r) {
    r.text.clear();
    r.kinds.clear();
    std::size_t i = 0;
    auto take = [&](std::size_t to, ByteKind kind) {
        r.text.append(line.substr(i, to - i));
        r.kinds.insert(r.kinds.end(), to - i, kind);
        i = to;
    };
    while (i < line.size()) {
        if (open_ != Open::None) {
            const std::size_t close = open_ == Open::Brace ? line.find('}', i) : line.find("*)", i);
            if (close == std::string_view::npos) {
                take(line.size(), ByteKind::Comment);
                break;
            }
            take(close + (open_ == Open::Brace ? 1 : 2), ByteKind::Comment);
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
                take(i + 1, ByteKind::Code);
            else
                take(k + 1, ByteKind::Literal);
        } else if (c == '{') {
            if (const std::size_t len = remark_length(line, i)) {
                // A remark goes with one blank in front of it, unless taking it out would
                // join two words: then it stays and is compared like any other text.
                const bool blank =
                    !r.text.empty() && r.text.back() == ' ' && r.kinds.back() == ByteKind::Code;
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
            take(i + 1, ByteKind::Comment);
        } else if (c == '(' && i + 1 < line.size() && line[i + 1] == '*') {
            open_ = Open::Paren;
            take(i + 2, ByteKind::Comment);
        } else if (c == '/' && i + 1 < line.size() && line[i + 1] == '/') {
            take(line.size(), ByteKind::Comment);
        } else {
            take(i + 1, ByteKind::Code);
        }
    }
}

} // namespace parvex

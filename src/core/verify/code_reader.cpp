#include "verify/code_reader.h"

#include <array>
#include <cstring>

namespace parvex {

// Written here again on purpose, so that a fault in the listing's own reader cannot hide itself.
bool LineCursor::Next(std::string_view& line) {
    if (p_ >= end_)
        return false;
    auto find = [](const char* from, const char* to, char c) {
        return static_cast<const char*>(std::memchr(from, c, static_cast<std::size_t>(to - from)));
    };
    if (!stop_known_) {
        lf_ = find(p_, end_, '\n');
        stop_ = lf_ ? lf_ : end_;
        stop_known_ = true;
    }
    // The next CR is looked for again only once it lies behind: a text with LF line ends is
    // searched for one once, not line by line.
    if (!cr_known_ || cr_ < p_) {
        cr_ = find(p_, end_, '\r');
        if (!cr_)
            cr_ = end_;
        cr_known_ = true;
    }
    // A CR that is not the last byte before the LF (or the end) ends a line of its own.
    if (const char* cr = cr_ < stop_ ? cr_ : nullptr) {
        line = std::string_view(p_, static_cast<std::size_t>(cr - p_));
        p_ = cr + 1;
        if (p_ == stop_) {
            if (lf_)
                ++p_; // CR LF
            stop_known_ = false;
        }
        return true;
    }
    line = std::string_view(p_, static_cast<std::size_t>(stop_ - p_));
    p_ = stop_ + 1;
    stop_known_ = false;
    return true;
}

std::vector<std::string_view> Text_Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    lines.reserve(text.size() / 32 + 1);
    LineCursor cursor(text);
    for (std::string_view line; cursor.Next(line);)
        lines.push_back(line);
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

// Bytes that may open a literal or a comment; every other byte of code is taken in runs.
constexpr std::array<bool, 256> kOpens = [] {
    std::array<bool, 256> t{};
    for (unsigned char c : std::string_view("\"'(/{"))
        t[c] = true;
    return t;
}();

bool Recased_Plain_Code(std::string_view line, std::string_view other) {
    if (line.size() != other.size())
        return false;
    const std::size_t n = line.size();
    for (std::size_t k = 0; k < n; ++k) {
        const char a = line[k], b = other[k];
        if (kOpens[static_cast<unsigned char>(a)]) {
            // Where the letters alone differ, the other line opens the same there.
            if (a == '\'' || a == '"' || a == '{')
                return false;
            if (k + 1 < n && ((a == '(' && line[k + 1] == '*') || (a == '/' && line[k + 1] == '/')))
                return false;
        }
        if (a != b && !(((a >= 'a' && a <= 'z') || (a >= 'A' && a <= 'Z')) && (a ^ b) == 0x20))
            return false;
    }
    return true;
}

template <bool Build> void CodeReader::scan(std::string_view line, CodeLine* r) {
    if constexpr (Build) {
        r->text.clear();
        r->kinds.clear();
    }
    std::size_t i = 0;
    auto take = [&](std::size_t to, ByteKind kind) {
        if constexpr (Build) {
            r->text.append(line.data() + i, to - i);
            r->kinds.resize(r->kinds.size() + (to - i), kind);
        }
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
            if constexpr (Build) {
                if (const std::size_t len = remark_length(line, i)) {
                    // A remark goes with one blank in front of it, unless taking it out would
                    // join two words: then it stays and is compared like any other text.
                    const bool blank = !r->text.empty() && r->text.back() == ' ' &&
                                       r->kinds.back() == ByteKind::Code;
                    const std::size_t before = r->text.size() - (blank ? 1 : 0);
                    const bool joins = before > 0 && is_word_char(r->text[before - 1]) &&
                                       i + len < line.size() && is_word_char(line[i + len]);
                    if (!joins) {
                        r->text.resize(before);
                        r->kinds.resize(before);
                        i += len;
                        continue;
                    }
                }
            }
            // (Skipped, a remark is a comment that closes on its own line like any other.)
            open_ = Open::Brace;
            take(i + 1, ByteKind::Comment);
        } else if (c == '(' && i + 1 < line.size() && line[i + 1] == '*') {
            open_ = Open::Paren;
            take(i + 2, ByteKind::Comment);
        } else if (c == '/' && i + 1 < line.size() && line[i + 1] == '/') {
            take(line.size(), ByteKind::Comment);
        } else {
            std::size_t k = i + 1;
            while (k < line.size() && !kOpens[static_cast<unsigned char>(line[k])])
                ++k;
            take(k, ByteKind::Code);
        }
    }
}

void CodeReader::Read_Line(std::string_view line, CodeLine& out) {
    scan<true>(line, &out);
}

void CodeReader::Skip_Line(std::string_view line) {
    scan<false>(line, nullptr);
}

} // namespace parvex

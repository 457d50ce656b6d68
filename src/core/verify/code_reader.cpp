#include "verify/code_reader.h"

#include <array>
#include <bit>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace parvex {

namespace {
// The first CR or LF at or after `p`, or `end`; sixteen bytes at a time where SSE2 is there.
const char* line_end_from(const char* p, const char* end) {
#if defined(__SSE2__)
    const __m128i lf = _mm_set1_epi8('\n'), cr = _mm_set1_epi8('\r');
    for (; end - p >= 16; p += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const int hits =
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, lf), _mm_cmpeq_epi8(v, cr)));
        if (hits != 0)
            return p + std::countr_zero(static_cast<unsigned>(hits));
    }
#endif
    while (p < end && *p != '\n' && *p != '\r')
        ++p;
    return p;
}
} // namespace

// Written here again on purpose, so that a fault in the listing's own reader cannot hide itself.
bool LineCursor::Next(std::string_view& line) {
    if (p_ >= end_)
        return false;
    const char* stop = line_end_from(p_, end_);
    line = std::string_view(p_, static_cast<std::size_t>(stop - p_));
    Skip(line.size()); // and LF, CR LF or a CR alone
    return true;
}

void LineCursor::Skip(std::size_t length) {
    p_ += length;
    if (p_ < end_) {
        const bool cr = *p_ == '\r';
        ++p_;
        if (cr && p_ < end_ && *p_ == '\n')
            ++p_;
    }
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

namespace {

#if defined(__SSE2__)
// Sixteen bytes at a time: a bit for each byte that may open a literal or a comment.
inline unsigned opens_in(__m128i v) {
    const __m128i hits = _mm_or_si128(
        _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('\'')), _mm_cmpeq_epi8(v, _mm_set1_epi8('"'))),
        _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('(')),
                                  _mm_cmpeq_epi8(v, _mm_set1_epi8('/'))),
                     _mm_cmpeq_epi8(v, _mm_set1_epi8('{'))));
    return static_cast<unsigned>(_mm_movemask_epi8(hits));
}
inline __m128i load16(const char* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
#endif

// Where the run of code that starts at `from` ends: at the next byte that may open a literal
// or a comment, or at the end of the line.
std::size_t code_run_end(std::string_view line, std::size_t from) {
    std::size_t k = from;
#if defined(__SSE2__)
    for (; k + 16 <= line.size(); k += 16)
        if (const unsigned hits = opens_in(load16(line.data() + k)))
            return k + static_cast<std::size_t>(__builtin_ctz(hits));
#endif
    while (k < line.size() && !kOpens[static_cast<unsigned char>(line[k])])
        ++k;
    return k;
}

// The other line's bytes from `from` to `to` differ from the line's at most in the letter case
// of ASCII letters.
bool recased_run(std::string_view line, std::string_view other, std::size_t from, std::size_t to) {
    auto same_letter = [&](std::size_t k) { return Same_But_Case(line[k], other[k]); };
    std::size_t k = from;
#if defined(__SSE2__)
    // Most bytes are equal: only the others are looked at one by one.
    for (; k + 16 <= to; k += 16) {
        unsigned differ = ~static_cast<unsigned>(_mm_movemask_epi8(
                              _mm_cmpeq_epi8(load16(line.data() + k), load16(other.data() + k)))) &
                          0xFFFFu;
        for (; differ != 0; differ &= differ - 1)
            if (!same_letter(k + static_cast<std::size_t>(__builtin_ctz(differ))))
                return false;
    }
#endif
    for (; k < to; ++k)
        if (!same_letter(k))
            return false;
    return true;
}

} // namespace

template <CodeReader::Mode M>
bool CodeReader::scan(std::string_view line, CodeLine* r, std::string_view other) {
    constexpr bool Build = M == Mode::Build;
    if constexpr (Build) {
        r->text.clear();
        r->kinds.clear();
    }
    std::size_t i = 0;
    bool same = true;
    auto take = [&](std::size_t to, ByteKind kind) {
        if constexpr (Build) {
            r->text.append(line.data() + i, to - i);
            r->kinds.resize(r->kinds.size() + (to - i), kind);
        }
        if constexpr (M == Mode::Compare)
            same = kind == ByteKind::Code ? recased_run(line, other, i, to)
                                          : line.substr(i, to - i) == other.substr(i, to - i);
        i = to;
    };
    while (i < line.size() && same) {
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
            take(code_run_end(line, i + 1), ByteKind::Code);
        }
    }
    return same;
}

void CodeReader::Read_Line(std::string_view line, CodeLine& out) {
    scan<Mode::Build>(line, &out, {});
}

void CodeReader::Skip_Line(std::string_view line) {
    scan<Mode::Skip>(line, nullptr, {});
}

bool CodeReader::Read_Recased(std::string_view line, std::string_view other) {
    if (line.size() != other.size())
        return false;
    const Open before = open_;
    if (scan<Mode::Compare>(line, nullptr, other))
        return true;
    open_ = before;
    return false;
}

} // namespace parvex

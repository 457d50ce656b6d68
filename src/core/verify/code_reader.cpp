#include "verify/code_reader.h"

#include <array>
#include <bit>
#include <cstring>
#include <type_traits>
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
    line_end_ = p_;
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

bool is_letter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool is_word_char(char c) {
    const auto u = static_cast<unsigned char>(c);
    return is_letter(c) || (c >= '0' && c <= '9') || c == '_' || u >= 0x80;
}

constexpr std::size_t kNone = std::string_view::npos;

std::size_t apostrophes_at(std::string_view line, std::size_t at) {
    std::size_t k = at;
    while (k < line.size() && line[k] == '\'')
        ++k;
    return k - at;
}

// An odd run of three apostrophes or more with nothing but blanks behind it on its line opens a
// text block (no literal of one line ends that way). Its length, or 0.
std::size_t block_opening(std::string_view line, std::size_t at) {
    const std::size_t n = apostrophes_at(line, at);
    if (n < 3 || n % 2 == 0)
        return 0;
    const std::size_t rest = line.find_first_not_of(" \t", at + n);
    return rest == kNone ? n : 0;
}

// Where a text block of `n` apostrophes ends on this line, or kNone: its closing line starts,
// behind blanks, with exactly as many apostrophes (more might be text: the block goes on).
std::size_t block_closing(std::string_view line, std::size_t n) {
    std::size_t k = line.find_first_not_of(" \t");
    if (k == kNone)
        return kNone;
    return apostrophes_at(line, k) == n ? k + n : kNone;
}

// The backtick that ends a backtick literal from `from` on, a doubled one being part of it.
std::size_t tick_closing(std::string_view line, std::size_t from) {
    std::size_t k = line.find('`', from);
    while (k != kNone && k + 1 < line.size() && line[k + 1] == '`')
        k = line.find('`', k + 2);
    return k;
}

// The end of a literal of one line opened by the quote at `at`, or kNone.
std::size_t quoted_end(std::string_view line, std::size_t at) {
    const char q = line[at];
    for (std::size_t k = at + 1; k < line.size(); ++k) {
        if (line[k] != q)
            continue;
        if (k + 1 < line.size() && line[k + 1] == q) {
            ++k;
            continue;
        }
        return k + 1;
    }
    return kNone;
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
    for (unsigned char c : std::string_view("\"'(/{`^"))
        t[c] = true;
    return t;
}();

namespace {

#if defined(__SSE2__)
// Sixteen bytes at a time: a bit for each byte that may open a literal or a comment, and with
// `Carets` for each caret.
template <bool Carets> inline unsigned opens_in(__m128i v) {
    __m128i hits = _mm_or_si128(_mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('\'')),
                                                          _mm_cmpeq_epi8(v, _mm_set1_epi8('"'))),
                                             _mm_cmpeq_epi8(v, _mm_set1_epi8('`'))),
                                _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('(')),
                                                          _mm_cmpeq_epi8(v, _mm_set1_epi8('/'))),
                                             _mm_cmpeq_epi8(v, _mm_set1_epi8('{'))));
    if constexpr (Carets)
        hits = _mm_or_si128(hits, _mm_cmpeq_epi8(v, _mm_set1_epi8('^')));
    return static_cast<unsigned>(_mm_movemask_epi8(hits));
}
inline __m128i load16(const char* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
#endif

// A caret ends a run of code only where the letter of a control character may follow it ("^M");
// at "p^.x" or "^TFoo" the run goes on.
bool ends_run(const char* p, const char* end) {
    return *p != '^' || (p + 1 < end && is_letter(p[1]) && (p + 2 >= end || !is_word_char(p[2])));
}

// Where the run of code that starts at `from` ends: at the next byte that may open a literal
// or a comment or, with `Carets`, at a caret that the letter of a control character follows.
template <bool Carets> std::size_t code_run_end(std::string_view line, std::size_t from) {
    const char* p = line.data() + from;
    const char* const end = line.data() + line.size();
#if defined(__SSE2__)
    for (; end - p >= 16; p += 16)
        for (unsigned hits = opens_in<Carets>(load16(p)); hits != 0; hits &= hits - 1)
            if (const char* at = p + __builtin_ctz(hits); !Carets || ends_run(at, end))
                return static_cast<std::size_t>(at - line.data());
#endif
    for (;; ++p) {
        while (p < end && !kOpens[static_cast<unsigned char>(*p)])
            ++p;
        if (p == end || *p != '^' || (Carets && ends_run(p, end)))
            return static_cast<std::size_t>(p - line.data());
    }
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

void CodeReader::read_nesting(std::string_view line, std::size_t from,
                              std::vector<std::pair<std::size_t, std::size_t>>& literals) {
    Nesting& n = nesting_;
    std::size_t i = from;
    while (i < line.size()) {
        if (n.open == Open::Brace || n.open == Open::Paren) {
            const bool brace = n.open == Open::Brace;
            const std::string_view opener = brace ? "{" : "(*", closer = brace ? "}" : "*)";
            const std::size_t up = line.find(opener, i), down = line.find(closer, i);
            if (down == kNone && up == kNone)
                return;
            if (up < down) {
                ++n.depth;
                i = up + opener.size();
            } else {
                i = down + closer.size();
                if (--n.depth == 0)
                    n.open = Open::None;
            }
            continue;
        }
        if (n.open == Open::Block || n.open == Open::Tick) {
            const std::size_t close =
                n.open == Open::Block ? block_closing(line, n.quotes) : tick_closing(line, i);
            const std::size_t to = close == kNone          ? line.size()
                                   : n.open == Open::Block ? close
                                                           : close + 1;
            literals.emplace_back(i, to);
            if (close == kNone)
                return;
            n.open = Open::None;
            i = to;
            continue;
        }
        const char c = line[i];
        if (c == '{' || (c == '(' && line.substr(i, 2) == "(*")) {
            n.open = c == '{' ? Open::Brace : Open::Paren;
            n.depth = 1;
            i += c == '{' ? 1 : 2;
        } else if (c == '/' && line.substr(i, 2) == "//") {
            return;
        } else if (c == '\'' && (n.quotes = block_opening(line, i)) != 0) {
            literals.emplace_back(i, line.size());
            n.open = Open::Block;
            return;
        } else if (c == '`') {
            n.open = Open::Tick;
            ++i;
            literals.emplace_back(i - 1, i);
        } else if (c == '\'' || c == '"') {
            const std::size_t e = quoted_end(line, i);
            if (e != kNone)
                literals.emplace_back(i, e);
            i = e != kNone ? e : i + 1;
        } else {
            ++i;
        }
    }
}

template <CodeReader::Mode M>
inline bool CodeReader::scan(std::string_view line, CodeLine* r, std::string_view other) {
    constexpr bool Build = M == Mode::Build;
    // Skipped lines change no state at a caret: only lines that are compared or built look at them.
    constexpr bool Carets = M != Mode::Skip;
    if constexpr (Build) {
        r->text.clear();
        r->kinds.clear();
    }
    std::size_t i = 0;
    bool same = true;
    ByteKind last = ByteKind::Comment; // of the byte before i (a line starts as after a comment)
    std::size_t code_since = 0;        // where the code that ends at i began
    // The remarks taken out, as [from, to) of the line (only a line that is built takes any out).
    [[maybe_unused]] std::conditional_t<Build, std::vector<std::pair<std::size_t, std::size_t>>,
                                        std::nullptr_t>
        removed{};
    std::size_t nesting_from = nesting_.on ? 0 : kNone;
    auto take = [&](std::size_t to, ByteKind kind) __attribute__((always_inline)) {
        if constexpr (Build) {
            r->text.append(line.data() + i, to - i);
            r->kinds.resize(r->kinds.size() + (to - i), kind);
        }
        if constexpr (M == Mode::Compare)
            same = kind == ByteKind::Code ? recased_run(line, other, i, to)
                                          : line.substr(i, to - i) == other.substr(i, to - i);
        if constexpr (Carets) {
            if (kind == ByteKind::Code && last != ByteKind::Code)
                code_since = i;
            last = kind;
        }
        i = to;
    };
    // A comment of one kind holds an opener of the same kind before `to`: read with nesting,
    // it goes on further.
    auto watch = [&](Open kind, std::size_t to) {
        if (nesting_.on)
            return;
        const std::string_view inside = line.substr(0, to);
        const std::size_t at = kind == Open::Brace ? inside.find('{', i) : inside.find("(*", i);
        if (at == kNone)
            return;
        if constexpr (M == Mode::Compare)
            same = false; // read it the long way
        nesting_ = {true, kind, 1, 0};
        nesting_from = at;
    };
    while (i < line.size() && same) {
        if (open_ == Open::None) [[likely]] {
            // (below)
        } else if (open_ == Open::Block || open_ == Open::Tick) {
            const std::size_t close =
                open_ == Open::Block ? block_closing(line, block_quotes_) : tick_closing(line, i);
            if (close == kNone) {
                take(line.size(), ByteKind::Literal);
                break;
            }
            take(open_ == Open::Block ? close : close + 1, ByteKind::Literal);
            open_ = Open::None;
            continue;
        } else {
            const std::size_t close = open_ == Open::Brace ? line.find('}', i) : line.find("*)", i);
            watch(open_, close == kNone ? line.size() : close);
            if (!same)
                break;
            if (close == kNone) {
                take(line.size(), ByteKind::Comment);
                break;
            }
            take(close + (open_ == Open::Brace ? 1 : 2), ByteKind::Comment);
            open_ = Open::None;
            continue;
        }
        switch (line[i]) {
        case '\'':
        case '"':
            if (line[i] == '\'' && (block_quotes_ = block_opening(line, i)) != 0) {
                open_ = Open::Block;
                take(line.size(), ByteKind::Literal);
            } else if (const std::size_t e = quoted_end(line, i); e != kNone) {
                take(e, ByteKind::Literal);
            } else {
                // A quote that is never closed on its line is an ordinary character.
                take(i + 1, ByteKind::Code);
            }
            break;
        case '`':
            open_ = Open::Tick;
            take(i + 1, ByteKind::Literal);
            break;
        case '^': {
            if constexpr (!Carets) {
                take(code_run_end<Carets>(line, i + 1), ByteKind::Code);
                break;
            }
            // The letter of "^M" is part of a character's value, unless the caret follows a name,
            // ")", "]" or a caret and so dereferences. A number ("#13^M") is no name.
            bool deref = false;
            if (i > 0 && last == ByteKind::Code) {
                const char b = line[i - 1];
                if (b == ')' || b == ']' || b == '^') {
                    deref = true;
                } else if (is_word_char(b)) {
                    std::size_t k = i - 1;
                    while (k > code_since && is_word_char(line[k - 1]))
                        --k;
                    deref = !(line[k] >= '0' && line[k] <= '9');
                }
            }
            take(i + 1, ByteKind::Code);
            if (!deref && i < line.size() && is_letter(line[i]) &&
                (i + 1 >= line.size() || !is_word_char(line[i + 1])))
                take(i + 1, ByteKind::Literal);
            break;
        }
        case '{':
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
                        removed.emplace_back(i - (blank ? 1 : 0), i + len);
                        i += len;
                        last = ByteKind::Comment;
                        break;
                    }
                }
            }
            // (Skipped, a remark is a comment that closes on its own line like any other.)
            open_ = Open::Brace;
            take(i + 1, ByteKind::Comment);
            break;
        case '(':
            if (i + 1 < line.size() && line[i + 1] == '*') {
                open_ = Open::Paren;
                take(i + 2, ByteKind::Comment);
            } else {
                take(code_run_end<Carets>(line, i + 1), ByteKind::Code);
            }
            break;
        case '/':
            if (i + 1 < line.size() && line[i + 1] == '/')
                take(line.size(), ByteKind::Comment);
            else
                take(code_run_end<Carets>(line, i + 1), ByteKind::Code);
            break;
        default:
            take(code_run_end<Carets>(line, i + 1), ByteKind::Code);
            break;
        }
    }
    if (!same)
        return false;
    if (nesting_from != kNone) {
        std::vector<std::pair<std::size_t, std::size_t>> literals;
        read_nesting(line, nesting_from, literals);
        if constexpr (Build) {
            // Into the places of the line without its remarks.
            for (auto [from, to] : literals)
                for (std::size_t k = from; k < to; ++k) {
                    std::size_t shift = 0;
                    bool gone = false;
                    for (auto [a, b] : removed) {
                        if (k >= b)
                            shift += b - a;
                        else if (k >= a)
                            gone = true;
                    }
                    if (!gone && r->kinds[k - shift] == ByteKind::Code)
                        r->kinds[k - shift] = ByteKind::Literal;
                }
        }
        if (open_ == Open::None && nesting_.open == Open::None)
            nesting_ = {};
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
    // Where the reading with nesting goes on, the line is read the long way.
    if (line.size() != other.size() || nesting_.on)
        return false;
    const Open open = open_;
    const std::size_t quotes = block_quotes_;
    if (scan<Mode::Compare>(line, nullptr, other))
        return true;
    open_ = open;
    block_quotes_ = quotes;
    nesting_ = {};
    return false;
}

} // namespace parvex

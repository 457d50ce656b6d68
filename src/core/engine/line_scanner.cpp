#include "engine/line_scanner.h"

#include "engine/literal_forms.h"
#include "tables/subs.h"

#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace parvex {

std::string Build_Delimiters(std::string_view terminators, bool use_blank, bool use_tab) {
    std::string set(terminators);
    if (use_blank)
        set.insert(set.begin(), ' ');
    if (use_tab)
        set.insert(set.begin(), '\t');
    return set;
}

void ScanLine::assign(std::string_view line) {
    // Resized and copied into: the buffers' room stays from line to line, and this is cheaper
    // than the general assignment, which must allow for a source inside the string itself.
    const std::size_t n = line.size();
    work.resize(n);
    out.resize(n);
    if (n != 0) {
        std::memcpy(work.data(), line.data(), n);
        std::memcpy(out.data(), line.data(), n);
    }
    mask.assign(n, Mask::None);
    inserts_.clear();
}

void ScanLine::assign(std::string&& line) {
    work = std::move(line);
    out.assign(work);
    mask.assign(work.size(), Mask::None);
    inserts_.clear();
}

void ScanLine::insert_later(std::size_t pos, std::string_view work_text, std::string_view out_text,
                            Mask kind) {
    inserts_.push_back({pos, std::string(work_text), std::string(out_text), kind});
}

std::size_t ScanLine::queued_before(std::size_t pos) const {
    std::size_t shift = 0;
    for (const Insert& in : inserts_)
        if (in.pos <= pos)
            shift += in.out_text.size();
    return shift;
}

void ScanLine::apply_inserts() {
    if (inserts_.empty())
        return;
    std::size_t extra_work = 0;
    for (const Insert& in : inserts_)
        extra_work += in.work_text.size();
    std::string w;
    std::vector<Mask> m;
    w.reserve(work.size() + extra_work);
    m.reserve(work.size() + extra_work);
    std::size_t wp = 0; // what is copied so far
    for (const Insert& in : inserts_) {
        if (in.pos <= work.size()) {
            w.append(work, wp, in.pos - wp);
            m.insert(m.end(), mask.begin() + static_cast<std::ptrdiff_t>(wp),
                     mask.begin() + static_cast<std::ptrdiff_t>(in.pos));
            w.append(in.work_text);
            m.insert(m.end(), in.work_text.size(), in.kind);
            wp = in.pos;
        }
    }
    w.append(work, wp, std::string::npos);
    m.insert(m.end(), mask.begin() + static_cast<std::ptrdiff_t>(wp), mask.end());
    work.swap(w);
    mask.swap(m);
    apply_inserts_to_out();
}

void ScanLine::apply_inserts_to_out() {
    if (inserts_.empty())
        return;
    std::size_t extra = 0;
    for (const Insert& in : inserts_)
        extra += in.out_text.size();
    std::string& o = spare_out_;
    o.clear();
    o.reserve(out.size() + extra);
    std::size_t op = 0; // what is copied so far
    for (const Insert& in : inserts_) {
        o.append(out, op, in.pos - op);
        o.append(in.out_text);
        op = in.pos;
    }
    o.append(out, op, std::string::npos);
    out.swap(o);
    inserts_.clear();
}

void ScanLine::drop_erased() {
    // Erased positions all lie in the work line; what the "//" cut left only in the out line
    // is kept as it is.
    const std::size_t wn = work.size();
    std::size_t to = 0;
    for (std::size_t k = 0; k < out.size(); ++k) {
        if (k < wn) {
            if (mask[k] == Mask::Erased)
                continue;
            work[to] = work[k];
            mask[to] = mask[k];
        }
        out[to] = out[k];
        ++to;
    }
    const std::size_t dropped = out.size() - to;
    out.resize(to);
    work.resize(wn - dropped);
    mask.resize(wn - dropped);
}

LineScanner::LineScanner(std::string_view delimiters) {
    for (unsigned char c : std::string_view("'\"{(/`^"))
        starts_[c] = true;
    set_delimiters(delimiters);
}

void LineScanner::set_delimiters(std::string_view delimiters) {
    delimiters_.assign(delimiters);
    std::memset(is_delim_, 0, sizeof is_delim_);
    for (unsigned char c : delimiters_)
        is_delim_[c] = true;
}

std::size_t LineScanner::old_remark_length(const std::string& work, std::size_t pos) const {
    // "{ of " + name + " }", name empty or one run of word characters.
    static constexpr std::string_view head = "{ of ";
    if (work.compare(pos, head.size(), head) != 0)
        return 0;
    std::size_t i = pos + head.size();
    while (i < work.size() && !is_delimiter(work[i]) && work[i] != '}')
        ++i;
    if (work.compare(i, 2, " }") != 0)
        return 0;
    return i + 2 - pos;
}

bool LineScanner::behind_end(const ScanLine& line, std::size_t pos) const {
    // A run puts its remark, with one blank, directly behind END, or behind END and the
    // character that follows it ("end; { of Foo }", "end. { of Foo }").
    const std::string& w = line.work;
    auto plain = [&](std::size_t k) { return line.mask[k] == Mask::None; };
    auto is_end_at = [&](std::size_t last) { // END whose last letter is at `last`
        if (last < 2)
            return false;
        const std::size_t s = last - 2;
        for (std::size_t k = 0; k < 3; ++k)
            if (!plain(s + k) || (w[s + k] & 0xDF) != "END"[k])
                return false;
        return s == 0 || is_delimiter(w[s - 1]) || !plain(s - 1);
    };
    if (pos < 2 || w[pos - 1] != ' ' || !plain(pos - 1))
        return false;
    const std::size_t b = pos - 1; // the blank
    if (is_end_at(b - 1))
        return true;
    return b >= 2 && plain(b - 1) && is_delimiter(w[b - 1]) && is_end_at(b - 2);
}

void LineScanner::Prepare_Line(ScanLine& line, bool remove_old_remarks,
                               std::vector<std::string>& literals) {
    Prepare_Line(line, remove_old_remarks, &literals);
}

void LineScanner::Start_Text() {
    Comment_Open = OpenComment::None;
    open_literal_ = OpenLiteral::None;
    literal_lines_ = 0;
    literal_text_.clear();
    first_literal_back_ = 0;
    nested_ = NestedReading();
}

void LineScanner::Prepare_Line(ScanLine& line, bool remove_old_remarks,
                               std::vector<std::string>* literals) {
    const bool erased = prepare(line, remove_old_remarks, literals);
    if (nested_.Active()) {
        apply_nested_reading(line);
        nested_.End_Line(Comment_Open == OpenComment::None && !Literal_Open());
    }
    if (erased)
        line.drop_erased();
}

void LineScanner::watch_nesting(const std::string& w, std::size_t from, std::size_t to,
                                NestedReading::Kind kind) {
    // Only the comment itself is searched, so that a line costs time linear in its length.
    if (nested_.Active())
        return;
    for (std::size_t k = from; k < to;) {
        const void* p = std::memchr(w.data() + k, '(', to - k);
        if (p == nullptr)
            return;
        k = static_cast<std::size_t>(static_cast<const char*>(p) - w.data());
        if (k + 1 < w.size() && w[k + 1] == '*') {
            nested_.Start(kind, k);
            return;
        }
        ++k;
    }
}

void LineScanner::apply_nested_reading(ScanLine& line) {
    // The out line still holds the whole line, erased remarks included, in the work line's places.
    nested_literals_.clear();
    nested_.Read(line.out, nested_literals_);
    for (const auto& [from, to] : nested_literals_)
        for (std::size_t k = from; k < to && k < line.work.size(); ++k)
            if (line.mask[k] == Mask::None) {
                line.mask[k] = Mask::Literal;
                line.work[k] = ' ';
            }
}

void LineScanner::open_literal(OpenLiteral kind, ScanLine& line, std::size_t at, bool keep_text) {
    open_literal_ = kind;
    literal_lines_ = 0;
    if (keep_text)
        literal_text_.assign(line.work, at, std::string::npos);
    std::memset(line.work.data() + at, ' ', line.work.size() - at);
    std::memset(line.mask.data() + at, static_cast<int>(Mask::Literal), line.mask.size() - at);
}

std::size_t LineScanner::open_literal_end(std::string_view w) const {
    if (open_literal_ == OpenLiteral::TextBlock)
        return Text_Block_Close(w, block_quotes_);
    const std::size_t close = Backtick_Close(w, 0);
    return close == kNoEnd ? kNoEnd : close + 1;
}

bool LineScanner::caret_after_name(const ScanLine& line, std::size_t caret) const {
    if (caret == 0 || line.mask[caret - 1] != Mask::None)
        return false; // behind a literal or a comment, or at the start of a line
    const char before = line.work[caret - 1];
    if (before == ')' || before == ']' || before == '^')
        return true;
    if (!Is_Name_Char(before))
        return false;
    // A number ("#13^M") is no name.
    std::size_t k = caret - 1;
    while (k > 0 && line.mask[k - 1] == Mask::None && Is_Name_Char(line.work[k - 1]))
        --k;
    return !(line.work[k] >= '0' && line.work[k] <= '9');
}

std::size_t LineScanner::code_run_end(std::string_view w, std::size_t from) const {
    std::size_t i = from;
#if defined(__SSE2__)
    // Sixteen bytes at a time: most of a line of code opens nothing.
    const __m128i quote = _mm_set1_epi8('\''), dquote = _mm_set1_epi8('"'),
                  brace = _mm_set1_epi8('{'), paren = _mm_set1_epi8('('),
                  slash = _mm_set1_epi8('/'), backtick = _mm_set1_epi8('`'),
                  caret = _mm_set1_epi8('^');
    for (; i + 16 <= w.size(); i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(w.data() + i));
        const __m128i hits = _mm_or_si128(
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, quote), _mm_cmpeq_epi8(v, dquote)),
                         _mm_or_si128(_mm_cmpeq_epi8(v, backtick), _mm_cmpeq_epi8(v, caret))),
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, brace), _mm_cmpeq_epi8(v, paren)),
                         _mm_cmpeq_epi8(v, slash)));
        if (const int bits = _mm_movemask_epi8(hits))
            return i + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(bits)));
    }
#endif
    while (i < w.size() && !starts_[static_cast<unsigned char>(w[i])])
        ++i;
    return i;
}

std::size_t LineScanner::brace_close(std::string_view w, std::size_t from,
                                     std::size_t& opener) const {
    // One pass for both: nearly every comment holds no brace of its own.
    opener = std::string::npos;
    std::size_t i = from;
#if defined(__SSE2__)
    const __m128i close = _mm_set1_epi8('}'), open = _mm_set1_epi8('{');
    for (; i + 16 <= w.size(); i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(w.data() + i));
        if (_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, close), _mm_cmpeq_epi8(v, open))))
            break;
    }
#endif
    for (; i < w.size(); ++i) {
        if (w[i] == '}')
            return i;
        if (w[i] == '{' && opener == std::string::npos)
            opener = i;
    }
    return std::string::npos;
}

bool LineScanner::prepare(ScanLine& line, bool remove_old_remarks,
                          std::vector<std::string>* literals) {
    std::string& w = line.work;
    bool erased = false;
    auto mask_range = [&](std::size_t from, std::size_t to, char with, Mask kind) {
        if (to <= from)
            return; // (an empty line's buffers may be no memory at all)
        std::memset(w.data() + from, with, to - from);
        std::memset(line.mask.data() + from, static_cast<int>(kind), to - from);
    };

    std::size_t i = 0;
    first_literal_back_ = 0;
    if (open_literal_ != OpenLiteral::None) {
        // A text block or a backtick literal goes on: nothing in it is a word, a comment or a
        // place for a remark.
        ++literal_lines_;
        const std::size_t end = open_literal_end(w);
        if (literals) {
            literal_text_ += "\r\n";
            literal_text_.append(w, 0, end == kNoEnd ? w.size() : end);
        }
        if (end == kNoEnd) {
            mask_range(0, w.size(), ' ', Mask::Literal);
            return erased;
        }
        if (literals) {
            literals->push_back(std::move(literal_text_));
            literal_text_.clear();
        }
        first_literal_back_ = literal_lines_;
        literal_lines_ = 0;
        open_literal_ = OpenLiteral::None;
        mask_range(0, end, ' ', Mask::Literal);
        i = end;
    } else if (Comment_Open != OpenComment::None) {
        const auto kind = Comment_Open == OpenComment::Brace ? NestedReading::Kind::Brace
                                                             : NestedReading::Kind::Paren;
        std::size_t close;
        if (Comment_Open == OpenComment::Brace) {
            std::size_t opener;
            close = brace_close(w, 0, opener);
            if (opener != std::string::npos && !nested_.Active())
                nested_.Start(kind, opener);
        } else {
            close = w.find("*)");
            watch_nesting(w, 0, close == std::string::npos ? w.size() : close, kind);
        }
        if (close == std::string::npos) {
            mask_range(0, w.size(), '_', Mask::Comment);
            return erased;
        }
        i = close + (Comment_Open == OpenComment::Brace ? 1 : 2);
        mask_range(0, i, '_', Mask::Comment);
        Comment_Open = OpenComment::None;
    }

    while (i < w.size()) {
        const char c = w[i];
        if (c == '\'' || c == '"') {
            if (c == '\'' && i + 2 < w.size() && w[i + 1] == '\'' && w[i + 2] == '\'' &&
                (block_quotes_ = Text_Block_Opener(w, i)) != 0) {
                // A text block: it runs over the following lines up to its closing line.
                open_literal(OpenLiteral::TextBlock, line, i, literals != nullptr);
                return erased;
            }
            // A literal of one line runs to the next quote that is not doubled.
            std::size_t k = i + 1;
            std::size_t close = std::string::npos;
            while (k < w.size()) {
                if (w[k] == c) {
                    if (k + 1 < w.size() && w[k + 1] == c) {
                        k += 2;
                        continue;
                    }
                    close = k;
                    break;
                }
                ++k;
            }
            if (close == std::string::npos) {
                ++i; // unterminated: the quote is a plain delimiter
                continue;
            }
            if (literals) {
                std::string text = w.substr(i, close - i + 1);
                for (std::size_t q = 1; q + 1 < text.size(); ++q) {
                    if (text[q] == c) { // a doubled quote shows as two blanks
                        text[q] = ' ';
                        text[q + 1] = ' ';
                        ++q;
                    }
                }
                literals->push_back(std::move(text));
            }
            mask_range(i, close + 1, ' ', Mask::Literal);
            i = close + 1;
        } else if (c == '{') {
            if (remove_old_remarks && behind_end(line, i)) {
                if (std::size_t len = old_remark_length(w, i)) {
                    // The blank in front goes with the remark, so that repeated runs agree.
                    for (std::size_t k = i - 1; k < i + len; ++k)
                        line.mask[k] = Mask::Erased;
                    erased = true;
                    i += len;
                    continue;
                }
            }
            std::size_t opener;
            std::size_t close = brace_close(w, i + 1, opener);
            if (opener != std::string::npos && !nested_.Active())
                nested_.Start(NestedReading::Kind::Brace, opener);
            if (close == std::string::npos) {
                mask_range(i, w.size(), '_', Mask::Comment);
                Comment_Open = OpenComment::Brace;
                return erased;
            }
            mask_range(i, close + 1, '_', Mask::Comment);
            i = close + 1;
        } else if (c == '(' && i + 1 < w.size() && w[i + 1] == '*') {
            std::size_t close = w.find("*)", i + 2);
            watch_nesting(w, i + 2, close == std::string::npos ? w.size() : close,
                          NestedReading::Kind::Paren);
            if (close == std::string::npos) {
                mask_range(i, w.size(), '_', Mask::Comment);
                Comment_Open = OpenComment::Paren;
                return erased;
            }
            mask_range(i, close + 2, '_', Mask::Comment);
            i = close + 2;
        } else if (c == '/' && i + 1 < w.size() && w[i + 1] == '/') {
            w.resize(i); // the out line keeps the comment
            line.mask.resize(i);
            return erased;
        } else if (c == '`') {
            // A backtick literal runs to the next backtick, on this line or a later one. A
            // backtick means nothing else in Pascal, so it is a literal in every mode.
            const std::size_t close = Backtick_Close(w, i + 1);
            if (close == kNoEnd) {
                open_literal(OpenLiteral::Backtick, line, i, literals != nullptr);
                return erased;
            }
            if (literals)
                literals->push_back(w.substr(i, close + 1 - i));
            mask_range(i, close + 1, ' ', Mask::Literal);
            i = close + 1;
        } else if (c == '^') {
            // "^M": its letter's case is part of the character's value.
            if (Caret_Letter_At(w, i, false) && !caret_after_name(line, i)) {
                mask_range(i + 1, i + 2, ' ', Mask::Literal);
                i += 2;
            } else {
                i = code_run_end(w, i + 1);
            }
        } else {
            i = code_run_end(w, i + 1);
        }
    }
    return erased;
}

bool Is_Underscores(std::string_view word) {
    for (char c : word)
        if (c != '_')
            return false;
    return true;
}

bool Is_Numeric(std::string_view word) {
    std::string t = Trim(word);
    for (char c : t)
        if (c < '0' || c > '9')
            return false;
    return true;
}

void Apply_Output_Case(std::string& token, int choice) {
    switch (choice) {
    case 0:
        for (char& c : token)
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 32);
        break;
    case 1:
        for (char& c : token)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c + 32);
        break;
    case 3:
        token = Capitalize_Words(token);
        break;
    default:
        break;
    }
}

} // namespace parvex

#include "engine/line_scanner.h"

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
    for (unsigned char c : std::string_view("'\"{(/"))
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

void LineScanner::Prepare_Line(ScanLine& line, bool remove_old_remarks,
                               std::vector<std::string>* literals) {
    if (prepare(line, remove_old_remarks, literals))
        line.drop_erased();
}

std::size_t LineScanner::code_run_end(std::string_view w, std::size_t from) const {
    std::size_t i = from;
#if defined(__SSE2__)
    // Sixteen bytes at a time: most of a line of code opens nothing.
    const __m128i quote = _mm_set1_epi8('\''), dquote = _mm_set1_epi8('"'),
                  brace = _mm_set1_epi8('{'), paren = _mm_set1_epi8('('),
                  slash = _mm_set1_epi8('/');
    for (; i + 16 <= w.size(); i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(w.data() + i));
        const __m128i hits = _mm_or_si128(
            _mm_or_si128(_mm_cmpeq_epi8(v, quote), _mm_cmpeq_epi8(v, dquote)),
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
    if (Comment_Open != OpenComment::None) {
        std::size_t close = Comment_Open == OpenComment::Brace ? w.find('}') : w.find("*)");
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
            // A literal runs to the next quote that is not doubled.
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
            std::size_t close = w.find('}', i + 1);
            if (close == std::string::npos) {
                mask_range(i, w.size(), '_', Mask::Comment);
                Comment_Open = OpenComment::Brace;
                return erased;
            }
            mask_range(i, close + 1, '_', Mask::Comment);
            i = close + 1;
        } else if (c == '(' && i + 1 < w.size() && w[i + 1] == '*') {
            std::size_t close = w.find("*)", i + 2);
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

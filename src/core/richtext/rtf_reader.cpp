#include "richtext/rtf_reader.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

namespace parvex::rich {

std::string Paragraph::plain_text() const {
    std::string out;
    for (const Run& r : runs)
        out += r.text;
    return out;
}

std::string Document::plain_text() const {
    std::string out;
    for (std::size_t i = 0; i < paragraphs.size(); ++i) {
        if (i > 0)
            out += '\n';
        out += paragraphs[i].plain_text();
    }
    return out;
}

char32_t Windows_1252(unsigned char byte) {
    static constexpr std::array<char32_t, 32> high = {
        0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};
    if (byte >= 0x80 && byte < 0xA0)
        return high[byte - 0x80];
    return byte;
}

void Append_Utf8(std::string& out, char32_t c) {
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        c = 0xFFFD;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

namespace {

constexpr std::size_t Max_Word = 32; // longer control words are not words any editor writes

enum class Dest { Text, Skip, Color_Table, Field_Inst };

struct Group_State {
    Style style;
    Align align = Align::Left;
    Dest dest = Dest::Text;
    std::string link;
    int uc = 1;        // characters that stand in for each \uN
    bool star = false; // "\*": the next control word names a destination we may not know
};

bool is_letter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool is_digit(char c) {
    return c >= '0' && c <= '9';
}
int hex_value(char c) {
    if (is_digit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}
char lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
bool starts_with_no_case(std::string_view s, std::string_view prefix) {
    if (s.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (lower(s[i]) != prefix[i])
            return false;
    return true;
}

// Destinations whose content is never shown. Groups marked with "\*" are skipped as well.
bool is_skipped_destination(std::string_view w) {
    // clang-format off
    static constexpr std::string_view names[] = {
        "fonttbl", "stylesheet", "info", "pict", "object", "header", "headerl", "headerr",
        "headerf", "footer", "footerl", "footerr", "footerf", "footnote", "annotation",
        "listtable", "listoverridetable", "rsidtbl", "generator", "xmlnstbl", "themedata",
        "colorschememapping", "latentstyles", "datastore", "filetbl", "revtbl", "shp", "shppict",
        "nonshppict", "objdata", "bkmkstart", "bkmkend", "author", "operator", "title",
        "subject", "keywords", "comment", "doccomm", "pn", "pntext", "listtext", "txe", "xe",
        "tc", "fldtype"
    };
    // clang-format on
    return std::find(std::begin(names), std::end(names), w) != std::end(names);
}

// The address of a HYPERLINK field instruction; "" for local anchors and other fields.
std::string hyperlink_target(std::string_view inst) {
    std::size_t i = 0;
    auto skip_blanks = [&] {
        while (i < inst.size() && (inst[i] == ' ' || inst[i] == '\t'))
            ++i;
    };
    skip_blanks();
    if (!starts_with_no_case(inst.substr(i), "hyperlink"))
        return {};
    i += 9;
    skip_blanks();
    if (i < inst.size() && inst[i] == '\\')
        return {}; // "\l" and friends point into the document itself
    if (i < inst.size() && inst[i] == '"') {
        std::size_t end = inst.find('"', i + 1);
        return std::string(inst.substr(i + 1, end == std::string_view::npos ? end : end - i - 1));
    }
    std::size_t end = inst.find_first_of(" \t", i);
    return std::string(inst.substr(i, end == std::string_view::npos ? end : end - i));
}

class Reader {
public:
    Reader(std::string_view in, const Reader_Limits& limits) : in_(in), limits_(limits) {}

    Document run() {
        if (in_.size() > limits_.max_bytes) {
            in_ = in_.substr(0, limits_.max_bytes);
            doc_.truncated = true;
        }
        stack_.reserve(std::min<std::size_t>(limits_.max_depth, 64));
        while (pos_ < in_.size()) {
            const char c = in_[pos_];
            if (c == '{') {
                ++pos_;
                open_group();
            } else if (c == '}') {
                ++pos_;
                if (close_group())
                    break;
            } else if (stack_.empty()) {
                ++pos_; // bytes outside the outermost group are not part of the document
            } else if (c == '\\') {
                ++pos_;
                control();
            } else {
                ++pos_;
                byte(static_cast<unsigned char>(c));
            }
        }
        end_paragraph(true);
        return std::move(doc_);
    }

private:
    Group_State& top() { return stack_.back(); }

    void open_group() {
        skip_chars_ = 0;
        if (stack_.size() >= limits_.max_depth) {
            ++overflow_;
            doc_.truncated = true;
            return;
        }
        Group_State next = stack_.empty() ? Group_State{} : top();
        next.star = false;
        stack_.push_back(std::move(next));
    }

    // True when the outermost group has closed: the document ends there.
    bool close_group() {
        skip_chars_ = 0;
        if (overflow_ > 0) {
            --overflow_;
            return false;
        }
        if (stack_.empty())
            return false;
        if (top().dest == Dest::Color_Table)
            finish_color(false);
        stack_.pop_back();
        return stack_.empty();
    }

    void control() {
        if (pos_ >= in_.size())
            return;
        const char c = in_[pos_];
        if (!is_letter(c)) {
            ++pos_;
            symbol(c);
            return;
        }
        std::size_t start = pos_;
        while (pos_ < in_.size() && is_letter(in_[pos_]))
            ++pos_;
        std::string_view word = in_.substr(start, pos_ - start);
        std::optional<long> param;
        bool negative = false;
        if (pos_ < in_.size() && in_[pos_] == '-' && pos_ + 1 < in_.size() &&
            is_digit(in_[pos_ + 1])) {
            negative = true;
            ++pos_;
        }
        if (pos_ < in_.size() && is_digit(in_[pos_])) {
            long value = 0;
            while (pos_ < in_.size() && is_digit(in_[pos_])) {
                value = std::min(value * 10 + (in_[pos_] - '0'), 100000000L);
                ++pos_;
            }
            param = negative ? -value : value;
        }
        if (pos_ < in_.size() && in_[pos_] == ' ')
            ++pos_; // the delimiting blank belongs to the control word
        if (word.size() > Max_Word)
            return;
        if (word == "bin" && param && *param > 0) {
            // Raw binary data: its bytes may look like braces and must not count as groups.
            pos_ += std::min(static_cast<std::size_t>(*param), in_.size() - pos_);
            return;
        }
        if (stack_.empty())
            return;
        word_(word, param);
    }

    void symbol(char c) {
        if (stack_.empty())
            return;
        switch (c) {
        case '\\':
        case '{':
        case '}':
            text(static_cast<unsigned char>(c));
            break;
        case '~':
            literal(0x00A0);
            break;
        case '_':
            literal('-');
            break;
        case '\'': {
            int hi = pos_ < in_.size() ? hex_value(in_[pos_]) : -1;
            int lo = pos_ + 1 < in_.size() ? hex_value(in_[pos_ + 1]) : -1;
            if (hi < 0 || lo < 0)
                return;
            pos_ += 2;
            if (skip_chars_ > 0) {
                --skip_chars_;
                return;
            }
            emit(Windows_1252(static_cast<unsigned char>(hi * 16 + lo)));
            break;
        }
        case '*':
            top().star = true;
            break;
        case '\r':
        case '\n':
            paragraph_break();
            break;
        default: // "\-" (optional hyphen), "\|", "\:" and unknown symbols show nothing
            if (skip_chars_ > 0)
                --skip_chars_;
            break;
        }
    }

    void word_(std::string_view w, std::optional<long> param) {
        Group_State& g = top();
        if (g.dest == Dest::Skip) {
            g.star = false;
            return;
        }
        if (g.star) {
            g.star = false;
            if (w == "fldinst") {
                g.dest = Dest::Field_Inst;
                field_inst_.clear();
            } else {
                g.dest = Dest::Skip;
            }
            return;
        }
        if (w == "fldinst") {
            g.dest = Dest::Field_Inst;
            field_inst_.clear();
            return;
        }
        if (g.dest == Dest::Field_Inst)
            return;
        if (w == "colortbl") {
            g.dest = Dest::Color_Table;
            colors_.clear();
            color_ = {};
            return;
        }
        if (g.dest == Dest::Color_Table) {
            int v = static_cast<int>(std::clamp(param.value_or(0), 0L, 255L));
            if (w == "red")
                color_.r = v, color_.set = true;
            else if (w == "green")
                color_.g = v, color_.set = true;
            else if (w == "blue")
                color_.b = v, color_.set = true;
            return;
        }
        if (is_skipped_destination(w)) {
            g.dest = Dest::Skip;
            return;
        }
        const bool on = !param || *param != 0;
        if (w == "par" || w == "sect" || w == "page" || w == "row") {
            paragraph_break();
        } else if (w == "line") {
            emit('\n');
        } else if (w == "tab" || w == "cell") {
            emit('\t');
        } else if (w == "pard") {
            g.align = Align::Left;
        } else if (w == "plain") {
            g.style = Style{};
        } else if (w == "b") {
            g.style.bold = on;
        } else if (w == "i") {
            g.style.italic = on;
        } else if (w == "ul" || w == "uld" || w == "uldb" || w == "ulw" || w == "ulwave" ||
                   w == "ulth" || w == "uldash") {
            g.style.underline = on;
        } else if (w == "ulnone") {
            g.style.underline = false;
        } else if (w == "fs") {
            g.style.half_points = static_cast<int>(std::clamp(param.value_or(24), 0L, 1000L));
        } else if (w == "cf") {
            const long n = param.value_or(0);
            g.style.rgb = (n > 0 && static_cast<std::size_t>(n) < colors_.size())
                              ? colors_[static_cast<std::size_t>(n)]
                              : std::nullopt;
        } else if (w == "qc") {
            g.align = Align::Center;
        } else if (w == "qr") {
            g.align = Align::Right;
        } else if (w == "ql" || w == "qj") {
            g.align = Align::Left;
        } else if (w == "uc") {
            g.uc = static_cast<int>(std::clamp(param.value_or(1), 0L, 10L));
        } else if (w == "u") {
            unicode(param.value_or(0));
        } else if (w == "field") {
            field_inst_.clear();
        } else if (w == "fldrslt") {
            g.link = hyperlink_target(field_inst_);
        } else if (w == "emdash") {
            emit(0x2014);
        } else if (w == "endash") {
            emit(0x2013);
        } else if (w == "bullet") {
            emit(0x2022);
        } else if (w == "lquote") {
            emit(0x2018);
        } else if (w == "rquote") {
            emit(0x2019);
        } else if (w == "ldblquote") {
            emit(0x201C);
        } else if (w == "rdblquote") {
            emit(0x201D);
        } else if (skip_chars_ > 0) {
            --skip_chars_; // an unknown word inside the fallback of \uN counts as one character
        }
    }

    void unicode(long n) {
        if (n < 0)
            n += 65536;
        const auto unit = static_cast<char32_t>(std::clamp(n, 0L, 65535L));
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            flush_high();
            high_ = unit;
        } else if (unit >= 0xDC00 && unit <= 0xDFFF && high_) {
            const char32_t cp = 0x10000 + ((high_ - 0xD800) << 10) + (unit - 0xDC00);
            high_ = 0;
            emit(cp);
        } else {
            emit(unit);
        }
        skip_chars_ = top().uc;
    }

    void flush_high() {
        if (high_) {
            high_ = 0;
            put(0xFFFD);
        }
    }

    void byte(unsigned char c) {
        if (c == '\r' || c == '\n' || c == 0)
            return;
        if (c == '\t') {
            emit('\t');
            return;
        }
        if (c < 0x20)
            return;
        text(c);
    }

    // A literal byte of the document (plain or escaped), not a \uN.
    void text(unsigned char c) { literal(Windows_1252(c)); }

    // One character of the document; inside the fallback of a \uN it is the stand-in, not text.
    void literal(char32_t cp) {
        if (skip_chars_ > 0) {
            --skip_chars_;
            return;
        }
        emit(cp);
    }

    void emit(char32_t cp) {
        if (cp < 0xD800 || cp > 0xDFFF)
            flush_high();
        put(cp);
    }

    void put(char32_t cp) {
        Group_State& g = top();
        switch (g.dest) {
        case Dest::Skip:
            return;
        case Dest::Field_Inst:
            if (field_inst_.size() < 4096)
                Append_Utf8(field_inst_, cp);
            return;
        case Dest::Color_Table:
            if (cp == ';')
                finish_color(true);
            return;
        case Dest::Text:
            break;
        }
        cur_.align = g.align;
        if (cur_.runs.empty() || !(cur_.runs.back().style == g.style) ||
            cur_.runs.back().link != g.link)
            cur_.runs.push_back(Run{{}, g.style, g.link});
        Append_Utf8(cur_.runs.back().text, cp);
    }

    void finish_color(bool separator) {
        if (!separator && !color_.set)
            return;
        if (colors_.size() < 1024)
            colors_.push_back(color_.set ? std::optional<std::uint32_t>(static_cast<std::uint32_t>(
                                               (color_.r << 16) | (color_.g << 8) | color_.b))
                                         : std::nullopt);
        color_ = {};
    }

    void paragraph_break() {
        if (top().dest != Dest::Text)
            return;
        flush_high();
        cur_.align = top().align;
        end_paragraph(false);
    }

    void end_paragraph(bool at_end) {
        if (at_end && cur_.runs.empty())
            return; // the last "\par" of a file does not open a line of its own
        doc_.paragraphs.push_back(std::move(cur_));
        cur_ = Paragraph{};
    }

    struct Pending_Color {
        int r = 0, g = 0, b = 0;
        bool set = false;
    };

    std::string_view in_;
    Reader_Limits limits_;
    std::size_t pos_ = 0;
    std::vector<Group_State> stack_;
    std::size_t overflow_ = 0;
    Document doc_;
    Paragraph cur_;
    std::vector<std::optional<std::uint32_t>> colors_;
    Pending_Color color_;
    std::string field_inst_;
    int skip_chars_ = 0;
    char32_t high_ = 0;
};

Document read_plain(std::string_view bytes, const Reader_Limits& limits) {
    Document doc;
    if (bytes.size() > limits.max_bytes) {
        bytes = bytes.substr(0, limits.max_bytes);
        doc.truncated = true;
    }
    Paragraph p;
    auto flush = [&] {
        doc.paragraphs.push_back(std::move(p));
        p = Paragraph{};
    };
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
            flush();
            continue;
        }
        if (c < 0x20 && c != '\t')
            continue;
        if (p.runs.empty())
            p.runs.emplace_back();
        Append_Utf8(p.runs.back().text, Windows_1252(c));
    }
    if (!p.runs.empty())
        flush();
    return doc;
}

bool is_address_char(unsigned char c) {
    return c > ' ' && c != '<' && c != '>' && c != '"' && c != 0x7F;
}
bool is_alnum(unsigned char c) {
    return is_letter(static_cast<char>(c)) || is_digit(static_cast<char>(c));
}

// The length of the address at `i` in `s`, or 0; `link` gets its target.
std::size_t address_at(std::string_view s, std::size_t i, std::string& link) {
    if (i > 0 && (is_alnum(static_cast<unsigned char>(s[i - 1])) || s[i - 1] == '.' ||
                  s[i - 1] == '/' || s[i - 1] == '@' || s[i - 1] == ':'))
        return 0;
    std::string_view rest = s.substr(i);
    std::size_t prefix = 0;
    for (std::string_view p : {"https://", "http://", "mailto:", "www."})
        if (starts_with_no_case(rest, p)) {
            prefix = p.size();
            break;
        }
    if (prefix == 0)
        return 0;
    std::size_t end = prefix;
    while (end < rest.size() && is_address_char(static_cast<unsigned char>(rest[end])))
        ++end;
    // Closing punctuation after an address belongs to the sentence.
    while (end > prefix &&
           std::string_view(".,;:!?)]}'").find(rest[end - 1]) != std::string_view::npos)
        --end;
    if (end == prefix)
        return 0;
    std::string_view text = rest.substr(0, end);
    link = starts_with_no_case(text, "www.") ? "http://" + std::string(text) : std::string(text);
    return end;
}

} // namespace

Document Read_Rtf(std::string_view bytes, const Reader_Limits& limits) {
    std::size_t first = 0;
    while (first < bytes.size() && (bytes[first] == ' ' || bytes[first] == '\t' ||
                                    bytes[first] == '\r' || bytes[first] == '\n'))
        ++first;
    if (!starts_with_no_case(bytes.substr(first), "{\\rtf"))
        return read_plain(bytes, limits);
    return Reader(bytes.substr(first), limits).run();
}

void Link_Plain_Addresses(Document& doc) {
    for (Paragraph& para : doc.paragraphs) {
        std::vector<Run> out;
        for (Run& run : para.runs) {
            if (!run.link.empty()) {
                out.push_back(std::move(run));
                continue;
            }
            const std::string& s = run.text;
            std::size_t plain_from = 0;
            for (std::size_t i = 0; i < s.size();) {
                std::string link;
                const std::size_t n = address_at(s, i, link);
                if (n == 0) {
                    ++i;
                    continue;
                }
                if (i > plain_from)
                    out.push_back(Run{s.substr(plain_from, i - plain_from), run.style, {}});
                out.push_back(Run{s.substr(i, n), run.style, std::move(link)});
                i += n;
                plain_from = i;
            }
            if (plain_from < s.size())
                out.push_back(Run{s.substr(plain_from), run.style, {}});
        }
        para.runs = std::move(out);
    }
}

} // namespace parvex::rich

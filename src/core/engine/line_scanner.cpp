#include "engine/line_scanner.h"

#include "tables/subs.h"

#include <cstring>

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
    work.assign(line);
    out.assign(line);
    mask.assign(line.size(), Mask::None);
}

void ScanLine::insert(std::size_t pos, std::string_view work_text, std::string_view out_text,
                      Mask kind) {
    if (pos <= work.size()) {
        work.insert(pos, work_text);
        mask.insert(mask.begin() + static_cast<std::ptrdiff_t>(pos), work_text.size(), kind);
    }
    out.insert(pos, out_text);
}

void ScanLine::erase(std::size_t pos, std::size_t count) {
    work.erase(pos, count);
    mask.erase(mask.begin() + static_cast<std::ptrdiff_t>(pos),
               mask.begin() + static_cast<std::ptrdiff_t>(pos + count));
    out.erase(pos, count);
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

void LineScanner::Prepare_Line(ScanLine& line, bool remove_old_remarks,
                               std::vector<std::string>& literals) {
    std::string& w = line.work;
    auto mask_range = [&](std::size_t from, std::size_t to, char with, Mask kind) {
        for (std::size_t k = from; k < to; ++k) {
            w[k] = with;
            line.mask[k] = kind;
        }
    };

    std::size_t i = 0;
    if (Comment_Open != OpenComment::None) {
        std::size_t close = Comment_Open == OpenComment::Brace ? w.find('}') : w.find("*)");
        if (close == std::string::npos) {
            mask_range(0, w.size(), '_', Mask::Comment);
            return;
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
            std::string text = w.substr(i, close - i + 1);
            for (std::size_t q = 1; q + 1 < text.size(); ++q) {
                if (text[q] == c) { // a doubled quote shows as two blanks
                    text[q] = ' ';
                    text[q + 1] = ' ';
                    ++q;
                }
            }
            literals.push_back(std::move(text));
            mask_range(i, close + 1, ' ', Mask::Literal);
            i = close + 1;
        } else if (c == '{') {
            if (remove_old_remarks) {
                if (std::size_t len = old_remark_length(w, i)) {
                    // One blank in front goes with the remark, so that repeated runs agree.
                    std::size_t from = (i > 0 && line.out[i - 1] == ' ') ? i - 1 : i;
                    line.erase(from, i + len - from);
                    i = from;
                    continue;
                }
            }
            std::size_t close = w.find('}', i + 1);
            if (close == std::string::npos) {
                mask_range(i, w.size(), '_', Mask::Comment);
                Comment_Open = OpenComment::Brace;
                return;
            }
            mask_range(i, close + 1, '_', Mask::Comment);
            i = close + 1;
        } else if (c == '(' && i + 1 < w.size() && w[i + 1] == '*') {
            std::size_t close = w.find("*)", i + 2);
            if (close == std::string::npos) {
                mask_range(i, w.size(), '_', Mask::Comment);
                Comment_Open = OpenComment::Paren;
                return;
            }
            mask_range(i, close + 2, '_', Mask::Comment);
            i = close + 2;
        } else if (c == '/' && i + 1 < w.size() && w[i + 1] == '/') {
            w.resize(i); // the out line keeps the comment
            line.mask.resize(i);
            return;
        } else {
            ++i;
            while (i < w.size() && !starts_[static_cast<unsigned char>(w[i])])
                ++i;
        }
    }
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

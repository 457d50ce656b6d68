#include "engine/listing_run.h"

#include "tables/subs.h"

#include <cstring>

namespace parvex {

namespace {

// Case-insensitive ASCII comparison with a keyword given in capitals.
bool is_keyword(std::string_view word, std::string_view upper_keyword) {
    if (word.size() != upper_keyword.size())
        return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        char c = word[i];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
        if (c != upper_keyword[i])
            return false;
    }
    return true;
}

bool is_numeric_word(std::string_view word) {
    // Is_Numeric without the copy: blanks and control characters at either end do not count.
    std::size_t b = 0, e = word.size();
    while (b < e && static_cast<unsigned char>(word[b]) <= ' ')
        ++b;
    while (e > b && static_cast<unsigned char>(word[e - 1]) <= ' ')
        --e;
    for (std::size_t k = b; k < e; ++k)
        if (word[k] < '0' || word[k] > '9')
            return false;
    return true;
}

} // namespace

int Number_Width(std::size_t lines) {
    int digits = 1;
    for (std::size_t n = lines; n >= 10; n /= 10)
        ++digits;
    return digits < 2 ? 2 : digits;
}

std::string Collected_Line(std::string_view item, std::size_t line_number, int width) {
    char digits[24];
    int n = 0;
    std::size_t v = line_number;
    do {
        digits[n++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v != 0);
    std::string out;
    out.reserve(item.size() + 2 + static_cast<std::size_t>(width > n ? width : n));
    out.append(item);
    out.append("\t#");
    for (int k = n; k < width; ++k)
        out.push_back('0');
    while (n > 0)
        out.push_back(digits[--n]);
    return out;
}

std::string Missing_Source_Text(const std::string& file_name) {
    if (Dir_Exists(file_name))
        return "^C:^F:" + file_name + "^is a folder, not a File !\r\nPlease choose a File.";
    return "^C:^F:" + file_name + "^File does not exist !";
}

RunResult ListingEngine::Listing_Run(const std::string& file_name, const ListingOptions& options,
                                     ListingLists& lists, const RunCallbacks& callbacks) {
    lists.Clear_Lists();
    RunResult result;
    if (!File_Exists(file_name)) {
        result.status = RunStatus::Missing;
        result.messages.push_back(
            {MessageKind::L_Error, "Source-File", Missing_Source_Text(file_name)});
        return result;
    }
    std::string bytes;
    if (FileResult r = Read_File(file_name, bytes); !r) {
        result.status = RunStatus::Unreadable;
        result.messages.push_back({MessageKind::L_Error, "Source-File",
                                   "^C:^F:" + file_name + "^File can not be read !\r\n" + r.error});
        return result;
    }
    return List_Lines(Split_Lines(bytes), options, lists, callbacks, file_name);
}

RunResult ListingEngine::List_Lines(TextList lines, const ListingOptions& options,
                                    ListingLists& lists, const RunCallbacks& callbacks,
                                    const std::string& file_name) {
    lists.Clear_Lists();
    RunResult result;
    lists.src = std::move(lines);
    const std::size_t count = lists.src.size();
    if (callbacks.started)
        callbacks.started({MessageKind::Mess, "working ...",
                           "^C:^P:scanning^^F:" + file_name + "^working on file", 0},
                          count);

    scanner_.set_delimiters(
        Build_Delimiters(options.terminators, options.use_blank, options.use_tab));
    scanner_.Comment_Open = OpenComment::None;
    width_ = Number_Width(count);
    blocks_ = Blocks{};
    lists.src_o.resize(count);

    ScanLine line;
    for (std::size_t i = 0; i < count; ++i) {
        line.assign(lists.src[i]);
        list_line(line, i + 1, options, lists);
        lists.src[i].swap(line.work);
        lists.src_o[i].swap(line.out);
        if (callbacks.line_done && !callbacks.line_done(i)) {
            // A half-done run must not be saved: nothing of it is kept.
            lists.Clear_Lists();
            result.status = RunStatus::Stopped;
            result.messages.push_back(
                {MessageKind::L_Mess, "STOP",
                 "^C:^F:" + file_name + "^The run was stopped.\r\nNothing can be saved."});
            return result;
        }
    }
    return result;
}

void ListingEngine::list_line(ScanLine& line, std::size_t line_number,
                              const ListingOptions& options, ListingLists& lists) {
    literals_.clear();
    scanner_.Prepare_Line(line, options.remove_old_remarks, literals_);
    if (options.collect_alpha)
        for (const auto& literal : literals_)
            lists.a_const.push_back(Collected_Line(literal, line_number, width_));

    std::string& w = line.work;
    std::size_t i = 0;
    std::string word;
    while (i < w.size()) {
        if (scanner_.is_delimiter(w[i]) || line.mask[i] != Mask::None) {
            ++i;
            continue;
        }
        const std::size_t s = i;
        while (i < w.size() && !scanner_.is_delimiter(w[i]) && line.mask[i] == Mask::None)
            ++i;
        const std::size_t l = i - s;
        word.assign(w, s, l);

        if (is_numeric_word(word)) {
            if (options.collect_numeric)
                lists.n_const.push_back(Collected_Line(word, line_number, width_));
        } else {
            tokens_.Register_In_Place(word);
            if (options.collect_tokens)
                lists.t_cref.push_back(Collected_Line(word, line_number, width_));
            Apply_Output_Case(word, options.output_case);
        }
        if (options.end_remarks)
            end_remark_step(line, word, s, l);

        // Write the word back: masked in the work line, final spelling in the out line.
        std::memset(&w[s], '_', l);
        std::fill(line.mask.begin() + static_cast<std::ptrdiff_t>(s),
                  line.mask.begin() + static_cast<std::ptrdiff_t>(s + l), Mask::Handled);
        std::memcpy(&line.out[s], word.data(), l);
    }
}

std::string ListingEngine::routine_name(const std::string& rest) const {
    // The first run of word characters: a heading whose name is chosen by compiler directives
    // ("{$ifdef A}Delete{$else}Other{$endif}") or that has type parameters still names one word,
    // so the remark it gets is recognised and replaced by the next run.
    std::size_t i = 0;
    while (i < rest.size() && scanner_.is_delimiter(rest[i]))
        ++i;
    std::size_t s = i;
    while (i < rest.size() && !scanner_.is_delimiter(rest[i]) && rest[i] != '}')
        ++i;
    std::string name = rest.substr(s, i - s);
    // The remark names the routine the way the token index spells it, so that listing the new
    // text again gives the same remark.
    if (!name.empty() && !is_numeric_word(name))
        if (auto stored = tokens_.Find_Token(name))
            name = std::move(*stored);
    return name;
}

void ListingEngine::end_remark_step(ScanLine& line, std::string_view word, std::size_t start,
                                    std::size_t length) {
    Blocks& b = blocks_;
    const std::size_t after = start + length; // 0-based index right after the word
    if (length < 3 || length > 9 || length == 6 || length == 7)
        return; // none of the words that open or close a block, or name a routine
    if (is_keyword(word, "BEGIN") || is_keyword(word, "CASE") || is_keyword(word, "TRY") ||
        is_keyword(word, "ASM")) {
        ++b.counts[static_cast<std::size_t>(b.level)];
    } else if (is_keyword(word, "END")) {
        int& count = b.counts[static_cast<std::size_t>(b.level)];
        --count;
        if (count == 0 && b.level > 0) {
            const std::string& name = b.names[static_cast<std::size_t>(b.level)];
            // The remark follows the character after END, unless that character opens a
            // comment or a literal: then it goes directly behind END.
            std::size_t pos = after;
            if (after < line.out.size()) {
                bool covered = after >= line.work.size() || line.mask[after] == Mask::Comment ||
                               line.mask[after] == Mask::Literal;
                if (!covered)
                    pos = after + 1;
            }
            std::string work_text = " " + std::string(name.size() + 7, '_');
            std::string out_text = " { of " + name + " }";
            line.insert(pos, work_text, out_text, Mask::Handled);
            --b.level;
        }
    } else if (is_keyword(word, "PROCEDURE") || is_keyword(word, "FUNCTION")) {
        // The routine's name as it stands in the source, up to "(", else ":", else ";".
        std::string rest;
        if (after < line.work.size()) {
            rest.assign(line.work, after, std::string::npos);
            for (std::size_t k = 0; k < rest.size(); ++k)
                if (line.mask[after + k] != Mask::None)
                    rest[k] = ' ';
        }
        std::size_t cut = rest.find('(');
        if (cut == std::string::npos)
            cut = rest.find(':');
        if (cut == std::string::npos)
            cut = rest.find(';');
        rest = cut == std::string::npos ? std::string() : rest.substr(0, cut);
        if (auto dot = rest.find('.'); dot != std::string::npos)
            rest.erase(0, dot + 1);
        if (b.level == 10) {
            // All levels in use: the oldest one gives way.
            for (std::size_t k = 1; k < 10; ++k) {
                b.names[k] = std::move(b.names[k + 1]);
                b.counts[k] = b.counts[k + 1];
            }
        } else {
            ++b.level;
        }
        b.names[static_cast<std::size_t>(b.level)] = routine_name(rest);
        b.counts[static_cast<std::size_t>(b.level)] = 0;
    }
}

} // namespace parvex

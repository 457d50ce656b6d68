#include "engine/listing_run.h"

#include "tables/subs.h"

#include <algorithm>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// "&begin" is a name, not the keyword: the ampersand makes any word a name.
bool escaped_name(const ScanLine& line, std::size_t start) {
    return start > 0 && line.work[start - 1] == '&' && line.mask[start - 1] == Mask::None;
}

bool is_numeric_word(std::string_view word) {
    // Is_Numeric without the copy: blanks and control characters at either end do not count.
    // Most words start with a letter: that settles it at once.
    if (!word.empty() && static_cast<unsigned char>(word[0]) > '9')
        return false;
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

void Append_Line_Number(std::string& out, std::size_t line_number, int width) {
    // Written backwards into a buffer that also holds the padding, then appended in one piece.
    char buf[64];
    char* end = buf + sizeof buf;
    char* p = end;
    std::size_t v = line_number;
    do {
        *--p = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v != 0);
    const std::ptrdiff_t digits = end - p;
    if (width > static_cast<int>(sizeof buf) - 2) { // a width read from some list file
        out.append("\t#");
        if (width > digits)
            out.append(static_cast<std::size_t>(width - digits), '0');
        out.append(p, static_cast<std::size_t>(digits));
        return;
    }
    while (end - p < width)
        *--p = '0';
    *--p = '#';
    *--p = '\t';
    out.append(p, static_cast<std::size_t>(end - p));
}

std::string Collected_Line(std::string_view item, std::size_t line_number, int width) {
    std::string out;
    out.reserve(item.size() + 4 + static_cast<std::size_t>(width > 20 ? width : 20));
    out.append(item);
    Append_Line_Number(out, line_number, width);
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

namespace {
template <class Lines> std::size_t bytes_of(const Lines& lines) {
    std::size_t bytes = 0;
    for (const auto& l : lines)
        bytes += l.size();
    return bytes;
}
} // namespace

void ListingEngine::start_run(const ListingOptions& options, ListingLists& lists, std::size_t count,
                              std::size_t bytes) {
    scanner_.set_delimiters(
        Build_Delimiters(options.terminators, options.use_blank, options.use_tab));
    scanner_.Start_Text();
    width_ = Number_Width(count);
    for (CollectedList* l : {&lists.a_const, &lists.n_const, &lists.t_cref})
        l->set_width(width_);
    if (options.collect_tokens) {
        // A token takes a byte and a delimiter at least: room for that many, of which only the
        // part used is ever touched.
        lists.t_cref.reserve((bytes + count) / 2);
    }
    blocks_ = Blocks{};
}

void ListingEngine::List_Text(const LineViews& lines, const ListingOptions& options,
                              ListingLists& lists, std::string& text, const TextForm& form) {
    lists.Clear_Lists();
    const std::size_t count = lines.size();
    const std::size_t bytes = bytes_of(lines);
    start_run(options, lists, count, bytes);
    // Remarks make a text a little longer than its source; a few more bytes save a move.
    text.reserve(text.size() + bytes + bytes / 16 + count * form.line_end.size());
    ScanLine line;
    keep_work_ = false;
    for (std::size_t i = 0; i < count; ++i) {
        line.assign(lines[i]);
        prepare_line(line, i + 1, options, lists);
        list_words(line, i + 1, options, lists);
        text.append(line.out);
        text.append(form.End_Of(i, count));
    }
    keep_work_ = true;
    note_open_literal(lists, count);
}

bool ListingEngine::Split_Listing_Exact(const ListingOptions& options) {
    return options.terminators.find('.') != std::string::npos;
}

void ListingEngine::Scan_Lines(const TextList& lines, const ListingOptions& options,
                               ListingLists& lists, ScannedFile& scanned) {
    Scan_Lines(LineViews(lines.begin(), lines.end()), options, lists, scanned);
}

void ListingEngine::Scan_Lines(const LineViews& lines, const ListingOptions& options,
                               ListingLists& lists, ScannedFile& scanned) {
    lists.Clear_Lists();
    scanned.Clear();
    const std::size_t count = lines.size();
    const std::size_t bytes = bytes_of(lines);
    start_run(options, lists, count, bytes);
    // Only the tokens are kept: the finish prepares the lines again, which costs less than
    // keeping every prepared line and its masks for it.
    scanned.source.assign(lines.begin(), lines.end());
    ScanLine line;
    for (std::size_t i = 0; i < count; ++i) {
        line.assign(lines[i]);
        prepare_line(line, i + 1, options, lists);
        scan_words(line, options, scanned);
    }
    note_open_literal(lists, count);
}

void ListingEngine::Settle_Tokens(TokenTable& tokens, ScannedFile& scanned) {
    // In order of first occurrence, as a listing of the file registers them.
    const std::uint32_t n = scanned.tokens.Size();
    scanned.known.assign(n, 0);
    scanned.respelt.assign(n, 0);
    // The index is large and the keys known: each lookup's memory is asked for some keys
    // ahead, so that the lookups do not wait for it one after the other.
    constexpr std::uint32_t ahead = 8;
    for (std::uint32_t id = 0; id < n; ++id) {
        if (id + 2 * ahead < n)
            tokens.Prefetch(scanned.tokens.Key(id + 2 * ahead), 0);
        if (id + ahead < n)
            tokens.Prefetch(scanned.tokens.Key(id + ahead), 1);
        bool known = false;
        const std::string_view first = scanned.tokens.Spelling(id);
        const std::string_view stored = tokens.Stored_Form(first, &known);
        scanned.respelt[id] = stored != first;
        scanned.tokens.Respell(id, stored);
        scanned.known[id] = known ? 1 : 0;
    }
    // A routine name that is no token of the file is found or not whatever the file registers.
    scanned.name_found.assign(scanned.names.Size(), std::nullopt);
    for (std::uint32_t q = 0; q < scanned.names.Size(); ++q)
        if (scanned.tokens.Find(scanned.names.Key(q)) == KeyTable::kAbsent)
            scanned.name_found[q] = tokens.Find_Token(scanned.names.Key(q));
}

void ListingEngine::start_finish(const ListingOptions& options, ScannedFile& scanned) {
    scanner_.set_delimiters(
        Build_Delimiters(options.terminators, options.use_blank, options.use_tab));
    scanner_.Start_Text();
    width_ = Number_Width(scanned.source.size());
    blocks_ = Blocks{};
    split_ = &scanned;
    scanned.next_use = 0;
    scanned.seen.assign(scanned.tokens.Size(), 0);
}

template <class Done>
void ListingEngine::finish_scanned(const ListingOptions& options, ScannedFile& scanned,
                                   ListingLists& lists, Done&& done) {
    start_finish(options, scanned);
    const std::size_t count = scanned.source.size();
    ScanLine line;
    for (std::size_t i = 0; i < count; ++i) {
        line.assign(scanned.source[i]);
        // Prepared as the scan prepared it (the scanner carries an open comment from line to
        // line the same way); the literals were collected then.
        scanner_.Prepare_Line(line, options.remove_old_remarks, nullptr);
        list_words(line, i + 1, options, lists);
        done(line);
    }
    split_ = nullptr;
    note_open_literal(lists, count);
}

void ListingEngine::Finish_Lines(const ListingOptions& options, ListingLists& lists,
                                 ScannedFile& scanned) {
    lists.src.clear();
    lists.src_o.clear();
    lists.src.reserve(scanned.source.size());
    lists.src_o.reserve(scanned.source.size());
    finish_scanned(options, scanned, lists, [&](ScanLine& line) {
        lists.src.push_back(line.work);
        lists.src_o.push_back(line.out);
    });
}

bool ListingEngine::Draft_Fits(const ListingOptions& options, std::size_t bytes) {
    // Places in the text are noted in 32 bits; collected tokens need their settled spelling
    // while the lines are listed.
    return Split_Listing_Exact(options) && !options.collect_tokens && bytes < (1u << 30);
}

void ListingEngine::Draft_Text(const LineViews& lines, const ListingOptions& options,
                               ListingLists& lists, ScannedFile& scanned, std::string& text,
                               const TextForm& form) {
    lists.Clear_Lists();
    scanned.Clear();
    const std::size_t count = lines.size();
    const std::size_t bytes = bytes_of(lines);
    start_run(options, lists, count, bytes);
    text.reserve(text.size() + bytes + bytes / 16 + count * form.line_end.size());
    // About one token for every six bytes of source, and one distinct token for some forty
    // (one for twenty in a dense file).
    scanned.patches.reserve(bytes / 6);
    scanned.tokens.Expect(bytes / 32);
    draft_ = &scanned;
    draft_queries_ = 0;
    keep_work_ = false;
    ScanLine line;
    for (std::size_t i = 0; i < count; ++i) {
        line.assign(lines[i]);
        prepare_line(line, i + 1, options, lists);
        draft_line_at_ = text.size();
        list_words(line, i + 1, options, lists);
        text.append(line.out);
        text.append(form.End_Of(i, count));
    }
    draft_ = nullptr;
    keep_work_ = true;
    note_open_literal(lists, count);
}

std::uint32_t ListingEngine::file_token(KeyTable& tokens, std::string_view word) {
    key_.resize(word.size());
    for (std::size_t k = 0; k < word.size(); ++k) {
        const char c = word[k];
        key_[k] = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
    }
    return tokens.Find_Or_Add(key_, word);
}

void ListingEngine::draft_word(std::string_view word, const ScanLine& line, std::size_t start) {
    ScannedFile& d = *draft_;
    const std::uint32_t hash = SpellingIndex::Hash(word);
    std::uint32_t noted = d.spellings.Find(word, hash);
    if (noted == SpellingIndex::kAbsent) {
        const std::uint32_t id = file_token(d.tokens, word);
        noted = id | (d.tokens.Spelling(id) == word ? ScannedFile::kAsFirst : 0);
        d.spellings.Add(word, hash, noted);
    }
    d.patches.push_back(
        {static_cast<std::uint32_t>(draft_line_at_ + start + line.queued_before(start)), noted});
}

void ListingEngine::Patch_Text(const ListingOptions& options, const ScannedFile& scanned,
                               std::string& text) {
    const int output_case = options.output_case;
    const bool cased = output_case == 0 || output_case == 1 || output_case == 3;
    // Each token's spelling as the new text writes it, once per token, and whether that is
    // the spelling of its first occurrence (the draft holds it already where it is spelt so).
    const std::uint32_t n = scanned.tokens.Size();
    std::string written;
    std::vector<std::uint32_t> starts;
    std::vector<std::uint8_t> as_first(n, 0);
    if (cased) {
        starts.reserve(std::size_t{n} + 1);
        std::string one;
        for (std::uint32_t id = 0; id < n; ++id) {
            const std::string_view settled = scanned.tokens.Spelling(id);
            starts.push_back(static_cast<std::uint32_t>(written.size()));
            one.assign(settled);
            Apply_Output_Case(one, output_case);
            one.resize(settled.size());
            written += one;
            as_first[id] = !scanned.respelt[id] && one == settled;
        }
        starts.push_back(static_cast<std::uint32_t>(written.size()));
    } else {
        for (std::uint32_t id = 0; id < n; ++id)
            as_first[id] = !scanned.respelt[id];
    }
    std::vector<std::uint8_t> seen(n, 0);
    std::vector<std::string_view> found; // per look-up of a routine name: its spelling, or none
    char* const out = text.data();
    for (const ScannedFile::Patch& p : scanned.patches) {
        if (p.what & ScannedFile::kRemark) {
            const std::string_view name = found[p.what & ~ScannedFile::kRemark];
            if (name.empty())
                continue; // the source's spelling, already in the chosen case
            std::string spelt(name);
            if (cased)
                Apply_Output_Case(spelt, output_case);
            std::memcpy(out + p.at, spelt.data(), name.size());
        } else if (p.what & ScannedFile::kQuery) {
            // As find_token answers in the finish of a split listing.
            const std::uint32_t q = p.what & ~ScannedFile::kQuery;
            const std::string_view key = scanned.names.Key(q);
            std::string_view name;
            if (const std::uint32_t id = scanned.tokens.Find(key); id != KeyTable::kAbsent) {
                if (seen[id] || scanned.known[id])
                    name = scanned.tokens.Spelling(id);
            } else if (scanned.name_found[q]) {
                name = *scanned.name_found[q];
            }
            found.push_back(name);
        } else {
            const std::uint32_t id = p.what & ScannedFile::kNumber;
            seen[id] = 1;
            if ((p.what & ScannedFile::kAsFirst) && as_first[id])
                continue;
            const std::string_view spelt =
                cased ? std::string_view(written).substr(starts[id], starts[id + 1] - starts[id])
                      : scanned.tokens.Spelling(id);
            for (std::size_t k = 0; k < spelt.size(); ++k)
                out[p.at + k] = spelt[k];
        }
    }
}

void ListingEngine::Map_Lines(const LineViews& lines, const ListingOptions& options,
                              SourceMap& map) {
    map.Clear();
    // The text as it stands: old remarks are comments like any other, so every place is a
    // place of the source. Routines are paired whatever the options say of remarks.
    ListingOptions o = options;
    o.remove_old_remarks = false;
    o.end_remarks = true;
    o.collect_alpha = o.collect_numeric = o.collect_tokens = false;
    o.output_case = -1;
    ListingLists lists;
    start_run(o, lists, lines.size(), 0);
    map_ = &map;
    keep_work_ = false;
    ScanLine line;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        line.assign(lines[i]);
        scanner_.Prepare_Line(line, false, nullptr);
        map_line_ = static_cast<std::uint32_t>(i + 1);
        const std::size_t n = line.work.size();
        for (std::size_t k = 0; k < n;) {
            const Mask m = line.mask[k];
            if (m == Mask::None) {
                ++k;
                continue;
            }
            const std::size_t s = k;
            while (k < n && line.mask[k] == m)
                ++k;
            map.ranges.push_back(
                {map_line_, static_cast<std::uint32_t>(s), static_cast<std::uint32_t>(k),
                 m == Mask::Literal ? SourceMap::Kind::Literal : SourceMap::Kind::Comment});
        }
        if (line.out.size() > n) // the scanner cut the work line at "//"
            map.ranges.push_back({map_line_, static_cast<std::uint32_t>(n),
                                  static_cast<std::uint32_t>(line.out.size()),
                                  SourceMap::Kind::Comment});
        list_words(line, i + 1, o, lists);
    }
    map_ = nullptr;
    keep_work_ = true;
    std::erase_if(map.routines, [](const SourceMap::Routine& r) { return r.line == 0; });
}

std::string_view ListingEngine::stored_form(std::string_view word) {
    if (!split_)
        return tokens_->Stored_Form(word);
    const std::uint32_t id = split_->uses[split_->next_use++];
    split_->seen[id] = 1;
    return split_->tokens.Spelling(id);
}

std::optional<std::string> ListingEngine::find_token(const std::string& name) {
    if (map_)
        return std::nullopt; // a map names routines as the source spells them
    if (draft_) {
        // Answered by Patch_Text, in the same place of the listing's order; until then the
        // name stands as the source spells it.
        const std::string key = Upper_Ascii(name);
        std::uint32_t q = draft_->names.Find(key);
        if (q == KeyTable::kAbsent)
            q = draft_->names.Add(key, key);
        draft_->patches.push_back({0, ScannedFile::kQuery | q});
        draft_query_ = ++draft_queries_;
        return std::nullopt;
    }
    if (!split_)
        return tokens_->Find_Token(name);
    const std::string key = Upper_Ascii(name);
    if (const std::uint32_t id = split_->tokens.Find(key); id != KeyTable::kAbsent) {
        if (split_->seen[id] || split_->known[id])
            return std::string(split_->tokens.Spelling(id));
        return std::nullopt;
    }
    if (const std::uint32_t q = split_->names.Find(key); q != KeyTable::kAbsent)
        return split_->name_found[q];
    return std::nullopt;
}

void ListingEngine::scan_words(const ScanLine& line, const ListingOptions& options,
                               ScannedFile& scanned) {
    next_ = {};
    const std::string& w = line.work;
    const std::size_t n = w.size();
    std::size_t i = 0;
    while (i < n) {
        if (line.mask[i] != Mask::None || scanner_.is_delimiter(w[i])) {
            ++i;
            continue;
        }
        const std::size_t s = i;
        while (i < n && !scanner_.is_delimiter(w[i]) && line.mask[i] == Mask::None)
            ++i;
        const std::string_view word(w.data() + s, i - s);
        if (options.end_remarks && !escaped_name(line, s)) {
            const Keyword keyword = classify(word);
            if (keyword == Keyword::Procedure || keyword == Keyword::Function) {
                // Whether the routine's name is known when its heading is listed is settled
                // with the tokens; names no token of the file spells are asked for apart.
                const std::string_view raw = heading_raw(line, i);
                if (!raw.empty() && !is_numeric_word(raw)) {
                    const std::string key = Upper_Ascii(raw);
                    if (scanned.tokens.Find(key) == KeyTable::kAbsent &&
                        scanned.names.Find(key) == KeyTable::kAbsent)
                        scanned.names.Add(key, key);
                }
            }
        }
        if (is_numeric_word(word))
            continue;
        scanned.uses.push_back(file_token(scanned.tokens, word));
    }
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

    start_run(options, lists, count, bytes_of(lists.src));
    lists.src_o.resize(count);

    ScanLine line;
    for (std::size_t i = 0; i < count; ++i) {
        line.assign(std::move(lists.src[i]));
        prepare_line(line, i + 1, options, lists);
        list_words(line, i + 1, options, lists);
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
    note_open_literal(lists, count);
    return result;
}

void ListingEngine::prepare_line(ScanLine& line, std::size_t line_number,
                                 const ListingOptions& options, ListingLists& lists) {
    literals_.clear();
    scanner_.Prepare_Line(line, options.remove_old_remarks,
                          options.collect_alpha ? &literals_ : nullptr);
    if (options.collect_alpha) {
        // A literal of several lines is reported where it ends and collected where it begins.
        std::size_t back = scanner_.First_Literal_Back();
        for (const auto& literal : literals_) {
            lists.a_const.add(literal, line_number - back);
            back = 0;
        }
    }
}

void ListingEngine::note_open_literal(ListingLists& lists, std::size_t count) const {
    // A literal that never closes runs to the end of the text: the check names its first line.
    lists.open_literal_line = scanner_.Literal_Open() ? count + 1 - scanner_.Literal_Lines() : 0;
}

namespace {
// Where the run of unmasked bytes from `from` ends: at the next masked byte, or at `n`.
std::size_t unmasked_run_end(const Mask* mask, std::size_t from, std::size_t n) {
    std::size_t k = from;
#if defined(__SSE2__)
    const __m128i none = _mm_setzero_si128();
    for (; k + 16 <= n; k += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(mask + k));
        const unsigned masked =
            ~static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, none))) & 0xFFFFu;
        if (masked != 0)
            return k + static_cast<std::size_t>(__builtin_ctz(masked));
    }
#endif
    while (k < n && mask[k] == Mask::None)
        ++k;
    return k;
}
} // namespace

void ListingEngine::list_words(ScanLine& line, std::size_t line_number,
                               const ListingOptions& options, ListingLists& lists) {
    next_ = {};
    Blocks& b = blocks_;
    std::string& w = line.work;
    char* const out = line.out.data();
    const int output_case = options.output_case;
    output_case_ = output_case;
    const std::size_t n = w.size();
    const Mask* const mask = line.mask.data();
    std::size_t i = 0;
    std::size_t plain_end = 0; // the end of the run of unmasked bytes that `i` lies in
    while (i < n) {
        if (i >= plain_end) {
            // Masked bytes (literals, comments) in one go: nothing here is a word, and a
            // literal is a value, like a word. (The masks stay as they are during the loop.)
            bool literal = false;
            for (; i < n && mask[i] != Mask::None; ++i)
                literal |= mask[i] == Mask::Literal;
            if (literal)
                b.last = 'w';
            plain_end = unmasked_run_end(mask, i, n);
            continue;
        }
        const char c = w[i];
        if (scanner_.is_delimiter(c)) {
            if (c != ' ' && c != '\t') {
                b.last = c;
                if (b.heading_open)
                    b.heading_parens += c == '(' ? 1 : c == ')' ? -1 : 0;
            }
            ++i;
            continue;
        }
        const std::size_t s = i;
        while (i < plain_end && !scanner_.is_delimiter(w[i]))
            ++i;
        const std::size_t l = i - s;
        const std::string_view word(w.data() + s, l);
        Keyword keyword = options.end_remarks ? classify(word) : Keyword::None;
        if (keyword != Keyword::None && escaped_name(line, s))
            keyword = Keyword::None;

        if (is_numeric_word(word)) {
            // Numbers pass unchanged: the out line already holds them.
            if (options.collect_numeric)
                lists.n_const.add(word, line_number);
            if (map_)
                map_->words.push_back({map_line_, static_cast<std::uint32_t>(s),
                                       static_cast<std::uint32_t>(l), true});
        } else if (map_) {
            map_->words.push_back(
                {map_line_, static_cast<std::uint32_t>(s), static_cast<std::uint32_t>(l), false});
        } else if (draft_) {
            draft_word(word, line, s);
        } else {
            const std::string_view stored = stored_form(word);
            if (options.collect_tokens)
                lists.t_cref.add(stored, line_number);
            char* o = out + s;
            switch (output_case) {
            case 0:
                for (std::size_t k = 0; k < l; ++k) {
                    const char x = stored[k];
                    o[k] = (x >= 'a' && x <= 'z') ? static_cast<char>(x - 32) : x;
                }
                break;
            case 1:
                for (std::size_t k = 0; k < l; ++k) {
                    const char x = stored[k];
                    o[k] = (x >= 'A' && x <= 'Z') ? static_cast<char>(x + 32) : x;
                }
                break;
            case 3: {
                std::string cased(stored);
                Apply_Output_Case(cased, output_case);
                std::memcpy(o, cased.data(), l);
                break;
            }
            default:
                if (stored.data() != o)
                    std::memmove(o, stored.data(), l);
                break;
            }
        }
        if (keyword != Keyword::None)
            end_remark_step(line, keyword, s, l);
        if (keyword != Keyword::Packed)
            b.last = 'w';

        // The word is handled: masked in the work line, unless no work line is kept. (Its mask
        // entries stay: nothing looks back at positions the loop has passed.)
        if (keep_work_)
            std::memset(w.data() + s, '_', l);
    }
    if (keep_work_)
        line.apply_inserts();
    else
        line.apply_inserts_to_out();
}

ListingEngine::Keyword ListingEngine::classify(std::string_view word) {
    auto is = [&](std::string_view upper_keyword) { return is_keyword(word, upper_keyword); };
    const char first = static_cast<char>(word.empty() ? 0 : (word[0] & 0xDF));
    switch (word.size()) {
    case 3:
        if (first == 'E' && is("END"))
            return Keyword::End;
        if (first == 'T' && is("TRY"))
            return Keyword::Try;
        if (first == 'A' && is("ASM"))
            return Keyword::Asm;
        if (first == 'V' && is("VAR"))
            return Keyword::Declaration;
        break;
    case 4:
        if (first == 'C' && is("CASE"))
            return Keyword::Case;
        if (first == 'T' && is("TYPE"))
            return Keyword::Declaration;
        break;
    case 5:
        if (first == 'B' && is("BEGIN"))
            return Keyword::Begin;
        if (first == 'C' && is("CLASS"))
            return Keyword::Class;
        if ((first == 'C' && is("CONST")) || (first == 'L' && is("LABEL")))
            return Keyword::Declaration;
        break;
    case 6:
        if (first == 'R' && is("RECORD"))
            return Keyword::Record;
        if (first == 'O' && is("OBJECT"))
            return Keyword::Object;
        if (first == 'P' && is("PACKED"))
            return Keyword::Packed;
        break;
    case 7:
        if (first == 'F' && is("FORWARD"))
            return Keyword::Forward;
        break;
    case 8:
        if (first == 'F' && is("FUNCTION"))
            return Keyword::Function;
        if (first == 'E' && is("EXTERNAL"))
            return Keyword::External;
        break;
    case 9:
        if (first == 'P' && is("PROCEDURE"))
            return Keyword::Procedure;
        if (first == 'I' && is("INTERFACE"))
            return Keyword::Interface;
        if (first == 'B' && is("BITPACKED"))
            return Keyword::Packed;
        if (first == 'T' && is("THREADVAR"))
            return Keyword::Declaration;
        break;
    case 10:
        if (first == 'D' && is("DESTRUCTOR"))
            return Keyword::Declaration;
        break;
    case 11:
        if (first == 'C' && is("CONSTRUCTOR"))
            return Keyword::Declaration;
        break;
    case 12:
        if (first == 'F' && is("FINALIZATION"))
            return Keyword::Declaration;
        break;
    case 13:
        if (first == 'D' && is("DISPINTERFACE"))
            return Keyword::Dispinterface;
        break;
    case 14:
        if (first == 'I' && is("IMPLEMENTATION"))
            return Keyword::Implementation;
        if ((first == 'I' && is("INITIALIZATION")) || (first == 'R' && is("RESOURCESTRING")))
            return Keyword::Declaration;
        break;
    default:
        break;
    }
    return Keyword::None;
}

std::size_t ListingEngine::next_char(const ScanLine& line, char c, std::size_t from,
                                     NextChar& cache) const {
    // The answer for an earlier start still holds when it lies at or after `from` and is
    // still unmasked; a new search starts behind everything searched before.
    std::size_t k = from;
    if (cache.known && cache.from <= from) {
        if (cache.at == std::string::npos)
            return std::string::npos;
        if (cache.at >= from) {
            if (line.mask[cache.at] == Mask::None && line.work[cache.at] == c)
                return cache.at;
            k = cache.at + 1;
        }
    }
    const std::string& w = line.work;
    while (k < w.size() && (w[k] != c || line.mask[k] != Mask::None))
        ++k;
    cache = {true, from, k < w.size() ? k : std::string::npos};
    return cache.at;
}

std::string ListingEngine::heading_name(const ScanLine& line, std::size_t after) {
    return routine_name(heading_raw(line, after));
}

std::string_view ListingEngine::heading_raw(const ScanLine& line, std::size_t after) {
    // The routine's name as it stands in the source, up to "(", else ":", else ";"; of a
    // method "TForm1.FormCreate" the part behind the first ".".
    std::size_t cut = next_char(line, '(', after, next_[0]);
    if (cut == std::string::npos)
        cut = next_char(line, ':', after, next_[1]);
    if (cut == std::string::npos)
        cut = next_char(line, ';', after, next_[2]);
    if (cut == std::string::npos)
        return {};
    std::size_t k = after;
    if (std::size_t dot = next_char(line, '.', after, next_[3]); dot < cut)
        k = dot + 1;
    // The first run of word characters: a heading whose name is chosen by compiler directives
    // ("{$ifdef A}Delete{$else}Other{$endif}") or that has type parameters still names one word,
    // so the remark it gets is recognised and replaced by the next run.
    const std::string& w = line.work;
    auto plain = [&](std::size_t p) { return line.mask[p] == Mask::None; };
    while (k < cut && (!plain(k) || scanner_.is_delimiter(w[k])))
        ++k;
    const std::size_t s = k;
    while (k < cut && plain(k) && !scanner_.is_delimiter(w[k]) && w[k] != '}')
        ++k;
    return std::string_view(w).substr(s, k - s);
}

std::string ListingEngine::routine_name(std::string_view raw) {
    std::string name(raw);
    // The remark names the routine the way the new text spells it: the token index's spelling
    // in the chosen output case. Listing the new text again, even with a fresh token index,
    // then gives the same remark, so a second run leaves the text (and its backup) alone.
    if (!name.empty() && !is_numeric_word(name)) {
        if (auto stored = find_token(name))
            name = std::move(*stored);
        if (output_case_ == 0 || output_case_ == 1 || output_case_ == 3)
            Apply_Output_Case(name, output_case_);
    }
    return name;
}

bool ListingEngine::opens_type(const ScanLine& line, std::size_t after) const {
    // "= class" opens a declaration that an END closes, unless it is only announced
    // ("= class;", "= class(TBase);") or names a class type ("= class of TBase"). Only a short
    // stretch of the line is looked at, so that no line costs more than linear time.
    const std::string& w = line.work;
    const std::size_t limit = std::min(w.size(), after + 256);
    auto skip_blank = [&](std::size_t k) {
        while (k < limit && (line.mask[k] == Mask::Comment || w[k] == ' ' || w[k] == '\t'))
            ++k;
        return k;
    };
    std::size_t k = skip_blank(after);
    if (k >= limit)
        return true;
    if (w[k] == ';')
        return false;
    if (w[k] == '(') {
        int depth = 0;
        for (; k < limit; ++k) {
            if (line.mask[k] != Mask::None)
                continue;
            depth += w[k] == '(' ? 1 : w[k] == ')' ? -1 : 0;
            if (depth == 0)
                break;
        }
        if (k >= limit)
            return true;
        k = skip_blank(k + 1);
        return k >= limit || w[k] != ';';
    }
    if (line.mask[k] == Mask::None && !scanner_.is_delimiter(w[k])) {
        std::size_t e = k;
        while (e < w.size() && line.mask[e] == Mask::None && !scanner_.is_delimiter(w[e]))
            ++e;
        return !is_keyword(std::string_view(w).substr(k, e - k), "OF");
    }
    return true;
}

void ListingEngine::clear_blocks() {
    const char last = blocks_.last;
    blocks_ = Blocks{};
    blocks_.last = last;
}

void ListingEngine::end_remark_step(ScanLine& line, Keyword word, std::size_t start,
                                    std::size_t length) {
    Blocks& b = blocks_;
    const std::size_t after = start + length; // 0-based index right after the word
    switch (word) {
    case Keyword::Begin:
    case Keyword::Case:
    case Keyword::Try:
    case Keyword::Asm:
        b.heading_open = false;
        if (b.type_depth > 0) {
            if (word == Keyword::Case)
                return;       // the variant part of a record: its END is the record's
            b.type_depth = 0; // statements: no declaration can still be open
        }
        ++b.counts[static_cast<std::size_t>(b.level)];
        return;
    case Keyword::End: {
        b.heading_open = false;
        // END followed by "." ends the unit or program: nothing is left open after it.
        std::size_t k = after;
        while (k < line.work.size() &&
               (line.mask[k] == Mask::Comment || line.work[k] == ' ' || line.work[k] == '\t'))
            ++k;
        if (k < line.work.size() && line.work[k] == '.' && line.mask[k] == Mask::None) {
            clear_blocks();
            return;
        }
        if (b.type_depth > 0) {
            --b.type_depth;
            return;
        }
        int& count = b.counts[static_cast<std::size_t>(b.level)];
        --count;
        if (count == 0 && b.level > 0) {
            if (map_) {
                if (const std::uint32_t r = b.routines[static_cast<std::size_t>(b.level)]; r != 0) {
                    map_->routines[r - 1].end_line = map_line_;
                    map_->routines[r - 1].end_column = static_cast<std::uint32_t>(start);
                }
                --b.level;
                return;
            }
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
            if (const std::uint32_t query = b.queries[static_cast<std::size_t>(b.level)];
                draft_ && query != 0)
                draft_->patches.push_back(
                    {static_cast<std::uint32_t>(draft_line_at_ + pos + line.queued_before(pos) + 6),
                     ScannedFile::kRemark | (query - 1)});
            line.insert_later(pos, work_text, out_text, Mask::Handled);
            --b.level;
        }
        return;
    }
    case Keyword::Implementation:
        clear_blocks(); // nothing declared above it has its body there
        return;
    case Keyword::Declaration:
        b.heading_open = false;
        return;
    case Keyword::Forward:
    case Keyword::External:
        // "procedure P; forward;" and "function F: Integer; cdecl; external 'c';" have no
        // body here: their level is given up again.
        if (b.heading_open && b.heading_parens <= 0 && b.last == ';' && b.level > 0) {
            if (const std::uint32_t r = b.routines[static_cast<std::size_t>(b.level)];
                map_ && r != 0)
                map_->routines[r - 1].line = 0; // no body here: dropped from the map at its end
            --b.level;
            b.heading_open = false;
        }
        return;
    case Keyword::Record:
        ++b.type_depth;
        return;
    case Keyword::Class:
    case Keyword::Object:
    case Keyword::Interface:
    case Keyword::Dispinterface:
        if (b.last == '=' && opens_type(line, after))
            ++b.type_depth;
        return;
    case Keyword::Packed:
    case Keyword::None:
        return;
    case Keyword::Procedure:
    case Keyword::Function:
        break;
    }

    // A heading inside a type declaration, or of a procedural type or variable
    // ("= procedure(...)", ": function: Integer"), has no body: it opens no level.
    if (b.type_depth > 0 || b.last == '=' || b.last == ':')
        return;
    draft_query_ = 0;
    std::string name = heading_name(line, after);
    if (b.level == 10) {
        // All levels in use: the oldest one gives way.
        for (std::size_t k = 1; k < 10; ++k) {
            b.names[k] = std::move(b.names[k + 1]);
            b.counts[k] = b.counts[k + 1];
            b.queries[k] = b.queries[k + 1];
            b.routines[k] = b.routines[k + 1];
        }
    } else {
        ++b.level;
    }
    b.names[static_cast<std::size_t>(b.level)] = std::move(name);
    b.counts[static_cast<std::size_t>(b.level)] = 0;
    b.queries[static_cast<std::size_t>(b.level)] = draft_query_;
    if (map_) {
        map_->routines.push_back({b.names[static_cast<std::size_t>(b.level)], map_line_,
                                  static_cast<std::uint32_t>(start)});
        b.routines[static_cast<std::size_t>(b.level)] =
            static_cast<std::uint32_t>(map_->routines.size());
    }
    b.heading_open = true;
    b.heading_parens = 0;
}

} // namespace parvex

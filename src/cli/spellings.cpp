#include "spellings.h"

#include "batch_run.h"
#include "name_quote.h"
#include "source_input.h"
#include "work_pool.h"

#include "engine/line_scanner.h"
#include "engine/result_names.h"
#include "platform/source_text.h"
#include "platform/text_file.h"
#include "verify/code_reader.h"

#include <algorithm>
#include <iostream>
#include <memory>
#include <new>
#include <sys/stat.h>
#include <unordered_map>

namespace parvex::cli {

namespace {

struct Spelling {
    std::string text;
    std::size_t count = 0;
    std::size_t file = 0, line = 0; // where it occurs first
};

// The spellings of one token, in the order they were first met.
struct Token {
    std::vector<Spelling> spellings;
    std::size_t total = 0;
};

using TokenMap = std::unordered_map<std::string, Token>; // by upper-cased token

std::string upper(std::string_view word) {
    std::string u(word);
    for (char& c : u)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
    return u;
}

bool is_number(std::string_view word) {
    return std::all_of(word.begin(), word.end(), [](char c) { return c >= '0' && c <= '9'; });
}

void add(TokenMap& map, std::string_view word, std::size_t count, std::size_t file,
         std::size_t line) {
    Token& t = map[upper(word)];
    t.total += count;
    for (Spelling& s : t.spellings)
        if (s.text == word) {
            s.count += count;
            return;
        }
    t.spellings.push_back({std::string(word), count, file, line});
}

// The words of one source, as a listing takes them: runs of code between delimiters, numbers
// left out.
struct FileWords {
    bool read_ok = false;
    std::string error;
    TokenMap words;
    std::vector<std::string> order; // keys in the order first met
};

void collect(std::string_view bytes, const LineScanner& delimiters, std::size_t file,
             FileWords& out) {
    CodeReader reader;
    CodeLine line;
    const auto lines = Text_Lines(bytes);
    for (std::size_t n = 0; n < lines.size(); ++n) {
        reader.Read_Line(lines[n], line);
        const std::string& t = line.text;
        std::size_t i = 0;
        while (i < t.size()) {
            if (line.kinds[i] != ByteKind::Code || delimiters.is_delimiter(t[i])) {
                ++i;
                continue;
            }
            const std::size_t s = i;
            while (i < t.size() && line.kinds[i] == ByteKind::Code &&
                   !delimiters.is_delimiter(t[i]))
                ++i;
            const std::string_view word(t.data() + s, i - s);
            if (is_number(word))
                continue;
            const std::size_t before = out.words.size();
            add(out.words, word, 1, file, n + 1);
            if (out.words.size() != before)
                out.order.push_back(upper(word));
        }
    }
}

// Why the spelling file may not be written where it was asked for: it would replace a source
// of the call, a source's saved original or one of its results. Empty when it may.
std::string target_problem(const std::string& target, const std::vector<SourceJob>& jobs,
                           const SaveOptions& save) {
    for (const SourceJob& job : jobs) {
        if (Same_File(target, job.file))
            return "is the source " + Quote_Name(job.file);
        const ResultNames names = Result_Names(job.file, job.out_folder, save);
        if (Is_Backup_Of(target, names.backup()))
            return "is a saved original of " + Quote_Name(job.file);
        for (std::size_t k = 0; k < names.files.size(); ++k)
            if (k != 1 && Same_File(target, names.files[k]))
                return "is a result file of " + Quote_Name(job.file);
    }
    return {};
}

// The most restrictive permission bits of the sources (the list names their identifiers), and
// never more than a new file gets.
int most_restrictive_mode(const std::vector<SourceJob>& jobs, const std::string& stdin_name) {
    int bits = New_File_Permissions();
    if (!stdin_name.empty())
        return bits;
    for (const SourceJob& job : jobs) {
        struct stat st {};
        if (::stat(job.file.c_str(), &st) == 0)
            bits &= static_cast<int>(st.st_mode & 0666);
    }
    return bits;
}

} // namespace

SpellingResult Spelling_Report(const CliOptions& o, const TokenTable& tokens,
                               const std::vector<SourceJob>& jobs, const std::string& stdin_name) {
    SpellingResult result;
    if (!o.spellings_out.empty() && stdin_name.empty()) {
        if (std::string why = target_problem(o.spellings_out, jobs, o.save); !why.empty()) {
            std::cerr << "parvex-list: --spellings-out " << Quote_Name(o.spellings_out) << ": "
                      << why << ": choose another file; nothing was written\n";
            result.errors = true;
            return result;
        }
    }
    const LineScanner delimiters(
        Build_Delimiters(o.listing.terminators, o.listing.use_blank, o.listing.use_tab));
    std::vector<std::string> names;
    for (const auto& j : jobs)
        names.push_back(Quote_Name(stdin_name.empty() ? j.file : stdin_name));

    auto read_one = [&](std::size_t k, FileWords& fw) {
        // The sources a listing refuses are not counted either, and one the memory does not
        // suffice for fails alone.
        try {
            std::string bytes;
            if (!Read_Source_Bytes(jobs[k], names[k], !stdin_name.empty(), o.max_size, bytes,
                                   fw.error))
                return;
            if (Looks_Binary(bytes)) {
                fw.error = names[k] + ": " + std::string(Binary_Source_Text);
                return;
            }
            fw.read_ok = true;
            collect(bytes, delimiters, k, fw);
        } catch (const std::bad_alloc&) {
            fw = FileWords();
            fw.error = names[k] + ": not enough memory to read it, not listed";
        }
    };

    // Files are read in parallel and merged in file order, so "first met" means the same as
    // in a listing run.
    TokenMap all;
    auto merge = [&](FileWords& fw) {
        if (!fw.read_ok) {
            std::cerr << "parvex-list: " << Escape_Controls(fw.error) << '\n';
            result.errors = true;
            return;
        }
        for (const std::string& key : fw.order) {
            Token& mine = fw.words[key];
            for (const Spelling& s : mine.spellings)
                add(all, s.text, s.count, s.file, s.line);
        }
    };
    const unsigned threads = o.jobs == 0 ? Default_Jobs() : o.jobs;
    if (threads <= 1 || jobs.size() <= 1) {
        for (std::size_t k = 0; k < jobs.size(); ++k) {
            FileWords fw;
            read_one(k, fw);
            merge(fw);
        }
    } else {
        const std::size_t window = 2 * threads + 2;
        std::vector<std::unique_ptr<FileWords>> words(jobs.size());
        std::unique_ptr<bool[]> done(new bool[jobs.size()]());
        WorkPool pool(threads);
        std::size_t next = 0;
        for (std::size_t k = 0; k < jobs.size(); ++k) {
            for (; next < jobs.size() && next < k + window; ++next) {
                words[next] = std::make_unique<FileWords>();
                pool.Submit([&, next] {
                    read_one(next, *words[next]);
                    pool.Raise(done[next]);
                });
            }
            pool.Wait_For(done[k]);
            merge(*words[k]);
            words[k].reset();
        }
    }

    // Tokens written more than one way: most frequent first, each spelling likewise.
    std::vector<const std::pair<const std::string, Token>*> mixed;
    for (const auto& entry : all)
        if (entry.second.spellings.size() > 1)
            mixed.push_back(&entry);
    std::sort(mixed.begin(), mixed.end(), [](auto* a, auto* b) {
        return a->second.total != b->second.total ? a->second.total > b->second.total
                                                  : a->first < b->first;
    });
    std::vector<std::string> majority;
    for (auto* entry : mixed) {
        std::vector<Spelling> s = entry->second.spellings;
        std::stable_sort(s.begin(), s.end(),
                         [](const Spelling& a, const Spelling& b) { return a.count > b.count; });
        majority.push_back(s.front().text);
        if (!o.spellings)
            continue;
        // The spelling a listing would write: the token index's, else the first one met.
        const auto stored = tokens.Find_Token(entry->second.spellings.front().text);
        std::string line = stored ? *stored : entry->second.spellings.front().text;
        for (const Spelling& one : s)
            line += "  " + one.text + " " + std::to_string(one.count) + " (" + names[one.file] +
                    ":" + std::to_string(one.line) + ")";
        std::cout << line << '\n';
    }
    if (!o.spellings_out.empty()) {
        std::sort(majority.begin(), majority.end(),
                  [](const std::string& a, const std::string& b) { return upper(a) < upper(b); });
        TextList lines{"// The majority spelling of each token written more than one way"};
        lines.insert(lines.end(), majority.begin(), majority.end());
        StageMode mode;
        mode.permissions = most_restrictive_mode(jobs, stdin_name);
        if (FileResult r = Write_File_Atomic(o.spellings_out, Join_Lines(lines), mode); !r) {
            std::cerr << "parvex-list: " << Escape_Controls(r.error) << '\n';
            result.errors = true;
        }
    }
    return result;
}

} // namespace parvex::cli

// parvex-list: the listing engine for batch work, editors and CI. Lists, checks, saves, diffs
// or filters each source, with one token index for the whole batch.

#include "batch_run.h"
#include "cli_options.h"
#include "source_walk.h"
#include "spellings.h"

#include "frame/app_folders.h"
#include "platform/file_kind.h"
#include "platform/free_memory.h"
#include "tables/subs.h"

#include <cstdio>
#include <iostream>
#include <iterator>
#include <new>

using namespace parvex;
using namespace parvex::cli;

namespace {

constexpr int kExitOk = 0, kExitFindings = 1, kExitError = 2;

void error_line(const std::string& text) {
    std::cerr << "parvex-list: " << text << '\n';
}

// A call that filters standard input into a new text for an editor ("-" with no report mode),
// told from the arguments alone for a command line that could not be parsed.
bool filter_call(const std::vector<std::string>& args) {
    bool dash = false;
    for (const auto& a : args) {
        if (a == "--")
            break;
        if (a == "--diff" || a == "--list-changed" || a.starts_with("--spellings"))
            return false;
        dash = dash || a == "-";
    }
    return dash;
}

// Everything on standard input, as it comes; false when it could not all be read (what could
// is in `bytes`).
bool read_standard_input(std::string& bytes) {
    bytes.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    return !std::cin.bad();
}

// Writes the bytes to standard output; false when they did not all get there.
bool put_out(const std::string& bytes) {
    std::cout.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    std::cout.flush();
    return static_cast<bool>(std::cout);
}

int run(const CliOptions& o, const FilterIo* filter);

// An editor replaces its buffer with whatever the filter prints (Vim adds standard error): so
// whatever happens, standard output carries the new text only after a run that went well, and
// else the input exactly as it came. The exit status says what happened.
int run_filter(const CliOptions* o, const std::string& name) {
    std::string input, output;
    if (!read_standard_input(input)) {
        error_line(name + ": cannot read standard input");
        put_out(input);
        return kExitError;
    }
    int status = kExitError;
    if (o) {
        try {
            const FilterIo filter{&input, &output};
            status = run(*o, &filter);
        } catch (const std::bad_alloc&) {
            error_line(name + ": out of memory");
        } catch (const std::exception& e) {
            error_line(name + ": " + e.what());
        }
    }
    if (!put_out(status == kExitError ? input : output)) {
        error_line("cannot write to standard output");
        return kExitError;
    }
    return status;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    ParseResult parsed = Parse_Command_Line(args);
    if (parsed.ok) {
        // New texts alone are drafted on every thread with few allocations: one heap for all
        // serves them best. Saves, the check and the spelling report build lists of lines.
        const CliOptions& o = parsed.options;
        Restart_With_Large_Heap_Pages(argv, (o.to_stdout || o.diff || o.list_changed) && !o.check &&
                                                !o.spellings && o.spellings_out.empty());
    }
    std::ios::sync_with_stdio(false);
    Reuse_Freed_Memory();
    if (!parsed.ok) {
        error_line(parsed.error);
        std::cerr << "Try 'parvex-list --help'.\n";
        // A mistyped filter in an editor must not empty the buffer either.
        return filter_call(args) ? run_filter(nullptr, "<stdin>") : kExitError;
    }
    const CliOptions& o = parsed.options;
    if (o.help) {
        std::cout << Usage_Text();
        return kExitOk;
    }
    if (o.version) {
        std::cout << "parvex-list " << PARVEX_VERSION << '\n';
        return kExitOk;
    }
    const bool spellings = o.spellings || !o.spellings_out.empty();
    if (o.paths == std::vector<std::string>{"-"} && !spellings && !o.diff && !o.list_changed)
        return run_filter(&o, o.stdin_name.empty() ? "<stdin>" : o.stdin_name);
    return run(o, nullptr);
}

namespace {

int run(const CliOptions& o, const FilterIo* filter) {
    int status = kExitOk;
    TokenTable tokens;
    std::string personal = o.personal_file;
    if (personal.empty()) {
        personal = Default_Personal_Tokens(Decide_App_Folders());
    } else if (std::string what = Describe_Non_File(personal); !what.empty()) {
        error_line(personal + ": " + what);
        return kExitError;
    }
    if (std::string what = Describe_Non_File(o.tokens_file);
        !o.tokens_file.empty() && !what.empty()) {
        error_line(o.tokens_file + ": " + what);
        return kExitError;
    }
    if (FileResult r = tokens.Load_Token_Tables(o.tokens_file, personal); !r) {
        error_line(r.error);
        return kExitError;
    }

    const bool spellings = o.spellings || !o.spellings_out.empty();
    const bool saving = !spellings && !o.to_stdout && !o.diff && !o.list_changed;
    std::vector<SourceJob> jobs;
    std::string stdin_name;
    if (o.paths == std::vector<std::string>{"-"}) {
        jobs.push_back({"-", ""});
        stdin_name = o.stdin_name.empty() ? "<stdin>" : o.stdin_name;
    } else {
        WalkResult walk = Collect_Sources(o.paths, o.out_dir);
        if (saving)
            Drop_Name_Clashes(walk, o.save);
        for (const auto& e : walk.errors) {
            error_line(e);
            status = kExitError;
        }
        if (walk.refused)
            return kExitError; // nothing is written
        jobs = std::move(walk.jobs);
    }
    if (spellings) {
        if (Spelling_Report(o, tokens, jobs, stdin_name).errors)
            status = kExitError;
        std::cout.flush();
        return std::cout ? status : kExitError;
    }
    const BatchMode mode = o.diff                               ? BatchMode::Diff
                           : o.list_changed                     ? BatchMode::List_Changed
                           : o.to_stdout || !stdin_name.empty() ? BatchMode::Print
                                                                : BatchMode::Save;
    BatchResult batch = Run_Batch(o, mode, tokens, jobs, stdin_name, filter);
    if (batch.errors)
        status = kExitError;
    const bool findings = batch.findings;
    std::cout.flush();
    if (!std::cout) {
        error_line("cannot write to standard output");
        return kExitError;
    }
    if (status == kExitOk && findings)
        status = kExitFindings;
    return status;
}

} // namespace

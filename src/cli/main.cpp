// parvex-list: the listing engine for batch work, editors and CI. Lists, checks, saves, diffs
// or filters each source, with one token index for the whole batch.

#include "batch_run.h"
#include "cli_options.h"
#include "name_quote.h"
#include "source_walk.h"
#include "spellings.h"

#include "frame/app_folders.h"
#include "platform/file_kind.h"
#include "platform/free_memory.h"
#include "tables/subs.h"

#include <cstdio>
#include <iostream>

using namespace parvex;
using namespace parvex::cli;

namespace {

constexpr int kExitOk = 0, kExitFindings = 1, kExitError = 2;

// One line, whatever control characters a file name in it holds.
void error_line(const std::string& text) {
    std::cerr << "parvex-list: " << Escape_Controls(text) << '\n';
}

} // namespace

int main(int argc, char** argv) {
    ParseResult parsed = Parse_Command_Line(std::vector<std::string>(argv + 1, argv + argc));
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
        return kExitError;
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
    const bool saving = !spellings && !o.to_stdout && !o.diff && !o.list_changed && !o.check;
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
                           : o.check                            ? BatchMode::Check
                                                                : BatchMode::Save;
    BatchResult batch = Run_Batch(o, mode, tokens, jobs, stdin_name);
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

// parvex-list: the listing engine for batch work, editors and CI. Lists, checks, saves, diffs
// or filters each source, with one token index for the whole batch.

#include "batch_run.h"
#include "cli_options.h"
#include "name_quote.h"
#include "path_list.h"
#include "site_run.h"
#include "source_choice.h"
#include "source_groups.h"
#include "source_input.h"
#include "source_walk.h"
#include "spellings.h"

#include "frame/app_folders.h"
#include "platform/file_kind.h"
#include "platform/free_memory.h"
#include "platform/text_file.h"
#include "tables/subs.h"

#include <cstdio>
#include <iostream>
#include <iterator>
#include <new>

using namespace parvex;
using namespace parvex::cli;

namespace {

constexpr int kExitOk = 0, kExitFindings = 1, kExitError = 2;

// One line, whatever control characters a file name in it holds.
void error_line(const std::string& text) {
    std::cerr << "parvex-list: " << Escape_Controls(text) << '\n';
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
    // The token files the command line names are there whatever the sources turn out to be.
    for (const auto& file : {o.given.personal_file, o.given.tokens_file})
        if (std::string what = file ? Describe_Non_File(*file) : ""; !what.empty()) {
            error_line(*file + ": " + what);
            return kExitError;
        }
    std::string default_personal = Default_Personal_Tokens(Decide_App_Folders());
    if (!File_Exists(default_personal))
        default_personal.clear();
    ProjectConfigs configs;
    std::vector<PathPattern> patterns;
    for (const std::string& text : o.given.excludes) {
        std::string why;
        if (auto p = PathPattern::Parse(text, why)) // checked by the parser
            patterns.push_back(std::move(*p));
    }
    SourceChoice choice(std::move(patterns), o.no_config ? nullptr : &configs, o.config_from);
    SourceGroups groups(o, default_personal);
    // A team's configuration with a mistake stops the call before anything is done.
    auto config_errors = [&] {
        for (const auto& e : configs.Errors())
            error_line(e);
        return !configs.Errors().empty();
    };

    if (!o.print_config.empty()) {
        const std::string text =
            Describe_Settings(o.print_config, choice, groups, o.no_config ? nullptr : &configs);
        if (config_errors())
            return kExitError;
        std::cout << text;
        std::cout.flush();
        return std::cout ? kExitOk : kExitError;
    }

    int status = kExitOk;
    const bool spellings = o.spellings || !o.spellings_out.empty();
    const bool saving = !spellings && !o.to_stdout && !o.diff && !o.list_changed && !o.check;
    std::vector<SourceJob> jobs;
    std::string stdin_name;
    if (o.paths == std::vector<std::string>{"-"}) {
        // Standard input stands for the source it names, or for one in the current folder.
        stdin_name = o.stdin_name.empty() ? "<stdin>" : o.stdin_name;
        const std::string stands_for = o.stdin_name.empty() ? "-" : o.stdin_name;
        const bool left_out = choice.Left_Out(stands_for, false).has_value();
        jobs.push_back({"-", ""});
        groups.For(choice.Config_Of(stands_for));
        if (config_errors())
            return kExitError;
        if (left_out) { // excluded: left as it is
            if (filter)
                *filter->output = *filter->input;
            return kExitOk;
        }
    } else {
        std::vector<std::string> paths = o.paths;
        if (std::string why;
            !o.files_from.empty() && !Read_Path_List(o.files_from, o.null_names, paths, why)) {
            error_line(why);
            return kExitError;
        }
        const bool html = !o.html_dir.empty();
        WalkResult walk = html ? Collect_Sources(paths, o.html_dir, &choice, "--html", true)
                               : Collect_Sources(paths, o.out_dir, &choice);
        if (config_errors())
            return kExitError;
        if (saving)
            Drop_Name_Clashes(walk, [&](const SourceJob& job) -> const SaveOptions& {
                return groups.For(choice.Config_Of(job.file)).options.save;
            });
        for (const auto& e : walk.errors) {
            error_line(e);
            status = kExitError;
        }
        if (walk.refused)
            return kExitError; // nothing is written
        jobs = std::move(walk.jobs);
    }

    // Each job's group, and every group's token files, before anything is written.
    std::vector<SourceGroup*> group_of;
    group_of.reserve(jobs.size());
    for (const SourceJob& job : jobs) {
        group_of.push_back(&groups.For(choice.Config_Of(
            !stdin_name.empty() && !o.stdin_name.empty() ? o.stdin_name : job.file)));
        if (std::string why = groups.Load_Tokens(*group_of.back()); !why.empty()) {
            error_line(why);
            return kExitError;
        }
    }
    if (jobs.empty()) {
        std::cout.flush();
        return status;
    }

    // A site or a spelling report shows the spellings of one token index: its sources must
    // share one configuration.
    auto one_group = [&](std::string_view option, std::string_view advice) -> SourceGroup* {
        for (SourceGroup* g : group_of)
            if (g != group_of.front()) {
                error_line(std::string(option) +
                           ": the sources fall under more than one configuration (" +
                           std::string(g->config ? g->config->file : "none") + ", " +
                           (group_of.front()->config ? group_of.front()->config->file : "none") +
                           "): " + std::string(advice));
                return nullptr;
            }
        return group_of.front();
    };
    if (!o.html_dir.empty()) {
        SourceGroup* g = one_group("--html", "write a site for each apart");
        if (!g)
            return kExitError;
        if (Site_Run(g->options, g->tokens, jobs, o.paths).errors)
            status = kExitError;
        return status;
    }
    if (spellings) {
        SourceGroup* one = one_group("--spellings", "ask for the spellings of each apart");
        if (!one)
            return kExitError;
        SourceGroup& g = *one;
        if (Spelling_Report(g.options, g.tokens, jobs, stdin_name).errors)
            status = kExitError;
        std::cout.flush();
        return std::cout ? status : kExitError;
    }
    const BatchMode mode = o.diff                               ? BatchMode::Diff
                           : o.list_changed                     ? BatchMode::List_Changed
                           : o.to_stdout || !stdin_name.empty() ? BatchMode::Print
                           : o.check                            ? BatchMode::Check
                                                                : BatchMode::Save;
    // The files run in their order, in stretches that share a configuration, each group with
    // the token index of its own.
    bool findings = false, progress_shown = false;
    for (std::size_t from = 0; from < jobs.size();) {
        std::size_t to = from + 1;
        while (to < jobs.size() && group_of[to] == group_of[from])
            ++to;
        const std::vector<SourceJob> stretch(jobs.begin() + static_cast<std::ptrdiff_t>(from),
                                             jobs.begin() + static_cast<std::ptrdiff_t>(to));
        SourceGroup& g = *group_of[from];
        BatchResult batch = Run_Batch(g.options, mode, g.tokens, stretch, stdin_name, filter,
                                      BatchPlace{from, jobs.size()});
        status = batch.errors ? kExitError : status;
        findings = findings || batch.findings;
        progress_shown = progress_shown || batch.progress_shown;
        from = to;
    }
    if (progress_shown) {
        // Only a run that writes or prints new texts has listed files.
        std::cerr << "\r\033[K";
        if ((mode == BatchMode::Save || mode == BatchMode::Print) && !o.check)
            std::cerr << jobs.size() << " files listed\n";
    }
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

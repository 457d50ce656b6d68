// parvex-list: the listing engine for batch work. Lists, checks and saves each source in turn,
// with one token index for the whole batch.

#include "cli_options.h"
#include "source_walk.h"

#include "engine/check_run.h"
#include "frame/app_folders.h"
#include "engine/cross_reference.h"
#include "engine/listing_run.h"
#include "platform/file_kind.h"
#include "platform/source_text.h"
#include "tables/subs.h"

#include <cstdio>
#include <iostream>
#include <unistd.h>

using namespace parvex;
using namespace parvex::cli;

namespace {

constexpr int kExitOk = 0, kExitFindings = 1, kExitError = 2;

void error_line(const std::string& text) {
    std::cerr << "parvex-list: " << text << '\n';
}

// A message of the engine as one line: without the dialog mark-up and its line breaks.
std::string plain(std::string text) {
    if (auto caret = text.rfind('^'); caret != std::string::npos)
        text = text.substr(caret + 1);
    for (auto crlf = text.find("\r\n"); crlf != std::string::npos; crlf = text.find("\r\n"))
        text.replace(crlf, 2, " ");
    return text;
}

} // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    ParseResult parsed = Parse_Command_Line(std::vector<std::string>(argv + 1, argv + argc));
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

    WalkResult walk = Collect_Sources(o.paths, o.out_dir);
    if (!o.to_stdout)
        Drop_Name_Clashes(walk, o.save);
    for (const auto& e : walk.errors) {
        error_line(e);
        status = kExitError;
    }
    if (walk.refused)
        return kExitError; // nothing is written

    // Only the saved files need the collection lists.
    ListingOptions listing = o.listing;
    if (o.to_stdout)
        listing.collect_alpha = listing.collect_numeric = listing.collect_tokens = false;

    const bool show_progress = walk.jobs.size() > 1 && ::isatty(STDERR_FILENO) && !o.quiet;
    ListingEngine engine(tokens);
    ListingLists lists;
    bool findings = false;
    std::size_t done = 0;
    for (const auto& job : walk.jobs) {
        ++done;
        if (show_progress)
            std::cerr << "\r\033[K[" << done << '/' << walk.jobs.size() << "] " << job.file
                      << std::flush;
        SourceText source = Load_Source_Text(job.file);
        if (source.status != SourceStatus::Read) {
            if (show_progress)
                std::cerr << "\r\033[K";
            error_line(source.status == SourceStatus::Unreadable ? source.error
                                                                 : job.file + ": " + source.error);
            status = kExitError;
            continue;
        }
        RunResult run = engine.List_Lines(std::move(source.lines), listing, lists, {}, job.file);
        if (run.status != RunStatus::Done) {
            if (show_progress)
                std::cerr << "\r\033[K";
            error_line(job.file + ": cannot be listed");
            status = kExitError;
            continue;
        }
        if (o.check) {
            CheckResult check = Check_Run(lists, engine.Delimiters(), "");
            if (!check.clean) {
                findings = true;
                for (std::size_t i = 0; i < lists.src_tmp.size(); ++i)
                    if (!lists.src_tmp[i].empty())
                        std::cout << job.file << ':' << i + 1 << ": " << lists.src_tmp[i] << '\n';
            }
        }
        if (lists.src_o.empty()) {
            // An empty source has nothing to rewrite and nothing to save.
            if (!o.quiet && !show_progress)
                std::cerr << "empty " << job.file << ": nothing to save\n";
            continue;
        }
        if (o.to_stdout) {
            std::string text = Compose_Text(lists.src_o, source.form);
            std::cout.write(text.data(), static_cast<std::streamsize>(text.size()));
            continue;
        }
        if (FileResult r = Make_Dirs(job.out_folder); !r) {
            if (show_progress)
                std::cerr << "\r\033[K";
            error_line(job.file + ": " + r.error);
            status = kExitError;
            continue;
        }
        SaveResult saved = Save_Results(job.file, job.out_folder, o.save, lists, source.form);
        if (!saved.saved) {
            if (show_progress)
                std::cerr << "\r\033[K";
            std::string why =
                saved.messages.empty() ? "cannot be saved" : saved.messages.back().text;
            // Mark-up means a message for the user about this file; else a system error.
            error_line(why.find('^') != std::string::npos ? job.file + ": " + plain(why) : why);
            status = kExitError;
        } else if (!o.quiet && !show_progress) {
            std::cerr << "listed " << job.file << " -> " << job.out_folder
                      << (saved.text_unchanged ? " (text unchanged)" : "") << '\n';
        }
    }
    if (show_progress)
        std::cerr << "\r\033[K" << walk.jobs.size() << " files listed\n";
    std::cout.flush();
    if (!std::cout) {
        error_line("cannot write to standard output");
        return kExitError;
    }
    if (status == kExitOk && findings)
        status = kExitFindings;
    return status;
}

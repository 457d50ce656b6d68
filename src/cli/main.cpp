// parvex-list: the listing engine for batch work. Lists, checks and saves each source in turn,
// with one token index for the whole batch.

#include "cli_options.h"
#include "source_walk.h"

#include "engine/check_run.h"
#include "frame/app_folders.h"
#include "engine/cross_reference.h"
#include "engine/listing_run.h"
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

// Files whose extension is not the first result extension would otherwise all write to
// NAME.pas and NAME.pas-SAVED, so a unit and an include file of one name would overwrite each
// other's backup. Such sources keep their own extension and prefix their lists with it.
SaveOptions save_options_for(const std::string& file, SaveOptions options) {
    std::string name = file.substr(file.rfind('/') + 1);
    auto dot = name.rfind('.');
    std::string ext = dot == std::string::npos ? std::string() : name.substr(dot + 1);
    if (ext == options.extensions[0])
        return options;
    if (ext.empty())
        ext = "pas";
    for (std::size_t k = 2; k < options.extensions.size(); ++k)
        options.extensions[k] = ext + "-" + options.extensions[k];
    options.extensions[0] = ext;
    options.extensions[1] = ext + "-SAVED";
    return options;
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
    } else if (!File_Exists(personal)) {
        error_line(personal + ": File does not exist");
        return kExitError;
    }
    if (!o.tokens_file.empty() && !File_Exists(o.tokens_file)) {
        error_line(o.tokens_file + ": File does not exist");
        return kExitError;
    }
    if (FileResult r = tokens.Load_Token_Tables(o.tokens_file, personal); !r) {
        error_line(r.error);
        return kExitError;
    }

    WalkResult walk = Collect_Sources(o.paths, o.out_dir);
    for (const auto& e : walk.errors) {
        error_line(e);
        status = kExitError;
    }

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
        RunResult run = engine.Listing_Run(job.file, listing, lists);
        if (run.status != RunStatus::Done) {
            if (show_progress)
                std::cerr << "\r\033[K";
            if (run.status == RunStatus::Missing)
                error_line(job.file + ": File does not exist");
            else {
                const std::string& text = run.messages.back().text;
                auto nl = text.find("\r\n");
                error_line(nl == std::string::npos ? job.file + ": cannot be read"
                                                   : text.substr(nl + 2));
            }
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
            std::string text = Join_Lines(lists.src_o);
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
        SaveResult saved = Save_Results(job.file, job.out_folder, Base_Name(job.file),
                                        save_options_for(job.file, o.save), lists);
        if (!saved.saved) {
            if (show_progress)
                std::cerr << "\r\033[K";
            std::string why =
                saved.messages.empty() ? "cannot be saved" : saved.messages.back().text;
            if (auto caret = why.rfind('^'); caret != std::string::npos)
                why = job.file + ": " + why.substr(caret + 1); // drop the dialog mark-up
            error_line(why);
            status = kExitError;
        } else if (!o.quiet && !show_progress) {
            std::cerr << "listed " << job.file << " -> " << job.out_folder << '\n';
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

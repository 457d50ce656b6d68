#include "cli_options.h"

#include "tables/subs.h"

#include <algorithm>

namespace parvex::cli {

const char* Usage_Text() {
    return R"(Usage: parvex-list [OPTIONS] PATH...
       parvex-list [OPTIONS] -

Lists Pascal sources: rewrites every identifier and keyword in one letter case, adds
"{ of Name }" remarks behind the END of each routine and writes the constant lists and
cross-references beside each source (the old text is kept as NAME.pas-SAVED).
A PATH that is a folder is walked for .pas, .pp, .dpr, .lpr and .inc files.
With "-" one source is read from standard input and its new text written to
standard output (a filter for editors). Every new text is checked against its
source by a second reader before it is written; a text that fails is refused
(FILE:LINE: refused: ...) and nothing is written for it.

Options:
  --case upper|lower|first|capitalize
                      output case (default: every token keeps its stored spelling)
  --no-remarks        do not add "{ of Name }" remarks
  --keep-old-remarks  do not remove the remarks of an earlier run first
  --no-alpha          do not collect string literals (no alpha lists are written)
  --no-numeric        do not collect numbers (no numeric lists are written)
  --no-tokens         do not collect tokens (no token cross-reference is written)
  --break N           line numbers per cross-reference line (default 10)
  --personal FILE     personal token file (default: Dont/Tokens-Personal.dat beside
                      the program, when it exists)
  --tokens FILE       also load a cumulated token list first
  --out DIR           write the results into DIR (mirroring walked folders); the
                      sources stay untouched
  --backup[=CONTROL]  what a save keeps of the text it replaces: simple (the
                      default: NAME.pas-SAVED, replaced by the next save that
                      changes the text), numbered (every one: NAME.pas-SAVED.~1~,
                      .~2~, ...), existing (numbered where numbered ones exist;
                      what --backup alone means), none or off (nothing)
  --no-backup         the same as --backup=none, meant for sources under version
                      control
  --text-only         write the new text and nothing else (no lists; list files
                      of earlier runs stay as they are)
  --force             list a read-only source in place all the same (without it
                      such a source is skipped: FILE: read-only, not listed)
  --stdout            print the new text and write no file
  --stdin-name NAME   the name of the source read from "-", used in messages
  --diff              write nothing; print a unified diff of every file that
                      would change (exit 1 when any would)
  --list-changed      write nothing; print the name of every file that would
                      change (exit 1 when any would)
  -z                  with --list-changed: end each name with a NUL instead of a
                      line end, and quote none (names holding a control
                      character, '"' or '\' are otherwise quoted as git quotes
                      them, in messages too)
  -j N, --jobs N      list N files at a time (default: one per processor); the
                      results are the same as with -j 1
  --spellings         write nothing; print every token written in more than one
                      spelling, most frequent first, each spelling with its count
                      and first place (keywords and identifiers are counted alike:
                      the listing does not tell them apart)
  --spellings-out FILE  write the most frequent spelling of each such token to
                      FILE, one per line, ready for --personal (never over a
                      source, its backup or its results)
  --check             write nothing; print every line the run left unhandled as
                      FILE:LINE: TEXT (exit 1 when there is one)
  --quiet             print nothing but errors (and what --stdout/--check print)
  -h, --help          show this help
  --version           show the program version

Exit status: 0 success, 1 the check found something or a file would change,
2 bad usage, a file that could not be read or written, a refused new text, a
read-only source, or a source changed while it was listed (nothing written for it).
)";
}

ParseResult Parse_Command_Line(const std::vector<std::string>& args) {
    ParseResult r;
    CliOptions& o = r.options;
    auto bad = [&](std::string text) {
        r.ok = false;
        r.error = std::move(text);
        return r;
    };
    bool only_paths = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        if (only_paths || arg.empty() || arg[0] != '-' || arg == "-") {
            o.paths.push_back(arg);
            continue;
        }
        if (arg == "--") {
            only_paths = true;
            continue;
        }
        std::string value;
        bool has_inline_value = false;
        if (auto eq = arg.find('='); arg.starts_with("--") && eq != std::string::npos) {
            value = arg.substr(eq + 1);
            arg = arg.substr(0, eq);
            has_inline_value = true;
        }
        // A value that starts with "-" is most likely a forgotten value before the next option
        // ("--out --quiet x.pas"); such a value has to be given as --opt=-x.
        bool dash_value = false;
        auto take_value = [&]() -> bool {
            if (has_inline_value)
                return true;
            if (i + 1 >= args.size())
                return false;
            if (args[i + 1].starts_with("-") && args[i + 1] != "-") {
                dash_value = true;
                return false;
            }
            value = args[++i];
            return true;
        };
        auto missing = [&](std::string text) {
            if (dash_value)
                return bad(arg + " needs a value, not the option '" + args[i + 1] +
                           "' (a value that starts with '-' is given as " + arg + "=" +
                           args[i + 1] + ")");
            return bad(std::move(text));
        };
        auto is_flag = [&](const char* name) { return arg == name && !has_inline_value; };

        if (is_flag("-h") || is_flag("--help")) {
            o.help = true;
        } else if (is_flag("--version")) {
            o.version = true;
        } else if (is_flag("--no-remarks")) {
            o.listing.end_remarks = false;
        } else if (is_flag("--keep-old-remarks")) {
            o.listing.remove_old_remarks = false;
        } else if (is_flag("--no-alpha")) {
            o.listing.collect_alpha = false;
            o.save.create[2] = o.save.create[4] = false;
        } else if (is_flag("--no-numeric")) {
            o.listing.collect_numeric = false;
            o.save.create[3] = o.save.create[5] = false;
        } else if (is_flag("--no-tokens")) {
            o.listing.collect_tokens = false;
            o.save.create[6] = false;
        } else if (arg == "--backup") {
            // As GNU tools take it: the value only after "=", "existing" without one.
            const std::string control = has_inline_value ? value : "existing";
            if (control == "none" || control == "off")
                o.save.backup = BackupMode::None;
            else if (control == "simple" || control == "never")
                o.save.backup = BackupMode::Simple;
            else if (control == "numbered" || control == "t")
                o.save.backup = BackupMode::Numbered;
            else if (control == "existing" || control == "nil")
                o.save.backup = BackupMode::Existing;
            else
                return bad("unknown backup '" + control +
                           "': use --backup=simple, numbered, existing or none");
        } else if (is_flag("--text-only")) {
            o.save.write_lists = false;
        } else if (is_flag("--force")) {
            o.force = true;
        } else if (is_flag("--no-backup")) {
            o.save.backup = BackupMode::None;
        } else if (is_flag("--stdout")) {
            o.to_stdout = true;
        } else if (is_flag("--diff")) {
            o.diff = true;
        } else if (is_flag("--list-changed")) {
            o.list_changed = true;
        } else if (is_flag("-z")) {
            o.nul_separated = true;
        } else if (arg == "-j" || arg == "--jobs" || (arg.starts_with("-j") && arg.size() > 2)) {
            if (arg.starts_with("-j") && arg.size() > 2) {
                value = arg.substr(2);
            } else if (!take_value()) {
                return missing(arg + " needs a number");
            }
            std::int32_t n = Str_To_Int_Def(value, -1);
            if (n < 1 || n > 1024)
                return bad(arg + " needs a number from 1 to 1024, not '" + value + "'");
            o.jobs = static_cast<unsigned>(n);
        } else if (is_flag("--spellings")) {
            o.spellings = true;
        } else if (arg == "--stdin-name") {
            if (!take_value() || value.empty())
                return missing("--stdin-name needs a value");
            o.stdin_name = value;
        } else if (is_flag("--check")) {
            o.check = true;
        } else if (is_flag("--quiet")) {
            o.quiet = true;
        } else if (arg == "--case") {
            if (!take_value())
                return missing("--case needs a value: upper, lower, first or capitalize");
            if (value == "upper")
                o.listing.output_case = 0;
            else if (value == "lower")
                o.listing.output_case = 1;
            else if (value == "first")
                o.listing.output_case = 2;
            else if (value == "capitalize")
                o.listing.output_case = 3;
            else
                return bad("unknown case '" + value + "': use upper, lower, first or capitalize");
        } else if (arg == "--break") {
            if (!take_value())
                return missing("--break needs a number");
            std::int32_t n = Str_To_Int_Def(value, INT32_MIN);
            if (n == INT32_MIN)
                return bad("--break needs a number, not '" + value + "'");
            o.save.break_after = n;
        } else if (arg == "--personal" || arg == "--tokens" || arg == "--out" ||
                   arg == "--spellings-out") {
            if (!take_value() || value.empty())
                return missing(arg + " needs a value");
            (arg == "--personal"        ? o.personal_file
             : arg == "--tokens"        ? o.tokens_file
             : arg == "--spellings-out" ? o.spellings_out
                                        : o.out_dir) = value;
        } else {
            return bad("unknown option '" + args[i] + "'");
        }
    }
    if (!o.help && !o.version && o.paths.empty())
        return bad("no PATH given");
    if (o.to_stdout && !o.out_dir.empty())
        return bad("--stdout and --out do not go together");
    if (o.diff + o.list_changed + o.to_stdout > 1)
        return bad("--stdout, --diff and --list-changed do not go together");
    if (o.nul_separated && !o.list_changed)
        return bad("-z goes with --list-changed");
    if ((o.diff || o.list_changed || o.check) && !o.out_dir.empty())
        return bad("--diff, --list-changed and --check write nothing: --out does not go with "
                   "them");
    if ((o.spellings || !o.spellings_out.empty()) &&
        (o.to_stdout || o.diff || o.list_changed || o.check || !o.out_dir.empty()))
        return bad("--spellings and --spellings-out go with no other output");
    const bool from_stdin = std::find(o.paths.begin(), o.paths.end(), "-") != o.paths.end();
    if (from_stdin && o.paths.size() > 1)
        return bad("\"-\" (standard input) is the only PATH when given");
    if (from_stdin && !o.out_dir.empty())
        return bad("\"-\" writes its new text to standard output: --out does not go with it");
    return r;
}

} // namespace parvex::cli

#include "cli_options.h"

#include "config/path_pattern.h"
#include "tables/subs.h"

#include <algorithm>

namespace parvex::cli {

const char* Usage_Text() {
    return R"(Usage: parvex-list [OPTIONS] PATH...
       parvex-list [OPTIONS] -

Lists Pascal sources: rewrites every identifier and keyword in one letter case, adds
"{ of Name }" remarks behind the END of each routine and writes the constant lists and
cross-references beside each source (the old text is kept as NAME.pas-SAVED).
A PATH that is a folder is walked for .pas, .pp, .dpr, .lpr and .inc files
(hidden files and folders, whose names start with ".", are left out).
With "-" one source is read from standard input and its new text written to
standard output (a filter for editors). Every new text is checked against its
source by a second reader before it is written; a text that fails is refused
(FILE:LINE: refused: ...) and nothing is written for it. As a filter, a run
that fails for any reason prints its input unchanged (exit status 2).

Settings are read from a project file .parvex, the nearest one in the source's
folder or above it (up to a folder holding .git); the options below go over it.
Sources under different .parvex files are listed as separate projects, each
with a token index of its own.

Options:
  --case upper|lower|first|capitalize|keep
                      output case (default keep: every token keeps its stored
                      spelling)
  --no-remarks, --remarks
                      do not add / add "{ of Name }" remarks
  --keep-old-remarks, --remove-old-remarks
                      keep / remove the remarks of an earlier run first
  --no-alpha          do not collect string literals (no alpha lists are written)
  --no-numeric        do not collect numbers (no numeric lists are written)
  --no-tokens         do not collect tokens (no token cross-reference is written)
  --lists LIST        the lists to write: alpha, numeric, tokens (as "alpha,tokens"),
                      or none
  --break N           line numbers per cross-reference line (default 10)
  --personal FILE     personal token file (default: Dont/Tokens-Personal.dat in the
                      data folder: ~/.local/share/parvex/ when installed, beside
                      the program in a build)
  --tokens FILE       also load a cumulated token list first
  --max-size SIZE     refuse a source or token file larger than SIZE, in bytes or
                      with K, M or G (default 64M); binary files are refused
                      whatever their size
  --no-config         read no .parvex file
  --print-config FILE print every setting that applies to FILE and where it came
                      from (default, a .parvex file, the command line)
  --config-from DIR   look for .parvex files as if the current folder were DIR (for
                      a copy of a work tree's files, as a commit hook makes)
  --exclude GLOB      leave out paths GLOB names, as a .gitignore line does
                      ("backup/", "*_old.pas", "**/generated/*"): matched against
                      the path below the walked folder (a named path: below the
                      current folder); repeatable
  --files-from FILE   also take the paths in FILE, one a line ("-": standard input)
  -0                  those paths each end with a NUL byte, not a line end
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
  --stdout            print the new text and write no file; the texts of several
                      files follow each other in file order with nothing between
  --stdin-name NAME   the name of the source read from "-", used in messages
  --diff              write nothing; print a unified diff of every file that
                      would change (exit 1 when any would)
  --color WHEN        colour the diff: auto (on a terminal, unless NO_COLOR is
                      set), always or never
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
                      FILE, one per line, ready for --personal or the team's
                      .parvex ("personal = FILE"); never over a source, its
                      backup or its results
  --html OUT          write nothing beside the sources; write a browsable cross-reference
                      of all of them as a static web site into the folder OUT (open
                      OUT/index.html): every token, literal and number links to its
                      occurrences in the whole project. OUT is replaced whole, so it
                      must be new, empty or a site written before
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
        } else if (is_flag("--no-remarks") || is_flag("--remarks")) {
            o.given.end_remarks = arg == "--remarks";
        } else if (is_flag("--keep-old-remarks") || is_flag("--remove-old-remarks")) {
            o.given.keep_old_remarks = arg == "--keep-old-remarks";
        } else if (is_flag("--no-alpha") || is_flag("--no-numeric") || is_flag("--no-tokens")) {
            const unsigned off = arg == "--no-alpha"     ? Alpha_Lists
                                 : arg == "--no-numeric" ? Numeric_Lists
                                                         : Token_List;
            if (o.given.lists)
                *o.given.lists &= ~off;
            else
                o.given.lists_off |= off;
        } else if (arg == "--lists") {
            if (!take_value())
                return missing("--lists needs a value: alpha, numeric, tokens or none");
            const auto lists = Parse_Lists(value);
            if (!lists)
                return bad("--lists takes alpha, numeric and tokens (as \"alpha,tokens\"), or "
                           "none, not '" +
                           value + "'");
            o.given.lists = *lists;
            o.given.lists_off = 0;
        } else if (is_flag("--no-config")) {
            o.no_config = true;
        } else if (arg == "--print-config" || arg == "--config-from" || arg == "--files-from" ||
                   arg == "--exclude") {
            if (!take_value() || value.empty())
                return missing(arg + " needs a value");
            if (arg == "--exclude") {
                std::string why;
                if (!PathPattern::Parse(value, why))
                    return bad("--exclude '" + value + "': " + why);
                o.given.excludes.push_back(value);
            } else {
                (arg == "--print-config"  ? o.print_config
                 : arg == "--config-from" ? o.config_from
                                          : o.files_from) = value;
            }
        } else if (is_flag("-0")) {
            o.null_names = true;
        } else if (arg == "--color" || arg == "--colour") {
            if (!take_value())
                return missing(arg + " needs a value: auto, always or never");
            if (value == "auto")
                o.color = ColorUse::Auto;
            else if (value == "always")
                o.color = ColorUse::Always;
            else if (value == "never")
                o.color = ColorUse::Never;
            else
                return bad(arg + " takes auto, always or never, not '" + value + "'");
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
                return missing("--case needs a value: upper, lower, first, capitalize or keep");
            const auto output_case = Parse_Case(value);
            if (!output_case)
                return bad("unknown case '" + value +
                           "': use upper, lower, first, capitalize or keep");
            o.given.output_case = *output_case;
        } else if (arg == "--max-size") {
            if (!take_value())
                return missing("--max-size needs a size, such as 64M");
            if (!Parse_Size(value, o.max_size) || o.max_size == 0)
                return bad("--max-size needs a size above 0 in bytes or with K, M or G (such as "
                           "64M), not '" +
                           value + "'");
        } else if (arg == "--break") {
            if (!take_value())
                return missing("--break needs a number");
            std::int32_t n = Str_To_Int_Def(value, INT32_MIN);
            if (n == INT32_MIN)
                return bad("--break needs a number, not '" + value + "'");
            o.given.break_after = n;
        } else if (arg == "--personal" || arg == "--tokens" || arg == "--out" ||
                   arg == "--spellings-out" || arg == "--html") {
            if (!take_value() || value.empty())
                return missing(arg + " needs a value");
            if (arg == "--personal")
                o.given.personal_file = value;
            else if (arg == "--tokens")
                o.given.tokens_file = value;
            else
                (arg == "--spellings-out" ? o.spellings_out
                 : arg == "--html"        ? o.html_dir
                                          : o.out_dir) = value;
        } else {
            return bad("unknown option '" + args[i] + "'");
        }
    }
    if (!o.help && !o.version && o.paths.empty() && o.files_from.empty() && o.print_config.empty())
        return bad("no PATH given");
    if (!o.print_config.empty() && !o.paths.empty())
        return bad("--print-config FILE takes no other PATH");
    if (o.null_names && o.files_from.empty())
        return bad("-0 goes with --files-from");
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
    if (!o.html_dir.empty() && (o.to_stdout || o.diff || o.list_changed || o.check ||
                                !o.out_dir.empty() || o.spellings || !o.spellings_out.empty()))
        return bad("--html goes with no other output");
    const bool from_stdin = std::find(o.paths.begin(), o.paths.end(), "-") != o.paths.end();
    if (from_stdin && (o.paths.size() > 1 || !o.files_from.empty()))
        return bad("\"-\" (standard input) is the only PATH when given");
    if (from_stdin && !o.html_dir.empty())
        return bad("\"-\" (standard input) cannot be shown as a site: name the files");
    if (from_stdin && !o.out_dir.empty())
        return bad("\"-\" writes its new text to standard output: --out does not go with it");
    return r;
}

} // namespace parvex::cli

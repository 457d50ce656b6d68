// parvex-list in a team, run from outside: one configuration (.parvex) for the editor, the hook
// and CI, and the choice of the files a call takes.
#include "cli_run.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;
using parvex::test::CliOutcome;
using parvex::test::TempDir;

namespace {

std::string quote(const std::string& s) {
    return parvex::test::shell_quote(s);
}

// Runs `command` (quoted already) in the folder `cwd` of `dir`, with `input` on standard input.
CliOutcome shell(const TempDir& dir, const std::string& cwd, const std::string& command,
                 const std::string& input = "") {
    const std::string in_file = (dir.path() / ".stdin").string();
    parvex::test::write_bytes(in_file, input);
    CliOutcome r = parvex::test::run_shell(dir, "cd " + quote(dir.dir() + cwd) + " && " + command +
                                                    " <" + quote(in_file));
    fs::remove(in_file);
    return r;
}

CliOutcome list(const TempDir& dir, const std::string& cwd, const std::string& args,
                const std::string& input = "") {
    return shell(dir, cwd, std::string(PARVEX_LIST_EXE) + " " + args, input);
}

// A repository in `dir`/repo with src/ok.pas committed and a new src/new.pas staged: the new
// file spells the class of ok.pas its own way.
void make_repository(const TempDir& dir) {
    dir.write("repo/src/ok.pas", "type TGreeter = class end;\n");
    dir.write("repo/tools/Tokens.dat", "TGreeter\n");
    dir.write("repo/tools/empty.dat", "");
    const std::string git = "git -c user.name=t -c user.email=t@example.org ";
    ASSERT_EQ(shell(dir, "repo",
                    "git init -q . && " + git + "add src tools && " + git + "commit -qm start")
                  .status,
              0);
    dir.write("repo/src/new.pas", "var g: tgreeter;\n");
    ASSERT_EQ(shell(dir, "repo", "git add src/new.pas").status, 0);
}

} // namespace

// Without a shared configuration, the first spelling met decides: the hook sees the new file
// alone and passes it, a run over the whole tree meets it first and fails the untouched
// ok.pas. With a .parvex that names the team's token file, every entry point agrees.
TEST(CliTeam, TheHookOnAStagedFileAndARunOverTheWholeTreeAgree) {
    if (std::system("command -v git > /dev/null") != 0)
        GTEST_SKIP() << "git is needed";
    TempDir dir;
    make_repository(dir);
    const std::string exe = PARVEX_LIST_EXE;
    const std::string run_hook = "PARVEX_LIST=" + quote(exe) + " sh " +
                                 quote(std::string(PARVEX_SOURCE_DIR) + "/contrib/pre-commit");

    // Every entry point with the same options, no configuration.
    shell(dir, "repo", "git config hooks.parvexOptions '--personal tools/empty.dat'");
    CliOutcome hook_alone = shell(dir, "repo", run_hook);
    CliOutcome staged_alone = list(dir, "repo", "--personal tools/empty.dat --diff src/new.pas");
    CliOutcome tree_alone = list(dir, "repo", "--personal tools/empty.dat --diff .");
    EXPECT_EQ(hook_alone.status, 0) << hook_alone.err;
    EXPECT_EQ(staged_alone.status, 0) << staged_alone.err;
    EXPECT_EQ(tree_alone.status, 1) << tree_alone.err;
    EXPECT_NE(tree_alone.out.find("+++ b/src/ok.pas"), std::string::npos) << tree_alone.out;

    // The team's configuration, and nothing on the command line.
    shell(dir, "repo", "git config --unset hooks.parvexOptions");
    dir.write("repo/.parvex", "[parvex]\npersonal = tools/Tokens.dat\n");
    CliOutcome hook = shell(dir, "repo", run_hook);
    CliOutcome staged = list(dir, "repo", "--diff src/new.pas");
    CliOutcome tree = list(dir, "repo", "--diff .");
    CliOutcome from_below = list(dir, "repo/src", "--diff new.pas");
    const std::string diff = "--- a/src/new.pas\n+++ b/src/new.pas\n@@ -1 +1 @@\n"
                             "-var g: tgreeter;\n+var g: TGreeter;\n";
    for (const CliOutcome* r : {&hook, &staged, &tree}) {
        EXPECT_EQ(r->status, 1) << r->err;
        EXPECT_EQ(r->out, diff);
    }
    EXPECT_EQ(from_below.status, 1) << from_below.err;
    EXPECT_NE(from_below.out.find("+var g: TGreeter;\n"), std::string::npos) << from_below.out;
    // And the editor's filter on the new file's buffer.
    CliOutcome filter = list(dir, "repo", "--stdin-name src/new.pas -", "var g: tgreeter;\n");
    EXPECT_EQ(filter.out, "var g: TGreeter;\n") << filter.err;
}

TEST(CliTeam, PrintConfigShowsEverySettingAndWhereItCameFrom) {
    TempDir dir;
    dir.write(".git/HEAD", "");
    dir.write(".parvex", "[parvex]\ncase = upper\nbreak = 5\nexclude = old/\n");
    dir.write("tools/T.dat", "");
    dir.write("sub/.parvex", "[parvex]\npersonal = ../tools/T.dat\nlists = tokens\n");
    dir.write("sub/a.pas", "x;\n");
    dir.write("b.pas", "x;\n");
    const std::string top = dir.path().string();
    struct Case {
        const char* cwd;
        std::string args;
        std::vector<std::string> lines; // expected, in order, each a whole line
    };
    const Case cases[] = {
        {"",
         "--print-config b.pas",
         {"# b.pas: configuration " + top + "/.parvex", "case = upper", "(" + top + "/.parvex)",
          "remarks = yes", "(default)", "break = 5", "exclude = old/"}},
        // The nearest file wins whole: sub's settings, and none of the top's.
        {"sub",
         "--print-config a.pas",
         {"# a.pas: configuration " + top + "/sub/.parvex", "case = keep",
          "personal = " + top + "/tools/T.dat", "(" + top + "/sub/.parvex)", "break = 10",
          "lists = tokens"}},
        {"",
         "--case lower --no-remarks --exclude '*.inc' --print-config sub/a.pas",
         {"case = lower", "(command line)", "remarks = no", "exclude = *.inc"}},
        {"",
         "--no-config --print-config b.pas",
         {"# b.pas: configuration files are not read (--no-config)", "case = keep", "break = 10"}},
        {"",
         "--print-config old/x.pas",
         {"# old/x.pas is left out by \"old/\" (" + top + "/.parvex)"}},
    };
    for (const Case& c : cases) {
        CliOutcome r = list(dir, c.cwd, c.args);
        EXPECT_EQ(r.status, 0) << c.args << ": " << r.err;
        std::size_t at = 0;
        for (const std::string& want : c.lines) {
            const std::size_t found = r.out.find(want, at);
            EXPECT_NE(found, std::string::npos) << c.args << ": " << want << "\n" << r.out;
            at = found == std::string::npos ? at : found + want.size();
        }
    }
    // The settings are those a listing uses.
    CliOutcome listed = list(dir, "", "--stdout b.pas sub/a.pas");
    EXPECT_EQ(listed.out, "X;\nx;\n") << listed.err;
    EXPECT_EQ(list(dir, "", "--case lower --stdout b.pas").out, "x;\n");
    EXPECT_EQ(list(dir, "", "--no-config --stdout b.pas").out, "x;\n");
}

TEST(CliTeam, AConfigurationWithAMistakeStopsTheCallBeforeAnythingIsWritten) {
    TempDir dir;
    dir.write(".git/HEAD", "");
    dir.write("a.pas", "x;\n");
    const std::string top = dir.path().string();
    struct Case {
        const char* text;
        std::string error;
        bool readable; // --print-config shows it all the same
    };
    const Case cases[] = {
        {"[parvex]\ncase = shout\n", top + "/.parvex:2: \"shout\" is no value for case", false},
        {"[parvex]\npersonal = none.dat\n",
         top + "/none.dat: File does not exist (named by " + top + "/.parvex)", true},
        {"[parvex]\nexcludes = a\n", top + "/.parvex:2: unknown setting \"excludes\"", false},
    };
    for (const auto& [text, error, readable] : cases) {
        dir.write(".parvex", text);
        CliOutcome r = list(dir, "", "--case upper a.pas");
        EXPECT_EQ(r.status, 2) << text;
        EXPECT_EQ(r.err.rfind("parvex-list: " + error, 0), 0u) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        CliOutcome shown = list(dir, "", "--print-config a.pas");
        EXPECT_EQ(shown.status, readable ? 0 : 2) << text;
        EXPECT_EQ(shown.out.empty(), !readable) << text;
        CliOutcome filter = list(dir, "", "--case upper -", "x;\n");
        EXPECT_EQ(filter.status, 2) << text;
        EXPECT_EQ(filter.out, "x;\n") << text;
        EXPECT_EQ(dir.read("a.pas"), "x;\n");
        EXPECT_FALSE(fs::exists(dir.path() / "a.pas-SAVED"));
        EXPECT_EQ(list(dir, "", "--no-config --case upper --stdout a.pas").out, "X;\n");
    }
}

// Each configuration is a project of its own: its sources share a token index, which the
// sources of another configuration do not. A call over both lists each as a call over it alone.
TEST(CliTeam, SourcesUnderTwoConfigurationsAreListedAsEachProjectAlone) {
    TempDir dir;
    dir.write(".git/HEAD", "");
    dir.write("p1/.parvex", "[parvex]\npersonal = t.dat\n");
    dir.write("p1/t.dat", "TFoo\n");
    dir.write("p1/a.pas", "tfoo;\n");
    dir.write("p1/z.pas", "TFOO;\n");
    dir.write("p2/.parvex", "[parvex]\ncase = upper\n");
    dir.write("p2/b.pas", "tfoo; bar;\n");
    dir.write("p2/deep/.parvex", "[parvex]\n"); // defaults, and the index of its own
    dir.write("p2/deep/c.pas", "tFoo;\n");
    dir.write("p2/e.pas", "Bar;\n");
    const std::string alone = list(dir, "", "--stdout p1").out + list(dir, "", "--stdout p2").out;
    EXPECT_EQ(alone, "TFoo;\nTFoo;\nTFOO; BAR;\ntFoo;\nBAR;\n");
    for (const char* jobs : {"-j 1", "-j 3"}) {
        CliOutcome both = list(dir, "", std::string(jobs) + " --stdout p1 p2");
        EXPECT_EQ(both.status, 0) << both.err;
        EXPECT_EQ(both.out, alone) << jobs;
    }
    CliOutcome saved = list(dir, "", "--quiet p1 p2");
    EXPECT_EQ(saved.status, 0) << saved.err;
    EXPECT_EQ(dir.read("p2/deep/c.pas"), "tFoo;\n");
    EXPECT_EQ(dir.read("p1/z.pas"), "TFoo;\n");

    CliOutcome spellings = list(dir, "", "--spellings p1 p2");
    EXPECT_EQ(spellings.status, 2);
    EXPECT_NE(spellings.err.find("more than one configuration"), std::string::npos);
    EXPECT_EQ(list(dir, "", "--spellings p1").status, 0);
}

TEST(CliTeam, WalksLeaveOutHiddenNamesAndWhatExcludesName) {
    TempDir dir;
    dir.write(".git/HEAD", "");
    for (const char* name :
         {"t/a.pas", "t/.hidden.pas", "t/.cache/b.pas", "t/backup/c.pas", "t/src/backup/d.pas",
          "t/e_old.pas", "t/src/f_old.pas", "t/gen/generated/g.pas", "t/generated/h.pas",
          "t/generated/deep/i.pas", "t/src/generated.pas", "t/top.pas", "t/src/top.pas",
          "t/lib/j.inc", "t/lib/k.pas"})
        dir.write(name, "x;\n");
    const std::string patterns[] = {"backup/", "*_old.pas", "**/generated/*", "/top.pas",
                                    "lib/*.inc"};
    const std::string kept = "t/a.pas\nt/lib/k.pas\nt/src/generated.pas\nt/src/top.pas\n";
    std::string options;
    std::string config = "[parvex]\n";
    for (const std::string& p : patterns) {
        options += " --exclude " + quote(p);
        config += "exclude = " + p + "\n";
    }
    // On the command line, against the path below the walked folder.
    CliOutcome walked = list(dir, "", "--case upper --list-changed" + options + " t");
    EXPECT_EQ(walked.status, 1) << walked.err;
    EXPECT_EQ(walked.out, kept);
    CliOutcome hidden = list(dir, "", "--case upper --list-changed t");
    EXPECT_EQ(hidden.out.find(".hidden"), std::string::npos) << hidden.out;
    EXPECT_EQ(hidden.out.find(".cache"), std::string::npos) << hidden.out;
    // In the configuration, against the path below its folder.
    dir.write("t/.parvex", config);
    EXPECT_EQ(list(dir, "", "--case upper --list-changed t").out, kept);
    EXPECT_EQ(list(dir, "t", "--case upper --list-changed .").out,
              "./a.pas\n./lib/k.pas\n./src/generated.pas\n./src/top.pas\n");
    // An editor's buffer of an excluded file stays as it is; of another, it is listed.
    CliOutcome left = list(dir, "", "--case upper --stdin-name t/e_old.pas -", "x;\n");
    EXPECT_EQ(left.status, 0) << left.err;
    EXPECT_EQ(left.out, "x;\n");
    EXPECT_EQ(list(dir, "", "--case upper --stdin-name t/a.pas -", "x;\n").out, "X;\n");
    // Named: a hidden file is taken, an excluded one is not (a hook that names the staged
    // files takes what a run over the tree takes).
    CliOutcome named = list(dir, "",
                            "--case upper --list-changed t/.hidden.pas t/.cache/b.pas "
                            "t/src/backup/d.pas t/e_old.pas t/generated/deep t/a.pas");
    EXPECT_EQ(named.out, "t/.hidden.pas\nt/.cache/b.pas\nt/a.pas\n") << named.err;
    EXPECT_EQ(list(dir, "", "--no-config --case upper --list-changed t/e_old.pas").out,
              "t/e_old.pas\n");
}

TEST(CliTeam, FilesFromTakesItsPathsIntoOneTokenIndex) {
    TempDir dir;
    dir.write(".git/HEAD", "");
    dir.write("a.pas", "Foo;\n");
    dir.write("with space.pas", "FOO;\n");
    dir.write("new\nline.pas", "foo;\n");
    dir.write("d/e.pas", "fOO;\n");
    dir.write("list.txt", "a.pas\n\nwith space.pas\nd\n");
    dir.write("list0", std::string("a.pas\0with space.pas\0new\nline.pas\0d/e.pas\0", 42));
    struct Case {
        std::string args;
        std::string input;
        std::string out;
    };
    const Case cases[] = {
        {"--files-from list.txt --stdout", "", "Foo;\nFoo;\nFoo;\n"},
        {"-0 --files-from list0 --stdout", "", "Foo;\nFoo;\nFoo;\nFoo;\n"},
        {"-0 --files-from - --stdout", std::string("with space.pas\0a.pas\0", 21), "FOO;\nFOO;\n"},
        {"--files-from - --stdout d/e.pas", "a.pas\n", "fOO;\nfOO;\n"}, // after the PATHs
        {"-0 --files-from - --list-changed", std::string("a.pas\0d/e.pas\0", 14), "d/e.pas\n"},
    };
    for (const Case& c : cases) {
        CliOutcome r = list(dir, "", "--no-remarks " + c.args, c.input);
        EXPECT_EQ(r.status, c.out.find('/') == std::string::npos ? 0 : 1) << c.args << r.err;
        EXPECT_EQ(r.out, c.out) << c.args;
    }
    for (const char* bad : {"-0 a.pas", "--files-from - -", "--files-from none.txt"}) {
        CliOutcome r = list(dir, "", bad);
        EXPECT_EQ(r.status, 2) << bad;
        EXPECT_NE(r.err.find("parvex-list: "), std::string::npos) << bad;
    }
    // As a repository's files come.
    if (std::system("command -v git > /dev/null") == 0) {
        for (const char* name : {"a.pas", "with space.pas", "d/e.pas", "new\nline.pas"})
            dir.write(std::string("g/") + name, dir.read(name));
        ASSERT_EQ(shell(dir, "g", "git init -q . && git add a.pas 'with space.pas' d").status, 0);
        CliOutcome r = shell(dir, "g",
                             "{ git ls-files -z '*.pas' | " + std::string(PARVEX_LIST_EXE) +
                                 " -0 --files-from - --diff; }");
        EXPECT_EQ(r.status, 1) << r.err;
        EXPECT_EQ(r.out.find("a/a.pas"), std::string::npos) << r.out; // the first spelling
        EXPECT_NE(r.out.find("+++ b/d/e.pas\n"), std::string::npos) << r.out;
        EXPECT_NE(r.out.find("+++ b/with space.pas\n"), std::string::npos) << r.out;
    }
}

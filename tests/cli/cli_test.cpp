// parvex-list run from outside on fixture folders.
#include "cli_run.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <sys/wait.h>

namespace fs = std::filesystem;
using parvex::test::TempDir;

namespace {

using CliRun = parvex::test::CliOutcome;

std::string quote(const std::string& s) {
    return parvex::test::shell_quote(s);
}

CliRun run(const TempDir& dir, const std::string& args) {
    return parvex::test::run_shell(dir, std::string(PARVEX_LIST_EXE) + " " + args);
}

std::string personal(const TempDir& dir, const std::string& lines = "") {
    return "--personal " + quote(dir.write("personal.dat", lines).string());
}

} // namespace

TEST(Cli, HelpVersionAndBadUsage) {
    TempDir dir;
    CliRun help = run(dir, "--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Usage: parvex-list [OPTIONS] PATH..."), std::string::npos);
    CliRun version = run(dir, "--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "parvex-list 02.06.28.2149\n");
    for (const char* bad :
         {"", "--case shout x.pas", "--break x x.pas", "--bogus x.pas", "--stdout --out o x.pas",
          "--case", "--color=sometimes x.pas", "--lists strings x.pas", "--exclude !x.pas x.pas"}) {
        CliRun r = run(dir, bad);
        EXPECT_EQ(r.status, 2) << bad;
        EXPECT_NE(r.err.find("parvex-list: "), std::string::npos) << bad;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 2) << bad; // message and hint
    }
}

TEST(Cli, StdoutPrintsTheNewTextAndWritesNothing) {
    TempDir dir;
    dir.write("src/a.pas", "procedure P;\nbegin\n  writeln('x');\nend;\n");
    CliRun r = run(dir, personal(dir, "WriteLn") + " --case lower --stdout " +
                            quote(dir.dir() + "src/a.pas"));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "procedure p;\nbegin\n  writeln('x');\nend; { of p }\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path() / "src"), {}), 1);
    CliRun stored = run(dir, personal(dir, "WriteLn") + " --stdout --no-remarks " +
                                 quote(dir.dir() + "src/a.pas"));
    EXPECT_EQ(stored.out, "procedure P;\nbegin\n  WriteLn('x');\nend;\n");
}

TEST(Cli, SavesBesideTheSourceKeepingTheOldText) {
    TempDir dir;
    auto src = dir.write("Unit1.pas", "x := 'a';\n");
    CliRun r = run(dir, personal(dir) + " --case upper --quiet " + quote(src.string()));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(dir.read("Unit1.pas"), "X := 'a';\n"); // the line ends of the source
    EXPECT_EQ(dir.read("Unit1.pas-SAVED"), "x := 'a';\n");
    for (const char* ext : {"Alpha-Constants", "Numeric-Constats", "Alpha-Cross-Ref",
                            "Numeric-Cross-Ref", "Token-Cross-Ref"})
        EXPECT_TRUE(fs::exists(dir.path() / ("Unit1." + std::string(ext)))) << ext;
}

TEST(Cli, WalksFoldersInOrderIntoAMirroredOutFolder) {
    TempDir dir;
    dir.write("tree/b.pas", "myname := 1;\n");
    dir.write("tree/a/z.PP", "MyName := 2;\n");
    dir.write("tree/a/notes.txt", "not pascal\n");
    dir.write("tree/c.inc", "MYNAME := 3;\n");
    CliRun r = run(dir, personal(dir) + " --no-numeric --break 3 --out " +
                            quote(dir.dir() + "out") + " " + quote(dir.dir() + "tree"));
    EXPECT_EQ(r.status, 0) << r.err;
    // Sorted walk: a/z.PP first, so its spelling is the one every later file gets.
    EXPECT_EQ(dir.read("out/a/z.PP"), "MyName := 2;\n");
    EXPECT_EQ(dir.read("out/b.pas"), "MyName := 1;\n");
    EXPECT_EQ(dir.read("out/c.inc"), "MyName := 3;\n");
    EXPECT_EQ(dir.read("out/b.Token-Cross-Ref"), "MyName\t#01\r\n");
    EXPECT_EQ(dir.read("out/c.inc-Token-Cross-Ref"), "MyName\t#01\r\n");
    EXPECT_FALSE(fs::exists(dir.path() / "out/b.Numeric-Constats"));
    EXPECT_FALSE(fs::exists(dir.path() / "out/a/notes.txt"));
    // The sources are untouched.
    EXPECT_EQ(dir.read("tree/b.pas"), "myname := 1;\n");
    EXPECT_FALSE(fs::exists(dir.path() / "tree/b.pas-SAVED"));
}

// The walk takes Pascal names in any letter case and nothing else, and lists in the order of
// whole path names: "a-b/" comes before "a.pas", and that before "a/" (by their bytes).
TEST(Cli, WalkTakesPascalNamesInTheOrderOfTheirPaths) {
    TempDir dir;
    for (const char* name :
         {"t/a/z.PP", "t/a-b/y.pas", "t/a.pas", "t/B.Inc", "t/c.DPR", "t/d.lpr", "t/e.pascal",
          "t/f.pas.txt", "t/g", "t/.pas", "t/h.", "t/a/deep/k.inc"})
        dir.write(name, "x;\n");
    CliRun r =
        run(dir, personal(dir) + " -j 2 --case upper --list-changed " + quote(dir.dir() + "t"));
    EXPECT_EQ(r.status, 1) << r.err;
    std::string want;
    // "t/.pas" is a hidden file: walks leave those out.
    for (const char* name :
         {"t/B.Inc", "t/a-b/y.pas", "t/a.pas", "t/a/deep/k.inc", "t/a/z.PP", "t/c.DPR", "t/d.lpr"})
        want += dir.dir() + name + "\n";
    EXPECT_EQ(r.out, want);
}

TEST(Cli, UnitAndIncludeOfOneNameKeepTheirOwnBackups) {
    TempDir dir;
    dir.write("u.pas", "unit u;\n");
    dir.write("u.inc", "x;\r\n");
    CliRun r = run(dir, personal(dir) + " --quiet --case upper " + quote(dir.dir()));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(dir.read("u.pas-SAVED"), "unit u;\n");
    EXPECT_EQ(dir.read("u.inc-SAVED"), "x;\r\n");
    EXPECT_EQ(dir.read("u.pas"), "UNIT U;\n");
    EXPECT_EQ(dir.read("u.inc"), "X;\r\n");
}

TEST(Cli, ABadFileDoesNotStopTheBatch) {
    TempDir dir;
    dir.write("good.pas", "x;\n");
    dir.write("empty.pas", "");
    CliRun r = run(dir, personal(dir) + " --quiet " + quote(dir.dir() + "missing.pas") + " " +
                            quote(dir.dir() + "good.pas") + " " + quote(dir.dir() + "empty.pas"));
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "parvex-list: " + dir.dir() + "missing.pas: File does not exist\n");
    EXPECT_TRUE(fs::exists(dir.path() / "good.Token-Cross-Ref"));
    EXPECT_EQ(dir.read("empty.pas"), ""); // nothing to rewrite
}

TEST(Cli, UnwritableTargetIsReportedWithExitTwo) {
    TempDir dir;
    dir.write("a.pas", "x;\n");
    dir.write("out", "a file where the out folder should be");
    CliRun r = run(dir, personal(dir) + " --out " + quote(dir.dir() + "out") + " " +
                            quote(dir.dir() + "a.pas"));
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find(dir.dir() + "a.pas"), std::string::npos) << r.err;
    EXPECT_EQ(dir.read("a.pas"), "x;\n");
}

TEST(Cli, CheckPrintsNothingForOrdinaryCode) {
    TempDir dir;
    dir.write("a.pas", "x := 1; { c } y := 2; // z\n{ don't } s := 'it''s';\n(* note *)\n");
    CliRun r = run(dir, personal(dir) + " --check --stdout " + quote(dir.dir() + "a.pas"));
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out, "x := 1; { c } y := 2; // z\n{ don't } s := 'it''s';\n(* note *)\n");
}

TEST(Cli, TokensFileIsLoadedBeforeThePersonalOne) {
    TempDir dir;
    auto tokens = dir.write("Tokens.dat", "FooBar\r\nbaz\r\n");
    dir.write("a.pas", "foobar baz\n");
    CliRun r = run(dir, personal(dir, "BAZ") + " --tokens " + quote(tokens.string()) +
                            " --stdout " + quote(dir.dir() + "a.pas"));
    EXPECT_EQ(r.out, "FooBar BAZ\n");
    CliRun missing = run(dir, "--tokens " + quote(dir.dir() + "none.dat") + " a.pas");
    EXPECT_EQ(missing.status, 2);
}

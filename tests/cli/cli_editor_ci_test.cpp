// parvex-list as a filter, a CI gate and a parallel batch, run from outside.
#include "cli_run.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <map>
#include <sys/wait.h>

namespace fs = std::filesystem;
using parvex::test::TempDir;

namespace {

using CliRun = parvex::test::CliOutcome;

std::string quote(const std::string& s) {
    return parvex::test::shell_quote(s);
}

// Runs parvex-list in `dir` with `args`; `prefix` goes in front of the command (environment,
// "cd"), `input` is fed to standard input.
CliRun run(const TempDir& dir, const std::string& args, const std::string& input = "",
           const std::string& prefix = "") {
    const std::string in_file = (dir.path() / ".stdin").string();
    parvex::test::write_bytes(in_file, input);
    CliRun r = parvex::test::run_shell(dir, prefix + " " + std::string(PARVEX_LIST_EXE) + " " +
                                                args + " <" + quote(in_file));
    fs::remove(in_file);
    return r;
}

// Runs the tests' build of parvex-list, which damages line `line` of every new text (a byte
// added) so that the second reader has something to refuse.
CliRun run_damaged(const TempDir& dir, int line, const std::string& args,
                   const std::string& input = "") {
    const std::string in_file = (dir.path() / ".stdin").string();
    parvex::test::write_bytes(in_file, input);
    CliRun r = parvex::test::run_shell(dir, "PARVEX_TEST_DAMAGE_LINE=" + std::to_string(line) +
                                                " " + std::string(PARVEX_LIST_TEST_EXE) + " " +
                                                args + " <" + quote(in_file));
    fs::remove(in_file);
    return r;
}

std::string personal(const TempDir& dir) {
    return "--personal " + quote(dir.write("personal.dat", "").string());
}

std::size_t entries(const fs::path& folder) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), {}));
}

// What a terminal shows while `command` (quoted already) runs on it: standard output and
// standard error together, as script copies them.
std::string on_terminal(const std::string& command) {
    FILE* pipe = ::popen(("script -qec " + quote(command) + " /dev/null").c_str(), "r");
    std::string shown;
    std::array<char, 4096> buf{};
    std::size_t n;
    while ((n = std::fread(buf.data(), 1, buf.size(), pipe)) > 0)
        shown.append(buf.data(), n);
    ::pclose(pipe);
    return shown;
}

const std::string kUnit = "unit a;\ninterface\nprocedure p;\nimplementation\nprocedure p;\n"
                          "begin\n  writeln('Text');\nend;\nend.\n";

} // namespace

TEST(CliVerify, ADamagedNewTextIsRefusedAndNothingIsWritten) {
    TempDir dir;
    dir.write("src/a.pas", kUnit);
    dir.write("src/b.pas", "procedure q; begin end;\n"); // one line: line 2's damage misses it
    const std::string a = dir.dir() + "src/a.pas";

    CliRun in_place = run_damaged(dir, 2, personal(dir) + " --quiet " + quote(dir.dir() + "src"));
    EXPECT_EQ(in_place.status, 2);
    EXPECT_EQ(in_place.err, a + ":2: refused: the new line is longer than the source line "
                                "beyond its remarks\n");
    EXPECT_EQ(dir.read("src/a.pas"), kUnit);
    EXPECT_FALSE(fs::exists(dir.path() / "src/a.pas-SAVED"));
    EXPECT_FALSE(fs::exists(dir.path() / "src/a.Token-Cross-Ref"));
    EXPECT_TRUE(fs::exists(dir.path() / "src/b.pas-SAVED")); // the other file is still listed

    CliRun out = run_damaged(
        dir, 2, personal(dir) + " --quiet --out " + quote(dir.dir() + "out") + " " + quote(a));
    EXPECT_EQ(out.status, 2);
    EXPECT_FALSE(fs::exists(dir.path() / "out/a.pas"));

    // Printed, the refused text goes on as it was.
    CliRun printed = run_damaged(dir, 2, personal(dir) + " --case upper --stdout " + quote(a));
    EXPECT_EQ(printed.status, 2);
    EXPECT_EQ(printed.out, kUnit);

    // The same when several files are listed on several threads, each new text in one piece.
    for (const char* jobs : {"-j 2", "-j 4"}) {
        CliRun both =
            run_damaged(dir, 2,
                        personal(dir) + " --quiet " + jobs + " --stdout " +
                            quote(dir.dir() + "src/a.pas") + " " + quote(dir.dir() + "src/b.pas"));
        EXPECT_EQ(both.status, 2) << jobs;
        EXPECT_EQ(both.err, a + ":2: refused: the new line is longer than the source line "
                                "beyond its remarks\n")
            << jobs;
        EXPECT_EQ(both.out, kUnit + "procedure q; begin end; { of q }\n") << jobs;
    }
}

// The switch that damages new texts exists in the tests' build only: the shipped program
// lists as always whatever the environment says.
TEST(CliVerify, TheShippedProgramHasNoDamageSwitch) {
    TempDir dir;
    CliRun r = run(dir, personal(dir) + " -", kUnit, "PARVEX_TEST_DAMAGE_LINE=2");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_NE(r.out.find("end; { of p }"), std::string::npos) << r.out;
}

// parvex-list starts itself once more with its heap settings unless the caller gave some: the
// source on standard input, the arguments and the result come through the restart unchanged.
TEST(CliFilter, TheRestartWithHeapSettingsKeepsInputAndArguments) {
    TempDir dir;
    const std::string args = personal(dir) + " --case upper --stdin-name 'my unit.pas' -";
    CliRun restarted = run(dir, args, kUnit, "env -u GLIBC_TUNABLES");
    CliRun as_given = run(dir, args, kUnit, "GLIBC_TUNABLES=glibc.malloc.arena_max=2");
    EXPECT_EQ(restarted.status, 0) << restarted.err;
    EXPECT_NE(restarted.out.find("END; { of P }"), std::string::npos) << restarted.out;
    EXPECT_EQ(restarted.out, as_given.out);
    EXPECT_EQ(restarted.status, as_given.status);
    CliRun bad = run(dir, personal(dir) + " --jobs 0x", "", "env -u GLIBC_TUNABLES");
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.err.find("Try 'parvex-list --help'"), std::string::npos) << bad.err;
}

TEST(CliFilter, StandardInputGivesWhatStdoutGives) {
    TempDir dir;
    auto file = dir.write("a.pas", kUnit);
    const std::pair<const char*, const char*> cases[] = {
        {"", "end; { of p }"}, {"--case upper", "END; { of P }"}, {"--no-remarks", "end;\n"}};
    for (const auto& [options, end_line] : cases) {
        CliRun direct = run(dir, personal(dir) + " " + options + " --stdout " + quote(file));
        CliRun filter = run(dir, personal(dir) + " " + options + " -", kUnit);
        EXPECT_EQ(filter.status, 0) << filter.err;
        EXPECT_EQ(filter.out, direct.out) << options;
        EXPECT_NE(filter.out.find(end_line), std::string::npos) << filter.out;
    }
    EXPECT_EQ(entries(dir.path()), 2u); // a.pas and the personal file: nothing written
}

TEST(CliFilter, StdinNameNamesTheSourceInMessages) {
    TempDir dir;
    CliRun r = run_damaged(dir, 1, personal(dir) + " --stdin-name src/unit1.pas -", kUnit);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err.rfind("src/unit1.pas:1: refused: ", 0), 0u) << r.err;
    EXPECT_EQ(r.out, kUnit);
    CliRun empty = run(dir, personal(dir) + " -", "");
    EXPECT_EQ(empty.status, 0);
    EXPECT_EQ(empty.out, "");
}

// An editor replaces its buffer with what the filter prints: whatever goes wrong, the buffer
// comes back byte for byte, and the exit status tells what happened.
TEST(CliFilter, EveryFailureGivesTheInputBackByteForByte) {
    TempDir dir;
    const std::string utf16 = std::string("\xFF\xFEu\0n\0i\0t\0 \0a\0;\0\r\0\n\0", 20);
    const std::string nul = std::string("x := 1;\n\0y;\n", 13);
    struct Case {
        const char* what;
        std::string args;
        std::string input;
        int status;
        int damage = 0; // the tests' build, damaging this line
    };
    const Case cases[] = {
        {"UTF-16", "-", utf16, 2},
        {"NUL bytes", "-", nul, 2},
        {"empty", "-", "", 0},
        {"refused", "-", kUnit, 2, 2},
        {"refused, CR LF", "-", "unit a;\r\nbegin\r\nend.\r\n", 2, 1},
        {"bad usage", "--case uper -", kUnit, 2},
        {"option without its value", "--break -", kUnit, 2},
        {"missing personal file", "--personal " + quote(dir.dir() + "none.dat") + " -", kUnit, 2},
        {"personal file that is a folder", "--personal " + quote(dir.dir()) + " -", kUnit, 2},
    };
    for (const Case& c : cases) {
        const std::string args = (c.args.starts_with("--personal") ? "" : personal(dir) + " ") +
                                 "--case upper " + c.args;
        CliRun r = c.damage ? run_damaged(dir, c.damage, args, c.input) : run(dir, args, c.input);
        EXPECT_EQ(r.status, c.status) << c.what << ": " << r.err;
        EXPECT_EQ(r.out, c.input) << c.what;
        if (c.status == 0) {
            EXPECT_EQ(r.err, "") << c.what; // nothing an editor would take into the buffer
        }
    }
}

TEST(CliFilter, StandardInputGoesWithNoOtherPathNorOut) {
    TempDir dir;
    dir.write("a.pas", "x;\n");
    for (std::string args : {"- a.pas", "--out o -", "a.pas -"}) {
        CliRun r = run(dir, personal(dir) + " " + args, "x;\n", "cd " + quote(dir.dir()) + " &&");
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_EQ(r.out, "x;\n") << args; // as a filter would give it back
        EXPECT_EQ(dir.read("a.pas"), "x;\n") << args;
    }
}

namespace {

// Changes on lines 1 and 8 (one hunk: six lines apart), 16 and the last line, which has no
// line end (a second hunk).
std::string diff_fixture() {
    std::string text = "x := 1;\r\n";
    for (int i = 2; i <= 20; ++i)
        text += i == 8 || i == 16 ? "y := 2;\r\n" : "{ comment " + std::to_string(i) + " }\r\n";
    return text + "z := 3;";
}

} // namespace

TEST(CliDiff, PrintsWhatDiffUPrintsAndExitsOneWhenAnyDiffers) {
    TempDir dir;
    dir.write("src/a.pas", diff_fixture());
    dir.write("src/same.pas", "{ nothing to change }\r\n");
    const std::string cd = "cd " + quote(dir.dir()) + " &&";
    CliRun d = run(dir, personal(dir) + " --case upper --diff src", "", cd);
    EXPECT_EQ(d.status, 1) << d.err;
    EXPECT_EQ(d.err, "");
    // The same as diff -u of the source and the saved new text.
    fs::copy(dir.path() / "src", dir.path() / "listed");
    ASSERT_EQ(run(dir, personal(dir) + " --case upper --quiet listed", "", cd).status, 0);
    CliRun expected;
    {
        std::string cmd =
            "cd " + quote(dir.dir()) + " && diff -u src/a.pas listed/a.pas | tail -n +3";
        FILE* pipe = ::popen(cmd.c_str(), "r");
        std::array<char, 4096> buf{};
        std::size_t n;
        while ((n = std::fread(buf.data(), 1, buf.size(), pipe)) > 0)
            expected.out.append(buf.data(), n);
        ::pclose(pipe);
    }
    EXPECT_EQ(d.out, "--- a/src/a.pas\n+++ b/src/a.pas\n" + expected.out);
    EXPECT_EQ(std::count(d.out.begin(), d.out.end(), '@'), 2 * 4) << d.out; // two hunks
    EXPECT_EQ(dir.read("src/a.pas"), diff_fixture());                       // nothing written
    EXPECT_EQ(entries(dir.path() / "src"), 2u);

    CliRun none = run(dir, personal(dir) + " --diff src/same.pas", "", cd);
    EXPECT_EQ(none.status, 0);
    EXPECT_EQ(none.out, "");
}

TEST(CliDiff, PatchAppliesTheDiffToGiveWhatAnInPlaceRunGives) {
    TempDir dir;
    dir.write("tree/a.pas", kUnit);
    dir.write("tree/sub/b.inc", diff_fixture());
    dir.write("tree/sub/c.pp", "Procedure Q; Begin End;\r\n");
    fs::copy(dir.path() / "tree", dir.path() / "listed", fs::copy_options::recursive);
    for (const char* options : {"--case upper", "--case lower --no-remarks", ""}) {
        fs::remove_all(dir.path() / "patched");
        fs::copy(dir.path() / "tree", dir.path() / "patched", fs::copy_options::recursive);
        fs::remove_all(dir.path() / "listed");
        fs::copy(dir.path() / "tree", dir.path() / "listed", fs::copy_options::recursive);
        CliRun d = run(dir, personal(dir) + " " + options + " --diff .", "",
                       "cd " + quote(dir.dir() + "tree") + " &&");
        ASSERT_EQ(d.status, 1) << d.err;
        dir.write("p.diff", d.out);
        ASSERT_EQ(std::system(("cd " + quote(dir.dir() + "patched") +
                               " && patch -s -p1 < ../p.diff > /dev/null")
                                  .c_str()),
                  0)
            << options;
        ASSERT_EQ(
            run(dir, personal(dir) + " " + options + " --quiet " + quote(dir.dir() + "listed"))
                .status,
            0);
        for (const char* f : {"a.pas", "sub/b.inc", "sub/c.pp"})
            EXPECT_EQ(dir.read(std::string("patched/") + f), dir.read(std::string("listed/") + f))
                << options << " " << f;
    }
}

TEST(CliDiff, ListChangedNamesTheFilesThatWouldChange) {
    TempDir dir;
    dir.write("a.pas", "X;\r\n");
    dir.write("b.pas", "{ fine }\r\n");
    dir.write("c.pas", "Y;\r\n");
    CliRun r = run(dir, personal(dir) + " --case lower --list-changed " + quote(dir.dir()));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, dir.dir() + "a.pas\n" + dir.dir() + "c.pas\n");
    EXPECT_EQ(dir.read("a.pas"), "X;\r\n");
    CliRun none = run(dir, personal(dir) + " --list-changed " + quote(dir.dir() + "b.pas"));
    EXPECT_EQ(none.status, 0);
    EXPECT_EQ(none.out, "");
    CliRun both = run(dir, personal(dir) + " --diff --list-changed " + quote(dir.dir()));
    EXPECT_EQ(both.status, 2);
}

namespace {

// Every file below `root` with its bytes, by relative name.
std::map<std::string, std::string> tree_of(const fs::path& root) {
    std::map<std::string, std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(root))
        if (e.is_regular_file())
            files[fs::relative(e.path(), root).string()] = parvex::test::read_bytes(e.path());
    return files;
}

} // namespace

TEST(CliJobs, ManyJobsGiveByteForByteWhatOneJobGives) {
    const std::string fpc = "/usr/share/fpcsrc/3.2.2/";
    ASSERT_TRUE(fs::is_directory(fpc + "rtl/objpas")) << "scripts/install-deps installs it";
    // Three paths: the token index carries from one to the next.
    const std::string sample = quote(fpc + "packages/hash") + " " + quote(fpc + "rtl/objpas") +
                               " " + quote(fpc + "packages/fcl-json/src");
    TempDir dir;
    for (const char* options :
         {"", "--case upper --check", "--case lower --no-remarks", "--case capitalize --break 3",
          "--case first --keep-old-remarks --no-alpha"}) {
        const std::string common = personal(dir) + " " + options + " ";
        CliRun one = run(dir, common + "-j 1 --stdout " + sample);
        EXPECT_GT(one.out.size(), 3000000u) << options;
        // New texts are drafted and patched; with --check the lines are scanned and finished.
        for (const char* jobs : {"-j 2", "-j 4"}) {
            CliRun many = run(dir, common + jobs + " --stdout " + sample);
            EXPECT_EQ(one.status, many.status) << options << jobs;
            EXPECT_TRUE(one.out == many.out) << options << jobs; // not printed: megabytes
            EXPECT_EQ(one.err, many.err) << options << jobs;
        }

        if (std::string(options).find("--check") != std::string::npos)
            continue; // --check writes nothing
        fs::remove_all(dir.path() / "o1");
        fs::remove_all(dir.path() / "o4");
        CliRun saved_one =
            run(dir, common + "--quiet -j 1 --out " + quote(dir.dir() + "o1") + " " + sample);
        CliRun saved_four =
            run(dir, common + "--quiet --jobs=4 --out " + quote(dir.dir() + "o4") + " " + sample);
        EXPECT_EQ(saved_one.status, saved_four.status) << options;
        EXPECT_EQ(saved_one.out, saved_four.out) << options;
        const auto a = tree_of(dir.path() / "o1"), b = tree_of(dir.path() / "o4");
        EXPECT_GT(a.size(), 100u);
        EXPECT_TRUE(a == b) << options;
    }
}

// Sources that cannot be listed, among sources listed on several threads: each reported as
// with one job, in its place, the others' texts unharmed (printed and as a diff).
TEST(CliJobs, BadSourcesAmongManyJobsAreReportedAsWithOneJob) {
    TempDir dir;
    dir.write("src/a.pas", "PROCEDURE Alpha; BEGIN alpha; END;\r\n");
    dir.write("src/b.pas", std::string("begin\0end.\n", 11));
    dir.write("src/c.pas", "");
    dir.write("src/d.pas", std::string("\xFF\xFEu\0n\0i\0t\0", 10));
    dir.write("src/e.pas", "\xEF\xBB\xBFprocedure alpha;\nbegin ALPHA end;\n");
    for (int k = 0; k < 12; ++k)
        dir.write("src/f" + std::to_string(k) + ".pas",
                  "procedure Alpha" + std::to_string(k) + "; begin ALPHA; end;\n");
    const std::string src = quote(dir.dir() + "src"), missing = quote(dir.dir() + "gone.pas");
    for (const char* mode : {"--stdout", "--diff", "--list-changed"}) {
        const std::string args = personal(dir) + " " + mode + " " + src + " " + missing + " ";
        CliRun one = run(dir, args + "-j 1");
        EXPECT_EQ(one.status, 2) << mode;
        EXPECT_NE(one.err.find("b.pas: binary or UTF-16 file"), std::string::npos) << one.err;
        EXPECT_NE(one.err.find("gone.pas"), std::string::npos) << one.err;
        for (const char* jobs : {"-j 2", "-j 4"}) {
            CliRun many = run(dir, args + jobs);
            EXPECT_EQ(many.status, one.status) << mode << jobs;
            EXPECT_EQ(many.out, one.out) << mode << jobs;
            EXPECT_EQ(many.err, one.err) << mode << jobs;
        }
    }
}

// Sources larger than what a batch reads ahead at most still go through, in order.
TEST(CliJobs, SourcesLargerThanTheReadAheadGoThroughInOrder) {
    TempDir dir;
    std::string large;
    for (int k = 0; large.size() < (std::size_t{9} << 20); ++k)
        large += "procedure P" + std::to_string(k % 5000) +
                 "(x: Integer); begin WriteLn('text', x); { note } end;\n";
    dir.write("src/a.pas", large);
    dir.write("src/b.pas", "procedure p1; begin end;\n");
    dir.write("src/c.pas", large);
    dir.write("src/d.pas", "PROCEDURE P2; BEGIN END;\n");
    const std::string src = quote(dir.dir() + "src");
    CliRun one = run(dir, personal(dir) + " --quiet -j 1 --stdout " + src);
    EXPECT_EQ(one.status, 0) << one.err;
    EXPECT_GT(one.out.size(), 2 * large.size());
    for (const char* jobs : {"-j 2", "-j 4"}) {
        CliRun many = run(dir, personal(dir) + " --quiet " + jobs + " --stdout " + src);
        EXPECT_EQ(many.status, 0) << many.err;
        EXPECT_TRUE(one.out == many.out) << jobs; // not printed: megabytes
    }
    CliRun saved_one =
        run(dir, personal(dir) + " --quiet -j 1 --out " + quote(dir.dir() + "o1") + " " + src);
    CliRun saved_four =
        run(dir, personal(dir) + " --quiet -j 4 --out " + quote(dir.dir() + "o4") + " " + src);
    EXPECT_EQ(saved_one.status, 0) << saved_one.err;
    EXPECT_EQ(saved_four.status, 0) << saved_four.err;
    EXPECT_TRUE(tree_of(dir.path() / "o1") == tree_of(dir.path() / "o4"));
}

TEST(CliJobs, AFileListedTwiceIsReadAfterItsFirstSave) {
    TempDir one, four;
    const std::string text = "procedure p;\r\nbegin\r\nend;\r\n";
    for (const TempDir* d : {&one, &four}) {
        d->write("a.pas", text);
        d->write("b.pas", "Procedure Q; Begin End;\r\n");
    }
    const std::string files = " a.pas b.pas ./a.pas";
    CliRun r1 = run(one, personal(one) + " --case upper --quiet -j 1" + files, "",
                    "cd " + quote(one.dir()) + " &&");
    CliRun r4 = run(four, personal(four) + " --case upper --quiet -j 4" + files, "",
                    "cd " + quote(four.dir()) + " &&");
    EXPECT_EQ(r1.status, r4.status);
    EXPECT_EQ(r1.err, r4.err);
    EXPECT_TRUE(tree_of(one.path()) == tree_of(four.path()));
}

TEST(CliSpellings, ReportsEveryTokenOfManySpellingsMostFrequentFirst) {
    TempDir dir;
    dir.write("a.pas", "procedure Foo;\nbegin\n  Result := foo; result := 1;\n"
                       "  s := 'FOO result'; // RESULT Foo\nend;\n");
    dir.write("b.pas", "x := result + Result + Result + RESULT; { foo }\nFoo; y := 10;\n");
    const std::string files = " a.pas b.pas";
    const std::string cd = "cd " + quote(dir.dir()) + " &&";
    CliRun r = run(dir, personal(dir) + " --spellings" + files, "", cd);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Result  Result 3 (a.pas:3)  result 2 (a.pas:3)  RESULT 1 (b.pas:1)\n"
                     "Foo  Foo 2 (a.pas:1)  foo 1 (a.pas:3)\n");
    EXPECT_EQ(entries(dir.path()), 3u); // nothing written
    EXPECT_EQ(run(dir, personal(dir) + " -j 4 --spellings" + files, "", cd).out, r.out);

    // The first column is the spelling a listing writes: the personal one, when there is one.
    dir.write("tokens.dat", "RESULT\r\n");
    CliRun with_personal = run(dir, "--personal tokens.dat --spellings" + files, "", cd);
    EXPECT_EQ(with_personal.out.substr(0, 8), "RESULT  ");
}

TEST(CliSpellings, TheMajorityFileSettlesTheSpellingOfAListing) {
    TempDir dir;
    dir.write("a.pas", "x := result;\nResult := Result + Result;\n");
    const std::string cd = "cd " + quote(dir.dir()) + " &&";
    CliRun r = run(dir, personal(dir) + " --spellings-out majority.dat a.pas", "", cd);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, ""); // the report only with --spellings
    const std::string majority = dir.read("majority.dat");
    EXPECT_NE(majority.find("\r\nResult\r\n"), std::string::npos) << majority;
    CliRun listed = run(dir, "--personal majority.dat --stdout a.pas", "", cd);
    EXPECT_EQ(listed.out, "x := Result;\nResult := Result + Result;\n");
    for (const char* bad : {"--spellings --stdout a.pas", "--spellings --out o a.pas",
                            "--spellings-out m.dat --diff a.pas"})
        EXPECT_EQ(run(dir, personal(dir) + " " + bad, "", cd).status, 2) << bad;
}

TEST(CliJobs, ATerminalSeesFilesDoneAndSpeedUnlessQuiet) {
    if (std::system("command -v script > /dev/null") != 0)
        GTEST_SKIP() << "script (util-linux) is needed for a terminal";
    TempDir dir;
    for (const char* name : {"t/a.pas", "t/b.pas", "t/c.pas"})
        dir.write(name, "x;\n");
    auto listed_on_terminal = [&](const std::string& args) {
        return on_terminal(std::string(PARVEX_LIST_EXE) + " " + personal(dir) + " " + args +
                           " --stdout " + quote(dir.dir() + "t") + " > /dev/null");
    };
    const std::string shown = listed_on_terminal("-j 2");
    EXPECT_NE(shown.find("[3/3] "), std::string::npos) << shown;
    EXPECT_NE(shown.find(" MB/s"), std::string::npos) << shown;
    EXPECT_NE(shown.find("3 files listed"), std::string::npos) << shown;
    EXPECT_EQ(listed_on_terminal("-j 2 --quiet"), "");
}

// The line of files done shares the terminal with standard output: it is cleared before any
// output, and a run that lists nothing (--diff, --list-changed, --check) says no "files listed".
TEST(CliJobs, TheLineOfFilesDoneNeverRunsIntoStandardOutput) {
    if (std::system("command -v script > /dev/null") != 0)
        GTEST_SKIP() << "script (util-linux) is needed for a terminal";
    TempDir dir;
    // Enough output to leave the program's buffer while the line of files done stands.
    std::vector<std::string> names;
    for (int i = 0; i < 400; ++i) {
        names.push_back("a-somewhat-longer-folder-name/unit" + std::to_string(1000 + i) + ".pas");
        dir.write("many/" + names.back(), "x;\n");
    }
    const std::string many = quote(dir.dir() + "many");
    for (const char* mode : {"--list-changed", "--diff", "--check"}) {
        const std::string shown = on_terminal(std::string(PARVEX_LIST_EXE) + " " + personal(dir) +
                                              " -j 2 --case upper " + mode + " " + many);
        EXPECT_EQ(shown.find("files listed"), std::string::npos) << mode;
        // Each name stands at the start of a line, or right after the line was cleared.
        std::size_t found = 0;
        for (std::size_t at = shown.find(dir.dir() + "many/"); at != std::string::npos;
             at = shown.find(dir.dir() + "many/", at + 1)) {
            const bool line_start = at == 0 || shown[at - 1] == '\n' ||
                                    shown.compare(at - 3, 3, "\033[K") == 0 ||
                                    (at >= 6 && shown.compare(at - 6, 6, "+++ b/") == 0) ||
                                    (at >= 6 && shown.compare(at - 6, 6, "--- a/") == 0);
            EXPECT_TRUE(line_start) << mode << ": " << shown.substr(at >= 40 ? at - 40 : 0, 80);
            ++found;
        }
        EXPECT_GE(found, std::string(mode) == "--check" ? 0u : names.size()) << mode;
    }
    // A run that prints new texts lists files, and says so.
    const std::string printed = on_terminal(std::string(PARVEX_LIST_EXE) + " " + personal(dir) +
                                            " -j 2 --stdout " + many + " > /dev/null");
    EXPECT_NE(printed.find("\033[K400 files listed"), std::string::npos) << printed;
}

TEST(CliDiff, ColoursOnATerminalUnlessNoColorOrNeverSaysOtherwise) {
    if (std::system("command -v script > /dev/null") != 0)
        GTEST_SKIP() << "script (util-linux) is needed for a terminal";
    TempDir dir;
    auto file = dir.write("a.pas", "x;\r\n");
    const std::string plain =
        "--- a/" + file.string() + "\n+++ b/" + file.string() + "\n@@ -1 +1 @@\n-x;\r\n+X;\r\n";
    struct Case {
        const char* env;
        const char* option;
        bool terminal;
        bool coloured;
    };
    const Case cases[] = {
        {"", "", false, false},
        {"", "--color=always", false, true},
        {"NO_COLOR=1", "--color always", false, true}, // the command line goes first
        {"", "", true, true},
        {"", "--color=never", true, false},
        {"NO_COLOR=1", "", true, false},
        {"NO_COLOR=", "", true, true}, // set but empty: no objection
        {"TERM=dumb", "", true, false},
    };
    for (const Case& c : cases) {
        const std::string what = std::string(c.env) + " " + c.option;
        const std::string args =
            personal(dir) + " --case upper --diff " + c.option + " " + quote(file.string());
        const std::string out =
            c.terminal
                ? on_terminal(std::string("env ") + c.env + " " + PARVEX_LIST_EXE + " " + args)
                : run(dir, args, "", std::string("env ") + c.env).out;
        if (!c.coloured) {
            EXPECT_EQ(out.find('\033'), std::string::npos) << what;
            continue;
        }
        EXPECT_NE(out.find("\033[1m--- a/"), std::string::npos) << what;
        EXPECT_NE(out.find("\033[36m@@ -1 +1 @@\033[m"), std::string::npos) << what;
        EXPECT_NE(out.find("\033[31m-x;\033[m\r"), std::string::npos) << what;
        EXPECT_NE(out.find("\033[32m+X;\033[m\r"), std::string::npos) << what;
        if (!c.terminal) {
            // Without its colours, the text of every line is that of the plain diff.
            std::string stripped = out;
            for (auto at = stripped.find('\033'); at != std::string::npos;
                 at = stripped.find('\033', at))
                stripped.erase(at, stripped.find('m', at) + 1 - at);
            EXPECT_EQ(stripped, plain) << what;
        }
    }
}

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

std::string personal(const TempDir& dir) {
    return "--personal " + quote(dir.write("personal.dat", "").string());
}

std::size_t entries(const fs::path& folder) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), {}));
}

const std::string kUnit = "unit a;\ninterface\nprocedure p;\nimplementation\nprocedure p;\n"
                          "begin\n  writeln('Text');\nend;\nend.\n";

} // namespace

TEST(CliVerify, ADamagedNewTextIsRefusedAndNothingIsWritten) {
    TempDir dir;
    dir.write("src/a.pas", kUnit);
    dir.write("src/b.pas", "procedure q; begin end;\n"); // one line: line 2's damage misses it
    const std::string damage = "PARVEX_TEST_DAMAGE_LINE=2";
    const std::string a = dir.dir() + "src/a.pas";

    CliRun in_place = run(dir, personal(dir) + " --quiet " + quote(dir.dir() + "src"), "", damage);
    EXPECT_EQ(in_place.status, 2);
    EXPECT_EQ(in_place.err, a + ":2: refused: the new line is longer than the source line "
                                "beyond its remarks\n");
    EXPECT_EQ(dir.read("src/a.pas"), kUnit);
    EXPECT_FALSE(fs::exists(dir.path() / "src/a.pas-SAVED"));
    EXPECT_FALSE(fs::exists(dir.path() / "src/a.Token-Cross-Ref"));
    EXPECT_TRUE(fs::exists(dir.path() / "src/b.pas-SAVED")); // the other file is still listed

    CliRun out =
        run(dir, personal(dir) + " --quiet --out " + quote(dir.dir() + "out") + " " + quote(a), "",
            damage);
    EXPECT_EQ(out.status, 2);
    EXPECT_FALSE(fs::exists(dir.path() / "out/a.pas"));

    // Printed, the refused text goes on as it was.
    CliRun printed = run(dir, personal(dir) + " --case upper --stdout " + quote(a), "", damage);
    EXPECT_EQ(printed.status, 2);
    EXPECT_EQ(printed.out, kUnit);

    // The same when several files are listed on several threads, each new text in one piece.
    for (const char* jobs : {"-j 2", "-j 4"}) {
        CliRun both = run(dir,
                          personal(dir) + " --quiet " + jobs + " --stdout " +
                              quote(dir.dir() + "src/a.pas") + " " + quote(dir.dir() + "src/b.pas"),
                          "", damage);
        EXPECT_EQ(both.status, 2) << jobs;
        EXPECT_EQ(both.err, a + ":2: refused: the new line is longer than the source line "
                                "beyond its remarks\n")
            << jobs;
        EXPECT_EQ(both.out, kUnit + "procedure q; begin end; { of q }\n") << jobs;
    }
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
    CliRun r = run(dir, personal(dir) + " --stdin-name src/unit1.pas -", kUnit,
                   "PARVEX_TEST_DAMAGE_LINE=1");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err.rfind("src/unit1.pas:1: refused: ", 0), 0u) << r.err;
    EXPECT_EQ(r.out, kUnit);
    CliRun empty = run(dir, personal(dir) + " -", "");
    EXPECT_EQ(empty.status, 0);
    EXPECT_EQ(empty.out, "");
}

TEST(CliFilter, StandardInputGoesWithNoOtherPathNorOut) {
    TempDir dir;
    dir.write("a.pas", "x;\n");
    for (std::string args : {"- a.pas", "--out o -", "a.pas -"}) {
        CliRun r = run(dir, personal(dir) + " " + args, "x;\n", "cd " + quote(dir.dir()) + " &&");
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_EQ(r.out, "") << args;
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
    auto on_terminal = [&](const std::string& args) {
        // script gives the program a terminal and copies what it shows.
        const std::string inner = std::string(PARVEX_LIST_EXE) + " " + personal(dir) + " " + args +
                                  " --stdout " + quote(dir.dir() + "t") + " > /dev/null";
        FILE* pipe = ::popen(("script -qec " + quote(inner) + " /dev/null").c_str(), "r");
        std::string shown;
        std::array<char, 4096> buf{};
        std::size_t n;
        while ((n = std::fread(buf.data(), 1, buf.size(), pipe)) > 0)
            shown.append(buf.data(), n);
        ::pclose(pipe);
        return shown;
    };
    const std::string shown = on_terminal("-j 2");
    EXPECT_NE(shown.find("[3/3] "), std::string::npos) << shown;
    EXPECT_NE(shown.find(" MB/s"), std::string::npos) << shown;
    EXPECT_NE(shown.find("3 files listed"), std::string::npos) << shown;
    EXPECT_EQ(on_terminal("-j 2 --quiet"), "");
}

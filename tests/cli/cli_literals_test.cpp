// parvex-list on the literals of current Pascal and on line ends, run from outside: one file at
// a time and several at once (each file is drafted on its own then).
#include "cli_run.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;
using parvex::test::CliOutcome;
using parvex::test::shell_quote;
using parvex::test::TempDir;

namespace {

CliOutcome run(const TempDir& dir, const std::string& args) {
    return parvex::test::run_shell(dir, std::string(PARVEX_LIST_EXE) + " " +
                                            parvex::test::personal_option(dir) + " " + args);
}

const char* const kBlock = "const\n"
                           "  S = '''\n"
                           "    Hello World\n"
                           "    begin end\n"
                           "    ''';\n"
                           "  T = `a {b}\n"
                           "  c` + x;\n";
const char* const kBlockUpper = "CONST\n"
                                "  S = '''\n"
                                "    Hello World\n"
                                "    begin end\n"
                                "    ''';\n"
                                "  T = `a {b}\n"
                                "  c` + X;\n";

} // namespace

TEST(CliLiterals, TextBlocksAndBacktickLiteralsComeOutAsWritten) {
    TempDir dir;
    const std::string a = dir.write("a.pas", kBlock).string();
    const std::string b = dir.write("b.pas", "begin end.\n").string();
    for (const char* jobs : {"-j 1", "-j 2"}) {
        CliOutcome r = run(dir, std::string(jobs) + " --case upper --stdout " + shell_quote(a) +
                                    " " + shell_quote(b));
        EXPECT_EQ(r.status, 0) << jobs << ": " << r.err;
        EXPECT_EQ(r.out, std::string(kBlockUpper) + "BEGIN END.\n") << jobs;
    }
    // Saved: the text, and each literal once in the list, with the line it begins on.
    CliOutcome saved = run(dir, "--case upper --quiet --out " + shell_quote(dir.dir() + "out") +
                                    " " + shell_quote(a));
    ASSERT_EQ(saved.status, 0) << saved.err;
    EXPECT_EQ(dir.read("out/a.pas"), kBlockUpper);
    EXPECT_EQ(dir.read("out/a.Alpha-Constants"),
              "'''\r\n    Hello World\r\n    begin end\r\n    '''\t#02\r\n"
              "`a {b}\r\n  c`\t#06\r\n");
}

TEST(CliLiterals, TheCheckNamesTheFirstLineOfALiteralNeverClosed) {
    TempDir dir;
    const std::string a = dir.write("a.pas", "x := 1;\ns := '''\nbegin end;\n").string();
    const std::string b = dir.write("b.pas", "begin end.\n").string();
    for (const char* jobs : {"-j 1", "-j 2"}) {
        CliOutcome r = run(dir, std::string(jobs) + " --check --case upper --stdout " +
                                    shell_quote(a) + " " + shell_quote(b));
        EXPECT_EQ(r.status, 1) << jobs << ": " << r.err;
        // Nothing behind the opening is touched; the next file is listed as ever.
        EXPECT_EQ(r.out, a + ":2: (literal never closed)\nX := 1;\nS := '''\nbegin end;\n"
                             "BEGIN END.\n")
            << jobs;
    }
}

// Every line end comes out as it went in: a missing one at the end stays missing, a final ^Z
// stays the last byte, a text of mixed line ends keeps each.
TEST(CliLiterals, LineEndsComeOutAsTheyWentIn) {
    const struct {
        const char* source;
        const char* upper;
    } cases[] = {
        {"x := 1;", "X := 1;"},
        {"x;\r\ny;", "X;\r\nY;"},
        {"end.\r\n\x1a", "END.\r\n\x1a"},
        {"a;\nb;\r\nc;\rd;\n", "A;\nB;\r\nC;\rD;\n"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        const std::string a = dir.write("a.pas", c.source).string();
        const std::string b = dir.write("b.pas", c.source).string();
        for (const char* jobs : {"-j 1", "-j 2"}) {
            CliOutcome r = run(dir, std::string(jobs) + " --case upper --stdout " + shell_quote(a) +
                                        " " + shell_quote(b));
            EXPECT_EQ(r.status, 0) << r.err;
            EXPECT_EQ(r.out, std::string(c.upper) + c.upper) << jobs;
        }
        // A text the run leaves alone is not a changed text.
        const std::string same = dir.write("same.pas", c.upper).string();
        CliOutcome changed = run(dir, "--case upper --list-changed " + shell_quote(same));
        EXPECT_EQ(changed.status, 0) << changed.out;
        EXPECT_EQ(changed.out, "");
        CliOutcome saved = run(dir, "--case upper --quiet " + shell_quote(a));
        ASSERT_EQ(saved.status, 0) << saved.err;
        EXPECT_EQ(dir.read("a.pas"), c.upper);
        EXPECT_EQ(dir.read("a.pas-SAVED"), c.source);
    }
}

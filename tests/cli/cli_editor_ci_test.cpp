// parvex-list as a filter, a CI gate and a parallel batch, run from outside.
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <sys/wait.h>

namespace fs = std::filesystem;
using parvex::test::TempDir;

namespace {

struct CliRun {
    int status = -1;
    std::string out, err;
};

std::string quote(const std::string& s) {
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// Runs parvex-list in `dir` with `args`; `prefix` goes in front of the command (environment,
// "cd"), `input` is fed to standard input.
CliRun run(const TempDir& dir, const std::string& args, const std::string& input = "",
           const std::string& prefix = "") {
    const std::string err_file = (dir.path() / ".stderr").string();
    const std::string in_file = (dir.path() / ".stdin").string();
    parvex::test::write_bytes(in_file, input);
    std::string cmd = prefix + " " + std::string(PARVEX_LIST_EXE) + " " + args + " <" +
                      quote(in_file) + " 2>" + quote(err_file);
    CliRun r;
    FILE* pipe = ::popen(cmd.c_str(), "r");
    std::array<char, 4096> buf{};
    std::size_t n;
    while ((n = std::fread(buf.data(), 1, buf.size(), pipe)) > 0)
        r.out.append(buf.data(), n);
    int raw = ::pclose(pipe);
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.err = parvex::test::read_bytes(err_file);
    fs::remove(err_file);
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
    dir.write("src/b.pas", "x := 1;\n"); // one line: the damage to line 2 misses it
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
}

TEST(CliFilter, StandardInputGivesWhatStdoutGives) {
    TempDir dir;
    auto file = dir.write("a.pas", kUnit);
    const std::pair<const char*, const char*> cases[] = {
        {"", "end; { of p }"}, {"--case upper", "END; { of p }"}, {"--no-remarks", "end;\r"}};
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

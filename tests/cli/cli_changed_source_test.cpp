// A source edited while parvex-list lists it keeps the edit: the save finds the source changed
// and writes nothing. The test build's hook runs a command between a source's reading and its
// save, where a user's editor would strike.
#include "cli_run.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;
using namespace parvex::test;

namespace {

const std::string kUnit = "procedure Tell;\nbegin\n  writeln('hello');\nend;\n";

std::string q(const fs::path& p) {
    return shell_quote(p.string());
}

// Runs the test build of parvex-list with `hook` run before every save.
CliOutcome run_hooked(const TempDir& dir, const std::string& hook, const std::string& args) {
    return run_shell(dir, "PARVEX_TEST_BEFORE_SAVE=" + shell_quote(hook) + " " +
                              std::string(PARVEX_LIST_TEST_EXE) + " " + args);
}

std::vector<std::string> names_in(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(CliChangedSource, AnEditWhileListedIsKeptAndNothingIsWritten) {
    // Each edit as users make them: appended by a shell, saved by an editor that writes a new
    // file and renames it over the old one, and changed in place without a change of size with
    // the file's time set back (only letter case: the second reader alone would let it pass).
    struct Edit {
        const char* what;
        const char* command; // run in the source's folder
        std::string after;   // the source then holds this
    } edits[] = {
        {"appended", "echo '{ user edit }' >> big.pas", kUnit + "{ user edit }\n"},
        {"saved by rename",
         "printf 'procedure Tell;\\nbegin\\n  writeln(1);\\nend;\\n' > .big.swp && "
         "mv .big.swp big.pas",
         "procedure Tell;\nbegin\n  writeln(1);\nend;\n"},
        {"same size, time set back",
         "cp -p big.pas ref && printf 'PROCEDURE' | dd of=big.pas conv=notrunc 2>/dev/null && "
         "touch -r ref big.pas && rm ref",
         "PROCEDURE Tell;\nbegin\n  writeln('hello');\nend;\n"},
    };
    for (const Edit& e : edits) {
        SCOPED_TRACE(e.what);
        TempDir dir;
        const fs::path big = dir.write("d/big.pas", kUnit);
        const std::string hook = "cd " + q(dir.path() / "d") + " && " + e.command;
        CliOutcome r = run_hooked(dir, hook, personal_option(dir) + " --case upper " + q(big));
        EXPECT_EQ(r.status, 2) << r.err;
        EXPECT_EQ(r.err, "parvex-list: " + big.string() + " changed while listed, not saved\n");
        EXPECT_EQ(read_bytes(big), e.after);
        // No backup, no list, no temporary file: the folder holds the edited source alone.
        EXPECT_EQ(names_in(dir.path() / "d"), std::vector<std::string>{"big.pas"});
    }
}

TEST(CliChangedSource, TheOtherFilesOfTheBatchAreSaved) {
    TempDir dir;
    const fs::path a = dir.write("d/a.pas", kUnit);
    const fs::path b = dir.write("d/b.pas", kUnit);
    // Every save appends to b.pas: before a's save (b is then read with that line), and again
    // before b's own.
    const std::string hook = "echo '{ edit }' >> " + q(b);
    CliOutcome r =
        run_hooked(dir, hook, personal_option(dir) + " -j 1 --case upper " + q(dir.path() / "d"));
    EXPECT_EQ(r.status, 2) << r.err;
    EXPECT_NE(r.err.find("listed " + a.string() + " -> "), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(b.string() + " changed while listed, not saved"), std::string::npos)
        << r.err;
    EXPECT_EQ(read_bytes(dir.path() / "d/a.pas-SAVED"), kUnit);
    EXPECT_EQ(read_bytes(b), kUnit + "{ edit }\n{ edit }\n");
    EXPECT_FALSE(fs::exists(dir.path() / "d/b.pas-SAVED"));
    EXPECT_FALSE(fs::exists(dir.path() / "d/b.Token-Cross-Ref"));
}

TEST(CliChangedSource, ResultsInAnotherFolderAreNotWrittenForAChangedSourceEither) {
    TempDir dir;
    const fs::path src = dir.write("src/u.pas", kUnit);
    CliOutcome r = run_hooked(dir, "echo '{ x }' >> " + q(src),
                              personal_option(dir) + " --out " + q(dir.path() / "out") + " " +
                                  q(dir.path() / "src"));
    EXPECT_EQ(r.status, 2) << r.err;
    EXPECT_NE(r.err.find("changed while listed, not saved"), std::string::npos) << r.err;
    EXPECT_TRUE(!fs::exists(dir.path() / "out") || fs::is_empty(dir.path() / "out"));
}

TEST(CliChangedSource, TheShippedProgramHasNoHook) {
    TempDir dir;
    const fs::path src = dir.write("u.pas", kUnit);
    CliOutcome r = run_shell(dir, "PARVEX_TEST_BEFORE_SAVE='echo x >> " + src.string() + "' " +
                                      std::string(PARVEX_LIST_EXE) + " " + personal_option(dir) +
                                      " " + q(src));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(read_bytes(dir.path() / "u.pas-SAVED"), kUnit);
}

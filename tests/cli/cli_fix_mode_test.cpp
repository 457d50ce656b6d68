// Writing only what was asked for: --check writes nothing, --text-only the new text alone,
// --no-backup no backup; and the hooks of .pre-commit-hooks.yaml run as pre-commit runs them.
#include "cli_run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

namespace fs = std::filesystem;
using namespace parvex::test;

namespace {

const std::string kText = "procedure p;\nbegin\nend;\n";
const std::string kUpper = "PROCEDURE P;\nBEGIN\nEND; { of P }\n";

std::string q(const fs::path& p) {
    return shell_quote(p.string());
}

std::map<std::string, std::string> tree_of(const fs::path& root) {
    std::map<std::string, std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(root))
        if (e.is_regular_file())
            files[fs::relative(e.path(), root).string()] = read_bytes(e.path());
    return files;
}

} // namespace

TEST(CliFixMode, CheckWritesNothing) {
    TempDir dir;
    dir.write("d/a.pas", kText);
    dir.write("d/sub/b.inc", "x := 1;\n");
    dir.write("personal.dat", "");
    const auto before = tree_of(dir.path());
    for (const char* options : {"--check", "--check --case upper", "--check -j 1 --no-backup"}) {
        CliOutcome r =
            run_cli(dir, "--personal personal.dat " + std::string(options) + " d", dir.dir());
        EXPECT_EQ(r.status, 0) << options << r.err;
        EXPECT_EQ(r.out, "") << options;
        EXPECT_TRUE(tree_of(dir.path()) == before) << options;
    }
    CliOutcome out = run_cli(dir, "--personal personal.dat --check --out o d", dir.dir());
    EXPECT_EQ(out.status, 2);
    EXPECT_FALSE(fs::exists(dir.path() / "o"));
}

TEST(CliFixMode, TextOnlyAndNoBackupWriteJustTheNewText) {
    struct Case {
        std::string options;
        std::map<std::string, std::string> after; // the folder afterwards
    } cases[] = {
        {"--text-only",
         {{"a.pas", kUpper}, {"a.pas-SAVED", kText}, {"a.Token-Cross-Ref", "an earlier list\n"}}},
        {"--text-only --no-backup",
         {{"a.pas", kUpper}, {"a.Token-Cross-Ref", "an earlier list\n"}}},
    };
    for (const Case& c : cases) {
        TempDir dir;
        dir.write("d/a.pas", kText);
        dir.write("d/a.Token-Cross-Ref", "an earlier list\n"); // left as it is
        CliOutcome r = run_cli(dir, personal_option(dir) + " --case upper " + c.options + " " +
                                        q(dir.path() / "d"));
        EXPECT_EQ(r.status, 0) << c.options << r.err;
        EXPECT_TRUE(tree_of(dir.path() / "d") == c.after) << c.options;
    }
    // Without --text-only, --no-backup still writes the lists.
    TempDir dir;
    dir.write("a.pas", kText);
    CliOutcome r =
        run_cli(dir, personal_option(dir) + " --case upper --no-backup " + q(dir.path() / "a.pas"));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_FALSE(fs::exists(dir.path() / "a.pas-SAVED"));
    EXPECT_TRUE(fs::exists(dir.path() / "a.Token-Cross-Ref"));
}

TEST(CliFixMode, TheHooksForPreCommitCheckAndFixAsTheySay) {
    // Each hook's entry, run as the framework runs it: the entry, then the staged file names.
    std::ifstream yaml(std::string(PARVEX_SOURCE_DIR) + "/.pre-commit-hooks.yaml");
    ASSERT_TRUE(yaml);
    std::map<std::string, std::string> entries;
    std::string line, id;
    while (std::getline(yaml, line)) {
        if (line.starts_with("- id: "))
            id = line.substr(6);
        else if (line.starts_with("  entry: "))
            entries[id] = line.substr(9);
    }
    ASSERT_EQ(entries.count("parvex"), 1u);
    ASSERT_EQ(entries.count("parvex-fix"), 1u);
    auto run_hook = [](const TempDir& dir, const std::string& entry, const std::string& files) {
        std::string command = entry;
        command.replace(0, std::string("parvex-list").size(), PARVEX_LIST_EXE);
        return run_shell(dir, "cd " + q(dir.path()) + " && " + command +
                                  " --personal personal.dat --case upper " + files);
    };
    TempDir dir;
    dir.write("personal.dat", "");
    dir.write("src/a.pas", kText);
    dir.write("src/b.pas", kUpper);
    const auto before = tree_of(dir.path());
    CliOutcome check = run_hook(dir, entries["parvex"], "src/a.pas src/b.pas");
    EXPECT_EQ(check.status, 1);
    EXPECT_NE(check.out.find("--- a/src/a.pas\n+++ b/src/a.pas\n"), std::string::npos);
    EXPECT_TRUE(tree_of(dir.path()) == before);
    CliOutcome fix = run_hook(dir, entries["parvex-fix"], "src/a.pas src/b.pas");
    EXPECT_EQ(fix.status, 0) << fix.err;
    auto after = before;
    after["src/a.pas"] = kUpper;
    EXPECT_TRUE(tree_of(dir.path()) == after) << "the new text and nothing else";
    EXPECT_EQ(run_hook(dir, entries["parvex"], "src/a.pas src/b.pas").status, 0);
}

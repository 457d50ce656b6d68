// parvex-list --html from outside: the site of a folder, bad sources skipped with the rest
// written, and every target that would take sources with it refused.
#include "cli_run.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace parvex::test;
namespace fs = std::filesystem;

namespace {

std::string q(const fs::path& p) {
    return shell_quote(p.string());
}

} // namespace

TEST(CliSite, WritesASiteAndSkipsWhatCannotBeRead) {
    TempDir dir;
    dir.write("proj/a.pas", "unit A;\ninterface\nimplementation\nend.\n");
    dir.write("proj/sub/b.pas", std::string("unit B;\0binary", 14));
    dir.write("proj/sub/c.inc", "const C = 1;\n");
    const CliOutcome r = run_cli(dir, personal_option(dir) + " --quiet --html " +
                                          q(dir.path() / "site") + " " + q(dir.path() / "proj"));
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "parvex-list: " + (dir.path() / "proj/sub/b.pas").string() +
                         ": binary or UTF-16 file, not listed\n");
    EXPECT_TRUE(fs::exists(dir.path() / "site/index.html"));
    EXPECT_TRUE(fs::exists(dir.path() / "site/s/a.pas.html"));
    EXPECT_TRUE(fs::exists(dir.path() / "site/s/sub/c.inc.html"));
    EXPECT_FALSE(fs::exists(dir.path() / "site/s/sub/b.pas.html"));
    EXPECT_NE(read_bytes(dir.path() / "site/index.html").find("Files skipped"), std::string::npos);
    // The sources stay as they were, with nothing beside them.
    EXPECT_EQ(read_bytes(dir.path() / "proj/a.pas"), "unit A;\ninterface\nimplementation\nend.\n");
    EXPECT_FALSE(fs::exists(dir.path() / "proj/a.pas-SAVED"));
}

TEST(CliSite, RefusesATargetThatWouldTakeSourcesWithIt) {
    TempDir dir;
    dir.write("proj/a.pas", "unit A;\nend.\n");
    dir.write("proj/deep/b.pas", "unit B;\nend.\n");
    dir.write("mine/notes.txt", "keep");
    struct {
        std::string target, inputs, says;
    } cases[] = {
        {"proj", "proj", "is the input folder"},
        {"proj/site", "proj", "lies inside the input folder"},
        {".", "proj", "holds the input folder"},
        {"proj", "proj/deep/b.pas", "holds"},
        {"proj/deep", "proj/deep/b.pas", "is the folder of"},
        {"mine", "proj", "no site of parvex-list"},
    };
    for (const auto& c : cases) {
        const CliOutcome r =
            run_cli(dir, personal_option(dir) + " --quiet --html " + c.target + " " + c.inputs,
                    dir.path().string());
        EXPECT_EQ(r.status, 2) << c.target << " " << c.inputs;
        EXPECT_NE(r.err.find("--html " + c.target), std::string::npos) << r.err;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
    }
    EXPECT_EQ(read_bytes(dir.path() / "proj/deep/b.pas"), "unit B;\nend.\n");
    EXPECT_EQ(read_bytes(dir.path() / "mine/notes.txt"), "keep");
    EXPECT_FALSE(fs::exists(dir.path() / "proj/site"));
    for (const auto& e : fs::directory_iterator(dir.path()))
        EXPECT_EQ(e.path().filename().string().find(".parvex-site"), std::string::npos);
}

TEST(CliSite, GoesWithNoOtherOutput) {
    TempDir dir;
    dir.write("a.pas", "unit A;\nend.\n");
    for (const char* other : {"--out o", "--stdout", "--diff", "--check", "--spellings"}) {
        const CliOutcome r = run_cli(dir, std::string("--html s ") + other + " a.pas", dir.dir());
        EXPECT_EQ(r.status, 2) << other;
        EXPECT_NE(r.err.find("--html goes with no other output"), std::string::npos) << r.err;
    }
    const CliOutcome r = run_cli(dir, "--html s -", dir.dir());
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("standard input"), std::string::npos) << r.err;
}

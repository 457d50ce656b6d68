// Whose the results are and what may be rewritten: a read-only source is left alone unless
// forced, and a rewritten source keeps its owner and group where the system allows it.
#include "cli_run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace fs = std::filesystem;
using namespace parvex::test;

namespace {

const std::string kText = "procedure p;\nbegin\nend;\n";

std::string q(const fs::path& p) {
    return shell_quote(p.string());
}

struct stat stat_of(const fs::path& p) {
    struct stat st {};
    EXPECT_EQ(::stat(p.c_str(), &st), 0) << p;
    return st;
}

} // namespace

TEST(CliOwners, AReadOnlySourceIsNotListedInPlaceUnlessForced) {
    TempDir dir;
    const fs::path ro = dir.write("d/ro.pas", kText);
    const fs::path rw = dir.write("d/rw.pas", kText);
    fs::permissions(ro, fs::perms(0444));
    const std::string d = q(dir.path() / "d");
    CliOutcome r = run_cli(dir, personal_option(dir) + " --case upper " + d);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("parvex-list: " + ro.string() + ": read-only, not listed\n"),
              std::string::npos)
        << r.err;
    EXPECT_EQ(read_bytes(ro), kText);
    EXPECT_FALSE(fs::exists(dir.path() / "d/ro.pas-SAVED"));
    EXPECT_FALSE(fs::exists(dir.path() / "d/ro.Token-Cross-Ref"));
    EXPECT_EQ(read_bytes(dir.path() / "d/rw.pas-SAVED"), kText);

    // Where the source is not touched it is listed as any other.
    EXPECT_EQ(run_cli(dir, personal_option(dir) + " --case upper --diff " + q(ro)).status, 1);
    CliOutcome out = run_cli(dir, personal_option(dir) + " --case upper --out " +
                                      q(dir.path() / "out") + " " + q(ro));
    EXPECT_EQ(out.status, 0) << out.err;
    EXPECT_TRUE(fs::exists(dir.path() / "out/ro.pas"));

    // Forced, it is listed and stays read-only.
    CliOutcome forced = run_cli(dir, personal_option(dir) + " --force --case upper " + q(ro));
    EXPECT_EQ(forced.status, 0) << forced.err;
    EXPECT_EQ(read_bytes(dir.path() / "d/ro.pas-SAVED"), kText);
    EXPECT_EQ(stat_of(ro).st_mode & 0777, 0444u);
}

TEST(CliOwners, ARewrittenSourceKeepsItsOwnerOrSaysWhyNot) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root and a second user (nobody, 65534)";
    TempDir dir;
    fs::permissions(dir.path(), fs::perms(0755));
    // Root rewrites a file of nobody's: the new text and its lists stay nobody's.
    const fs::path theirs = dir.write("d/theirs.pas", kText);
    ASSERT_EQ(::chown(theirs.c_str(), 65534, 65534), 0);
    CliOutcome r = run_cli(dir, personal_option(dir) + " --case upper " + q(theirs));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err.find("warning"), std::string::npos) << r.err;
    for (const char* name : {"d/theirs.pas", "d/theirs.pas-SAVED", "d/theirs.Token-Cross-Ref",
                             "d/theirs.Alpha-Constants"}) {
        const struct stat st = stat_of(dir.path() / name);
        EXPECT_EQ(st.st_uid, 65534u) << name;
        EXPECT_EQ(st.st_gid, 65534u) << name;
    }

    // Nobody rewrites root's writable file in a folder open to all: nobody may not give it back
    // to root, and says so.
    fs::create_directory(dir.path() / "open");
    fs::permissions(dir.path() / "open", fs::perms(0777));
    const fs::path roots = dir.write("open/roots.pas", kText);
    fs::permissions(roots, fs::perms(0666));
    dir.write("open/personal.dat", "");
    CliOutcome as_nobody =
        run_cli(dir, "--personal personal.dat --case upper roots.pas", dir.dir() + "open", true);
    EXPECT_EQ(as_nobody.status, 0) << as_nobody.err;
    EXPECT_NE(as_nobody.err.find("parvex-list: roots.pas: warning: the owner root:root of the "
                                 "old text could not be kept (Operation not permitted): the new "
                                 "text and its lists belong to nobody now\n"),
              std::string::npos)
        << as_nobody.err;
    EXPECT_EQ(stat_of(roots).st_uid, 65534u);
    EXPECT_EQ(stat_of(dir.path() / "open/roots.pas-SAVED").st_uid, 0u);

    // A root file that nobody may not write is read-only to nobody, though the folder is open.
    const fs::path locked = dir.write("open/locked.pas", kText);
    fs::permissions(locked, fs::perms(0644));
    CliOutcome skipped =
        run_cli(dir, "--personal personal.dat --case upper locked.pas", dir.dir() + "open", true);
    EXPECT_EQ(skipped.status, 2);
    EXPECT_EQ(skipped.err, "parvex-list: locked.pas: read-only, not listed\n");
    EXPECT_EQ(read_bytes(locked), kText);
}

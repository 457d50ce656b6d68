// parvex-list never loses a source: re-runs, duplicates, odd names and hostile input, run from
// outside on fixture folders.
#include "cli_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <sys/stat.h>

namespace fs = std::filesystem;
using namespace parvex::test;

namespace {

const std::string kUnit = "unit a;\ninterface\nprocedure p;\nimplementation\n"
                          "procedure p;\nbegin\n  writeln('x', 1);\nend;\nend.\n";

std::string q(const fs::path& p) {
    return shell_quote(p.string());
}

// Every file below `root` with its bytes, leaving out the test's own files.
std::map<std::string, std::string> tree_of(const fs::path& root) {
    std::map<std::string, std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(root)) {
        const std::string name = e.path().filename().string();
        if (e.is_regular_file() && name != "personal.dat" && name != ".stderr")
            files[fs::relative(e.path(), root).string()] = read_bytes(e.path());
    }
    return files;
}

std::size_t count_of(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

int mode_of(const fs::path& p) {
    struct stat st {};
    EXPECT_EQ(::stat(p.c_str(), &st), 0) << p;
    return static_cast<int>(st.st_mode & 07777);
}

} // namespace

TEST(CliSafeSave, ReRunsAndDuplicatesKeepTheOriginal) {
    TempDir dir;
    dir.write("d/a.pas", kUnit);
    fs::create_symlink("a.pas", dir.path() / "link.pas"); // outside the walked folder
    fs::rename(dir.path() / "link.pas", dir.path() / "d/link.pas");
    const std::string d = q(dir.path() / "d");
    const std::string a = dir.dir() + "d/a.pas";
    // One call that names the file four ways lists it once (the walk skips the link itself).
    CliOutcome first =
        run_cli(dir, personal_option(dir) + " " + d + " " + d + " " + q(dir.dir() + "d/./a.pas") +
                         " " + q(dir.dir() + "d/../d/link.pas"));
    EXPECT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(count_of(first.err, "listed "), 1u) << first.err;
    EXPECT_EQ(dir.read("d/a.pas-SAVED"), kUnit);
    const std::string listed = dir.read("d/a.pas");
    EXPECT_NE(listed, kUnit);

    // Re-runs over the listed file (an interrupted batch run again, a second call) leave the
    // text, its time and its backup alone; the lists are written again.
    const auto old_time = fs::last_write_time(a) - std::chrono::hours(1);
    fs::last_write_time(a, old_time);
    fs::remove(dir.path() / "d/a.Token-Cross-Ref");
    for (const std::string& args : {d, q(a), q(dir.dir() + "d/link.pas")}) {
        CliOutcome again = run_cli(dir, personal_option(dir) + " " + args);
        EXPECT_EQ(again.status, 0) << again.err;
        EXPECT_NE(again.err.find("(text unchanged)"), std::string::npos) << again.err;
        EXPECT_EQ(dir.read("d/a.pas-SAVED"), kUnit) << args;
        EXPECT_EQ(dir.read("d/a.pas"), listed);
        EXPECT_EQ(fs::last_write_time(a), old_time);
    }
    EXPECT_TRUE(fs::exists(dir.path() / "d/a.Token-Cross-Ref"));
}

TEST(CliSafeSave, ReRunsWithACaseOptionKeepTheOriginal) {
    // The END remarks name the routine in the output case, so a second call (with its own,
    // fresh token index) finds nothing to change.
    for (const char* option :
         {"--case upper", "--case lower", "--case capitalize", "--case first"}) {
        TempDir dir;
        const std::string original = "procedure Foo;\nbegin\nend;\nfunction Bar: Integer;\n"
                                     "begin\n  Bar := Foo;\nend;\n";
        dir.write("a.pas", original);
        const std::string args =
            personal_option(dir) + " " + option + " " + q(dir.path() / "a.pas");
        CliOutcome first = run_cli(dir, args);
        ASSERT_EQ(first.status, 0) << first.err;
        const std::string listed = dir.read("a.pas");
        CliOutcome second = run_cli(dir, args);
        EXPECT_EQ(second.status, 0) << second.err;
        EXPECT_EQ(dir.read("a.pas"), listed) << option;
        EXPECT_EQ(dir.read("a.pas-SAVED"), original) << option;
    }
}

TEST(CliSafeSave, TwoProcessesOverOneFolderKeepEveryOriginal) {
    TempDir dir;
    std::map<std::string, std::string> originals;
    for (int i = 0; i < 40; ++i) {
        const std::string name = "f" + std::to_string(i) + ".pas";
        originals[name] = "procedure P" + std::to_string(i) +
                          ";\nbegin\n  x := " + std::to_string(i) + ";\nend;\n";
        dir.write("d/" + name, originals[name]);
    }
    // A second listing of a listed file gives the same text, so whichever process comes second
    // leaves the first one's backup alone.
    const std::string one = std::string(PARVEX_LIST_EXE) + " --quiet " + personal_option(dir) +
                            " " + q(dir.path() / "d");
    ASSERT_EQ(std::system(("(" + one + " & " + one + " & wait) 2>/dev/null").c_str()), 0);
    for (const auto& [name, text] : originals)
        EXPECT_EQ(dir.read("d/" + name + "-SAVED"), text) << name;
}

TEST(CliSafeSave, ASourceWithoutExtensionKeepsItsOwnName) {
    TempDir dir;
    dir.write("d/u", "begin end.\n");
    dir.write("d/u.pas", "unit u; { unrelated }\n");
    dir.write("d/u.pas-SAVED", "the unit's backup\n");
    CliOutcome r = run_cli(dir, personal_option(dir) + " --case upper " + q(dir.path() / "d/u"));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(dir.read("d/u"), "BEGIN END.\n");
    EXPECT_EQ(dir.read("d/u-SAVED"), "begin end.\n");
    EXPECT_TRUE(fs::exists(dir.path() / "d/u-Alpha-Constants"));
    EXPECT_EQ(dir.read("d/u.pas"), "unit u; { unrelated }\n");
    EXPECT_EQ(dir.read("d/u.pas-SAVED"), "the unit's backup\n");
}

TEST(CliSafeSave, AnOutFolderAmongTheSourcesIsRefused) {
    struct Case {
        std::string out, input, said;
    } cases[] = {
        {"src", "src", "is the input folder"},
        {"src/sub/out", "src", "lies inside the input folder"},
        {"src", "src/sub", "holds the input folder"},
        {"src/sub", "src/sub/y.pas", "is the folder of"},
        {"src/./sub/..", "src/", "is the input folder"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        dir.write("src/x.pas", "x;\n");
        dir.write("src/sub/x.pas", "sub x;\n");
        dir.write("src/sub/y.pas", "y;\n");
        const auto before = tree_of(dir.path());
        CliOutcome r = run_cli(dir, personal_option(dir) + " --out " + q(dir.path() / c.out) + " " +
                                        q(dir.path() / c.input));
        EXPECT_EQ(r.status, 2) << c.out << " " << c.input;
        EXPECT_NE(r.err.find(c.said), std::string::npos) << r.err;
        EXPECT_EQ(tree_of(dir.path()), before) << c.out << " " << c.input;
        EXPECT_FALSE(fs::exists(dir.path() / "src/sub/out"));
    }
}

TEST(CliSafeSave, TwoInputsWithOneOutputNameListTheSecondNowhere) {
    TempDir dir;
    dir.write("a/x.pas", "first;\n");
    dir.write("b/x.pas", "second;\n");
    dir.write("c/y.pas", "third;\n");
    CliOutcome r = run_cli(dir, personal_option(dir) + " --quiet --out " + q(dir.path() / "O") +
                                    " " + q(dir.path() / "a/x.pas") + " " + q(dir.path() / "b") +
                                    " " + q(dir.path() / "c"));
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "parvex-list: " + dir.dir() + "b/x.pas: not listed: its result \"" +
                         dir.dir() + "O/x.pas\" would replace that of " + dir.dir() + "a/x.pas\n");
    EXPECT_EQ(dir.read("O/x.pas"), "first;\n");
    EXPECT_EQ(dir.read("O/y.pas"), "third;\n");
    EXPECT_FALSE(fs::exists(dir.path() / "O/x.pas-SAVED"));
}

TEST(CliSafeSave, BinaryAndUtf16SourcesAreNotListed) {
    TempDir dir;
    const std::string utf16("\xFF\xFEu\0n\0i\0t\0 \0p\0;\0\r\0\n\0", 20);
    const std::string nul("begin\0end.\n", 11);
    dir.write("d/p.pas", utf16);
    dir.write("d/q.pas", nul);
    dir.write("d/r.pas", "\xEF\xBB\xBFunit r;\n");
    CliOutcome r =
        run_cli(dir, personal_option(dir) + " --quiet --case upper " + q(dir.path() / "d"));
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "parvex-list: " + dir.dir() + "d/p.pas: binary or UTF-16 file, not listed\n" +
                         "parvex-list: " + dir.dir() +
                         "d/q.pas: binary or UTF-16 file, not listed\n");
    EXPECT_EQ(dir.read("d/p.pas"), utf16);
    EXPECT_EQ(dir.read("d/q.pas"), nul);
    EXPECT_FALSE(fs::exists(dir.path() / "d/p.pas-SAVED"));
    EXPECT_FALSE(fs::exists(dir.path() / "d/p.Token-Cross-Ref"));
    EXPECT_EQ(dir.read("d/r.pas"), "\xEF\xBB\xBFUNIT R;\n"); // the mark is kept as it is
}

TEST(CliSafeSave, WalksFollowNoLinksAndResultsKeepTheSourcesPermissions) {
    TempDir dir;
    auto secret = dir.write("private/secret.pas", "password := 'hunter2';\n");
    fs::permissions(secret, fs::perms::owner_read | fs::perms::owner_write);
    dir.write("pub/a.pas", "x;\n");
    fs::create_symlink(secret, dir.path() / "pub/planted.pas");
    fs::create_symlink(dir.path() / "private", dir.path() / "pub/folder");
    CliOutcome r = run_cli(dir, personal_option(dir) + " " + q(dir.path() / "pub"));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(fs::exists(dir.path() / "pub/a.Token-Cross-Ref"));
    EXPECT_FALSE(fs::exists(dir.path() / "pub/planted.Alpha-Constants"));
    EXPECT_FALSE(fs::exists(dir.path() / "pub/folder/secret.Alpha-Constants"));
    EXPECT_FALSE(fs::exists(dir.path() / "private/secret.pas-SAVED"));
    // Named on the command line, a link is followed; the results are as private as the source.
    r = run_cli(dir, personal_option(dir) + " " + q(dir.path() / "pub/planted.pas"));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(mode_of(dir.path() / "pub/planted.Alpha-Constants"), 0600);
    EXPECT_EQ(mode_of(dir.path() / "pub/planted.Token-Cross-Ref"), 0600);
    EXPECT_EQ(mode_of(dir.path() / "pub/planted.pas"), 0600);
}

TEST(CliSafeSave, ABareFileNameWorksFromInsideTheFolder) {
    TempDir dir;
    dir.write("d/a.pas", "x;\n");
    CliOutcome r = run_cli(dir, personal_option(dir) + " --case upper a.pas", dir.dir() + "d");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(dir.read("d/a.pas"), "X;\n");
    EXPECT_EQ(dir.read("d/a.pas-SAVED"), "x;\n");
}

TEST(CliSafeSave, AnUnreadableFolderIsReported) {
    TempDir dir;
    fs::create_directories(dir.path() / "top/sub");
    dir.write("locked/a.pas", "x;\n");
    fs::permissions(dir.path() / "top/sub", fs::perms::none);
    fs::permissions(dir.path() / "locked", fs::perms::none);
    CliOutcome r = run_cli(
        dir, personal_option(dir) + " " + q(dir.path() / "top") + " " + q(dir.path() / "locked"),
        "", true);
    fs::permissions(dir.path() / "top/sub", fs::perms::owner_all);
    fs::permissions(dir.path() / "locked", fs::perms::owner_all);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "parvex-list: " + dir.dir() +
                         "top/sub: folder cannot be read: Permission denied\n" + "parvex-list: " +
                         dir.dir() + "locked: folder cannot be read: Permission denied\n");
    EXPECT_EQ(dir.read("locked/a.pas"), "x;\n");
}

TEST(CliSafeSave, SaysWhatAPathIsThatIsNoFile) {
    TempDir dir;
    ASSERT_EQ(::mkfifo((dir.path() / "pipe.pas").c_str(), 0600), 0);
    fs::create_symlink(dir.path() / "loop.pas", dir.path() / "loop.pas");
    fs::create_directory(dir.path() / "folder");
    struct Case {
        std::string args, said;
    } cases[] = {
        {q(dir.path() / "pipe.pas"), dir.dir() + "pipe.pas: is a named pipe (FIFO), not a file"},
        {q(dir.path() / "loop.pas"),
         dir.dir() + "loop.pas: is a symbolic link that leads in a loop"},
        {"/dev/null", "/dev/null: is a device, not a file"},
        {"--personal " + q(dir.path() / "folder") + " x.pas",
         dir.dir() + "folder: is a folder, not a file"},
        {"--tokens /dev/null x.pas", "/dev/null: is a device, not a file"},
    };
    for (const auto& c : cases) {
        const std::string args =
            c.args.starts_with("--personal") ? c.args : personal_option(dir) + " " + c.args;
        CliOutcome r = run_cli(dir, args);
        EXPECT_EQ(r.status, 2) << c.args;
        EXPECT_EQ(r.err, "parvex-list: " + c.said + "\n") << c.args;
    }
}

TEST(CliSafeSave, AnOptionValueThatStartsWithADashIsRefused) {
    TempDir dir;
    dir.write("x.pas", "x;\n");
    for (const char* args : {"--out --quiet x.pas", "--break -3 x.pas", "--personal --stdout x.pas",
                             "--case -h x.pas"}) {
        CliOutcome r = run_cli(dir, args, dir.dir());
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_NE(r.err.find("a value that starts with '-' is given as"), std::string::npos)
            << r.err;
    }
    EXPECT_FALSE(fs::exists(dir.path() / "--quiet"));
    EXPECT_EQ(dir.read("x.pas"), "x;\n");
    CliOutcome r =
        run_cli(dir, personal_option(dir) + " --quiet --out=-x --break=-3 x.pas", dir.dir());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(dir.read("-x/x.pas"), "x;\n");
}

TEST(CliSafeSave, ABackupNameThatIsAFolderIsNamed) {
    TempDir dir;
    dir.write("x.pas", "x;\n");
    fs::create_directory(dir.path() / "x.pas-SAVED");
    CliOutcome r = run_cli(dir, personal_option(dir) + " " + q(dir.path() / "x.pas"));
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "parvex-list: " + dir.dir() +
                         "x.pas: Nothing was saved: the saved original would go to \"" + dir.dir() +
                         "x.pas-SAVED\", which is a folder.\n");
    EXPECT_EQ(dir.read("x.pas"), "x;\n");
}

TEST(CliSafeSave, StaleTemporaryFilesAreRemovedWhereResultsAreWritten) {
    TempDir dir;
    dir.write("d/a.pas", "x;\n");
    // Left by a run killed a moment ago: no lock held, so gone at once, whatever its time.
    auto stale = dir.write("d/.parvex-q1W2e3r4T5y6.tmp", "");
    auto elsewhere = dir.write("e/.parvex-q1W2e3r4T5y6.tmp", "not a folder this run writes to");
    auto users = dir.write("d/.parvex-notes1", "a user's notes");
    fs::last_write_time(users, fs::file_time_type::clock::now() - std::chrono::hours(1));
    CliOutcome r = run_cli(dir, personal_option(dir) + " " + q(dir.path() / "d"));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(elsewhere));
    EXPECT_TRUE(fs::exists(users));
}

TEST(CliSafeSave, TheSpellingFileNeverReplacesASourceOrWhatASaveKeeps) {
    TempDir dir;
    const std::string text = "x := result;\nResult := Result;\n";
    dir.write("d/b.pas", text);
    dir.write("d/b.pas-SAVED", "the only original\n");
    dir.write("d/b.Token-Cross-Ref", "a list\n");
    fs::create_symlink("b.pas", dir.path() / "d/link.dat");
    fs::create_hard_link(dir.path() / "d/b.pas", dir.path() / "d/hard.dat");
    const std::string b = dir.dir() + "d/b.pas";
    struct Target {
        std::string name, why;
    } targets[] = {
        {b, "is the source " + b},
        {dir.dir() + "d/./b.pas", "is the source " + b},
        {dir.dir() + "d/link.dat", "is the source " + b},
        {dir.dir() + "d/hard.dat", "is the source " + b},
        {dir.dir() + "d/b.pas-SAVED", "is a saved original of " + b},
        {dir.dir() + "d/b.pas-SAVED.~3~", "is a saved original of " + b},
        {dir.dir() + "d/b.Token-Cross-Ref", "is a result file of " + b},
        {dir.dir() + "d/b.Alpha-Constants", "is a result file of " + b}, // not there yet
    };
    const auto before = tree_of(dir.path());
    for (const Target& t : targets) {
        for (const std::string& input : {q(b), q(dir.path() / "d")}) {
            CliOutcome r =
                run_cli(dir, personal_option(dir) + " --spellings-out " + q(t.name) + " " + input);
            EXPECT_EQ(r.status, 2) << t.name;
            EXPECT_EQ(r.err, "parvex-list: --spellings-out " + t.name + ": " + t.why +
                                 ": choose another file; nothing was written\n");
            EXPECT_TRUE(tree_of(dir.path()) == before) << t.name;
        }
    }

    // Elsewhere it is written, private as the most private of its sources.
    dir.write("d/c.pas", "y := Result;\n");
    fs::permissions(dir.path() / "d/b.pas", fs::perms(0600));
    fs::permissions(dir.path() / "d/c.pas", fs::perms(0644));
    CliOutcome r = run_cli(dir,
                           personal_option(dir) + " --spellings-out " + q(dir.path() / "team.dat") +
                               " " + q(dir.path() / "d/b.pas") + " " + q(dir.path() / "d/c.pas"),
                           dir.dir());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(dir.read("team.dat").find("\r\nResult\r\n"), std::string::npos);
    EXPECT_EQ(mode_of(dir.path() / "team.dat"), 0600);
    EXPECT_EQ(dir.read("d/b.pas"), text);
}

TEST(CliSafeSave, BackupOptionsKeepWhatTheySay) {
    const std::string original = "procedure p;\nbegin\nend;\n";
    const std::string upper = "PROCEDURE P;\nBEGIN\nEND; { of P }\n";
    // Two changing runs, as in "--case upper d" then "--case lower d".
    struct Case {
        std::string option;
        std::map<std::string, std::string> kept; // backups after both runs
    } cases[] = {
        {"", {{"a.pas-SAVED", upper}}},
        {"--backup=simple", {{"a.pas-SAVED", upper}}},
        {"--backup=numbered", {{"a.pas-SAVED.~1~", original}, {"a.pas-SAVED.~2~", upper}}},
        {"--backup=t", {{"a.pas-SAVED.~1~", original}, {"a.pas-SAVED.~2~", upper}}},
        {"--backup=existing", {{"a.pas-SAVED", upper}}},
        {"--backup", {{"a.pas-SAVED", upper}}},
        {"--backup=none", {}},
        {"--backup=off", {}},
        {"--no-backup", {}},
        {"--backup=numbered --no-backup", {}},
    };
    for (const Case& c : cases) {
        TempDir dir;
        dir.write("d/a.pas", original);
        for (const char* output_case : {"upper", "lower"}) {
            CliOutcome r = run_cli(dir, personal_option(dir) + " " + c.option + " --case " +
                                            output_case + " " + q(dir.path() / "d"));
            ASSERT_EQ(r.status, 0) << c.option << r.err;
        }
        std::map<std::string, std::string> kept;
        for (const auto& [name, bytes] : tree_of(dir.path() / "d"))
            if (name.find("SAVED") != std::string::npos)
                kept[name] = bytes;
        EXPECT_TRUE(kept == c.kept) << c.option;
        EXPECT_EQ(dir.read("d/a.pas"), "procedure p;\nbegin\nend; { of p }\n");
    }
    // An existing series goes on with --backup=existing.
    TempDir dir;
    dir.write("a.pas", original);
    dir.write("a.pas-SAVED.~4~", "older\n");
    CliOutcome r =
        run_cli(dir, personal_option(dir) + " --backup --case upper " + q(dir.path() / "a.pas"));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(dir.read("a.pas-SAVED.~5~"), original);
    EXPECT_FALSE(fs::exists(dir.path() / "a.pas-SAVED"));
    for (const char* bad : {"--backup=sometimes", "--backup=", "--no-backup=x"}) {
        CliOutcome refused = run_cli(dir, std::string(bad) + " " + q(dir.path() / "a.pas"));
        EXPECT_EQ(refused.status, 2) << bad;
        EXPECT_NE(refused.err.find("Try 'parvex-list --help'"), std::string::npos) << bad;
    }
}

TEST(CliSafeSave, ASecondNameOfTheSourceIsRefusedWithWhatToDoOnTheCommandLine) {
    // A hard link under the backup's or a list's name: saving would lose the source.
    struct Case {
        std::string link, mend;
    } cases[] = {
        {"a.pas-SAVED", "Remove that second name (rm \"DIR/a.pas-SAVED\"; the source keeps its "
                        "own), or keep numbered backups (--backup=numbered) or none "
                        "(--no-backup) instead."},
        {"a.Token-Cross-Ref", "Remove that second name (rm \"DIR/a.Token-Cross-Ref\"; the source "
                              "keeps its own), or leave the list out (--no-tokens, or "
                              "--text-only for no lists at all)."},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const fs::path a = dir.write("a.pas", "x;\n");
        fs::create_hard_link(a, dir.path() / c.link);
        CliOutcome r = run_cli(dir, personal_option(dir) + " --case upper " + q(a));
        EXPECT_EQ(r.status, 2) << c.link;
        std::string mend = c.mend;
        mend.replace(mend.find("DIR/"), 3, dir.path().string());
        EXPECT_NE(r.err.find(mend), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find("Setup / Files"), std::string::npos) << r.err;
        EXPECT_EQ(dir.read("a.pas"), "x;\n");
        // Done as it says, the save goes through.
        fs::remove(dir.path() / c.link);
        EXPECT_EQ(run_cli(dir, personal_option(dir) + " --case upper " + q(a)).status, 0);
        EXPECT_EQ(dir.read("a.pas-SAVED"), "x;\n");
    }
}

// Saves that never lose a source: result names, refused settings, unchanged texts, permissions,
// stale temporary files and what a source must be to be listed.
#include "engine/cross_reference.h"
#include "engine/listing_run.h"
#include "engine/result_names.h"
#include "platform/file_kind.h"
#include "platform/folder_lock.h"
#include "platform/source_text.h"

#include "temp_dir.h"

#include <atomic>
#include <gtest/gtest.h>
#include <memory>
#include <thread>

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace parvex;
using parvex::test::TempDir;
namespace fs = std::filesystem;

namespace {

SaveOptions with_extensions(const std::string& text, const std::string& saved) {
    SaveOptions o;
    o.extensions[0] = text;
    o.extensions[1] = saved;
    return o;
}

// Lists a file with the given options and saves its results into its own folder.
SaveResult list_and_save(const fs::path& src, const SaveOptions& save = {},
                         ListingOptions options = {}) {
    TokenTable tokens;
    ListingEngine engine(tokens);
    ListingLists lists;
    SourceText text = Load_Source_Text(src.string());
    EXPECT_EQ(text.status, SourceStatus::Read) << src;
    EXPECT_EQ(engine.List_Lines(std::move(text.lines), options, lists).status, RunStatus::Done);
    return Save_Results(src.string(), src.parent_path().string() + "/", save, lists, text.form);
}

std::vector<std::string> names_in(const TempDir& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir.path()))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

int permissions_of(const fs::path& p) {
    struct stat st {};
    EXPECT_EQ(::stat(p.c_str(), &st), 0) << p;
    return static_cast<int>(st.st_mode & 07777);
}

} // namespace

TEST(ResultNames, OneRuleForTheWindowAndTheCommandLine) {
    struct Case {
        std::string source;
        SaveOptions options;
        std::array<std::string, 7> names;
    } cases[] = {
        {"/s/Unit1.pas",
         {},
         {"Unit1.pas", "Unit1.pas-SAVED", "Unit1.Alpha-Constants", "Unit1.Numeric-Constats",
          "Unit1.Alpha-Cross-Ref", "Unit1.Numeric-Cross-Ref", "Unit1.Token-Cross-Ref"}},
        {"/s/Unit1.bak.pas",
         {},
         {"Unit1.bak.pas", "Unit1.bak.pas-SAVED", "Unit1.bak.Alpha-Constants",
          "Unit1.bak.Numeric-Constats", "Unit1.bak.Alpha-Cross-Ref", "Unit1.bak.Numeric-Cross-Ref",
          "Unit1.bak.Token-Cross-Ref"}},
        // Another extension keeps the whole name: no second source for one unit.
        {"/s/ctypes.pp",
         {},
         {"ctypes.pp", "ctypes.pp-SAVED", "ctypes.pp-Alpha-Constants", "ctypes.pp-Numeric-Constats",
          "ctypes.pp-Alpha-Cross-Ref", "ctypes.pp-Numeric-Cross-Ref", "ctypes.pp-Token-Cross-Ref"}},
        {"/s/X.PAS",
         {},
         {"X.PAS", "X.PAS-SAVED", "X.PAS-Alpha-Constants", "X.PAS-Numeric-Constats",
          "X.PAS-Alpha-Cross-Ref", "X.PAS-Numeric-Cross-Ref", "X.PAS-Token-Cross-Ref"}},
        // No extension: the source keeps its own name, an unrelated u.pas is not touched.
        {"/s/u",
         {},
         {"u", "u-SAVED", "u-Alpha-Constants", "u-Numeric-Constats", "u-Alpha-Cross-Ref",
          "u-Numeric-Cross-Ref", "u-Token-Cross-Ref"}},
        // A backup extension of the user's own hangs on the whole name as it is.
        {"/s/u.inc",
         with_extensions("pas", "bak"),
         {"u.inc", "u.inc-bak", "u.inc-Alpha-Constants", "u.inc-Numeric-Constats",
          "u.inc-Alpha-Cross-Ref", "u.inc-Numeric-Cross-Ref", "u.inc-Token-Cross-Ref"}},
        // A text extension the user chose is used as set, for every source.
        {"/s/ctypes.pp",
         with_extensions("txt", "txt-SAVED"),
         {"ctypes.txt", "ctypes.txt-SAVED", "ctypes.Alpha-Constants", "ctypes.Numeric-Constats",
          "ctypes.Alpha-Cross-Ref", "ctypes.Numeric-Cross-Ref", "ctypes.Token-Cross-Ref"}},
    };
    for (const auto& c : cases) {
        ResultNames names = Result_Names(c.source, "/out/", c.options);
        for (std::size_t k = 0; k < 7; ++k)
            EXPECT_EQ(names.files[k], "/out/" + c.names[k]) << c.source << " result " << k + 1;
    }
}

TEST(ResultNames, ExtensionsThatWouldLoseASourceAreRefused) {
    struct Case {
        std::size_t field;
        std::string value;
        int refused; // the field named, -1 none
    } cases[] = {
        {1, "pas", 1},       // text and backup of one name
        {1, "pp", 1},        // the backup would replace a source ctypes.pp
        {1, "bak", -1},      // fine
        {0, "txt", -1},      // fine: the backup still has its own extension
        {0, "pas-SAVED", 1}, // the text takes the backup's extension
        {2, "pas", 2},       // a list over the new text
        {5, "pas-SAVED", 5}, // a list over the backup
        {3, "inc", 3},       // a list over an include file
        {4, "", 4},          // "u." is no name for a list
        {6, "../up", 6},     // results stay in their folder
    };
    EXPECT_FALSE(Extensions_Problem({}));
    for (const auto& c : cases) {
        SaveOptions o;
        o.extensions[c.field] = c.value;
        ExtensionProblem p = Extensions_Problem(o);
        EXPECT_EQ(p.field, c.refused) << c.field << " = " << c.value;
        EXPECT_EQ(p.text.empty(), !p) << c.field;
    }
    SaveOptions pas_as_backup = with_extensions("txt", "pas");
    ExtensionProblem p = Extensions_Problem(pas_as_backup);
    EXPECT_EQ(p.field, 1);
    EXPECT_NE(p.text.find("\"Saved Original\""), std::string::npos) << p.text;
}

TEST(SafeSave, TextAndBackupOfOneNameAreRefusedAndNothingIsWritten) {
    // "Newly written PAS-File" = "Saved Original": the source would hold the new text and no
    // backup. New "txt" with saved "pas": the source itself would become the backup and vanish.
    for (SaveOptions o : {with_extensions("pas", "pas"), with_extensions("txt", "pas")}) {
        TempDir dir;
        auto src = dir.write("x.pas", "begin end.\n");
        SaveResult r = list_and_save(src, o, ListingOptions{.output_case = 0});
        EXPECT_FALSE(r.saved) << o.extensions[0] << "/" << o.extensions[1];
        ASSERT_FALSE(r.messages.empty());
        EXPECT_EQ(r.messages.back().kind, MessageKind::L_Error);
        EXPECT_NE(r.messages.back().text.find("\"Saved Original\""), std::string::npos)
            << r.messages.back().text;
        EXPECT_EQ(names_in(dir), std::vector<std::string>{"x.pas"});
        EXPECT_EQ(dir.read("x.pas"), "begin end.\n");
    }
}

TEST(SafeSave, NamesThatReachTheSourceAreRefusedWhateverTheSettings) {
    TempDir dir;
    auto src = dir.write("x.pas", "");
    ResultNames same;
    same.files.fill(dir.dir() + "x.lst");
    same.files[0] = dir.dir() + "x.pas";
    same.files[1] = dir.dir() + "./x.pas"; // the source under another spelling
    EXPECT_NE(Names_Problem(src.string(), same).find("\"Saved Original\""), std::string::npos);
    ResultNames fine = Result_Names(src.string(), dir.dir(), {});
    EXPECT_EQ(Names_Problem(src.string(), fine), "");
    EXPECT_TRUE(Same_File(src.string(), dir.dir() + "sub/../x.pas"));
    EXPECT_FALSE(Same_File(src.string(), dir.dir() + "x.pas-SAVED"));
}

TEST(SafeSave, ASourceOfAnotherExtensionKeepsItsName) {
    TempDir dir;
    auto pp = dir.write("ctypes.pp", "unit ctypes; end.\n");
    auto bare = dir.write("u", "begin end.\n");
    dir.write("u.pas", "unit u; { unrelated }\n");
    dir.write("u.pas-SAVED", "its backup\n");
    ASSERT_TRUE(list_and_save(pp, {}, ListingOptions{.output_case = 0}).saved);
    ASSERT_TRUE(list_and_save(bare, {}, ListingOptions{.output_case = 0}).saved);
    EXPECT_EQ(dir.read("ctypes.pp"), "UNIT CTYPES; END.\n");
    EXPECT_EQ(dir.read("ctypes.pp-SAVED"), "unit ctypes; end.\n");
    EXPECT_FALSE(fs::exists(dir.path() / "ctypes.pas"));
    EXPECT_EQ(dir.read("u"), "BEGIN END.\n");
    EXPECT_EQ(dir.read("u-SAVED"), "begin end.\n");
    EXPECT_TRUE(fs::exists(dir.path() / "u-Token-Cross-Ref"));
    EXPECT_EQ(dir.read("u.pas"), "unit u; { unrelated }\n");
    EXPECT_EQ(dir.read("u.pas-SAVED"), "its backup\n");
}

TEST(SafeSave, AnUnchangedTextIsNotRewrittenAndItsBackupStays) {
    TempDir dir;
    auto src = dir.write("a.pas", "procedure p;\nbegin\nend;\n");
    ASSERT_TRUE(list_and_save(src).saved);
    const std::string listed = dir.read("a.pas");
    ASSERT_EQ(listed, "procedure p;\nbegin\nend; { of p }\n");
    // Listing the listed file again gives the same text: the text keeps its time, the backup
    // keeps the original, the lists are written again.
    const auto old_time = fs::last_write_time(src) - std::chrono::hours(1);
    fs::last_write_time(src, old_time);
    fs::remove(dir.path() / "a.Token-Cross-Ref");
    SaveResult again = list_and_save(src);
    ASSERT_TRUE(again.saved);
    EXPECT_TRUE(again.text_unchanged);
    EXPECT_EQ(again.messages.back().text, "^C:^F:" + dir.dir() + "^Saved Files!\r\ntext unchanged");
    EXPECT_EQ(dir.read("a.pas-SAVED"), "procedure p;\nbegin\nend;\n");
    EXPECT_EQ(dir.read("a.pas"), listed);
    EXPECT_EQ(fs::last_write_time(src), old_time);
    EXPECT_EQ(dir.read("a.Token-Cross-Ref"),
              "begin\t#02\r\nend\t#03\r\np\t#01\r\nprocedure\t#01\r\n");
    // A run that changes the text still moves the old text aside.
    SaveResult upper = list_and_save(src, {}, ListingOptions{.output_case = 0});
    EXPECT_FALSE(upper.text_unchanged);
    EXPECT_EQ(dir.read("a.pas-SAVED"), listed);
}

TEST(SafeSave, ResultsTakeTheSourcesPermissionsWithoutSetId) {
    TempDir dir;
    auto src = dir.write("secret.pas", "x := 1;\n");
    ASSERT_EQ(::chmod(src.c_str(), 02640), 0);
    ASSERT_TRUE(list_and_save(src, {}, ListingOptions{.output_case = 0}).saved);
    for (const char* name : {"secret.pas", "secret.Alpha-Constants", "secret.Token-Cross-Ref",
                             "secret.Numeric-Cross-Ref"})
        EXPECT_EQ(permissions_of(dir.path() / name), 0640) << name;
    EXPECT_EQ(permissions_of(dir.path() / "secret.pas-SAVED"), 02640); // the original as it was
}

TEST(SafeSave, OnlyTheUnlockedTemporaryFilesOfThisProgramAreRemoved) {
    TempDir dir;
    auto src = dir.write("a.pas", "x;\n");
    const auto now = fs::file_time_type::clock::now();
    // A killed run's temporaries, made a moment ago or long ago: no clock decides.
    auto killed_now = dir.write(".parvex-Ab12Cd34Ef56.tmp", "");
    auto killed_old = dir.write(".parvex-Gh78Ij90Kl12.tmp", "half a text");
    fs::last_write_time(killed_old, now - std::chrono::hours(2));
    // A save under way elsewhere holds the lock of its temporary file.
    auto writing = dir.write(".parvex-Mn34Op56Qr78.tmp", "a save of another process");
    const int writer = ::open(writing.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(writer, LOCK_EX), 0);
    // Files of users: names a user chooses, and no regular file under our naming.
    std::vector<fs::path> users = {dir.write(".parvex-notes1", "notes"),
                                   dir.write(".parvex-Ab12Cd", "an old-style name"),
                                   dir.write(".parvex-notes.tmp", "notes")};
    for (const auto& f : users)
        fs::last_write_time(f, now - std::chrono::hours(2));
    fs::create_directory(dir.path() / ".parvex-Folder123456.tmp");
    fs::create_symlink("a.pas", dir.path() / ".parvex-Link12345678.tmp");
    ASSERT_TRUE(list_and_save(src).saved);
    EXPECT_FALSE(fs::exists(killed_now));
    EXPECT_FALSE(fs::exists(killed_old));
    EXPECT_TRUE(fs::exists(writing));
    for (const auto& f : users)
        EXPECT_TRUE(fs::exists(f)) << f;
    EXPECT_TRUE(fs::is_directory(dir.path() / ".parvex-Folder123456.tmp"));
    EXPECT_TRUE(fs::is_symlink(dir.path() / ".parvex-Link12345678.tmp"));
    ::close(writer);
}

TEST(SafeSave, TemporaryFilesOfAnotherUserAreLeftToThem) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to give a file to another user";
    TempDir dir;
    auto src = dir.write("a.pas", "x;\n");
    auto theirs = dir.write(".parvex-Ab12Cd34Ef56.tmp", "");
    ASSERT_EQ(::chown(theirs.c_str(), 65534, 65534), 0);
    ASSERT_TRUE(list_and_save(src).saved);
    EXPECT_TRUE(fs::exists(theirs));
}

TEST(SafeSave, TheFolderLockIsExclusiveUntilReleased) {
    TempDir dir;
    auto try_lock = [&] {
        int fd = ::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY);
        int rc = ::flock(fd, LOCK_EX | LOCK_NB);
        ::close(fd);
        return rc == 0;
    };
    {
        FolderLock lock(dir.dir());
        ASSERT_TRUE(lock.locked());
        EXPECT_FALSE(try_lock());
    }
    EXPECT_TRUE(try_lock());
    FolderLock missing(dir.dir() + "none/");
    EXPECT_FALSE(missing.locked());
}

TEST(SafeSave, StaleFilesGoWhenTheLockIsTakenNeverWhileThisProcessSaves) {
    TempDir dir;
    auto stale = dir.write(".parvex-Old111111111.tmp", "x");
    {
        FolderLock first(dir.dir());
        EXPECT_FALSE(fs::exists(stale)) << "the sweep comes with the lock";
        // A file another save of this process stages from now on is never swept.
        StagedFile own;
        ASSERT_TRUE(Stage_File(dir.dir() + "t", "x", own));
        FolderLock second(dir.dir());
        EXPECT_TRUE(fs::exists(own.path()));
        EXPECT_EQ(Remove_Stale_Temps(dir.dir() + "./"), 0); // even when looked at again
        EXPECT_TRUE(fs::exists(own.path()));
    }
}

TEST(SafeSave, ThreadsOfOneProcessShareTheFolderLockAndOthersWait) {
    TempDir dir;
    auto other_holds = [&] { // a lock taken the way another process takes it
        int fd = ::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY);
        return std::pair{fd, ::flock(fd, LOCK_EX | LOCK_NB) == 0};
    };
    {
        auto first = std::make_unique<FolderLock>(dir.dir());
        FolderLock second(dir.dir()); // does not wait for the first
        EXPECT_TRUE(first->locked() && second.locked());
        first.reset();
        auto [fd, got] = other_holds();
        EXPECT_FALSE(got) << "released while a save of this process still held it";
        ::close(fd);
    }
    // Another holder: every thread of this process waits, and all go on once it lets go.
    auto [fd, got] = other_holds();
    ASSERT_TRUE(got);
    std::atomic<int> inside{0};
    std::vector<std::thread> savers;
    for (int i = 0; i < 3; ++i)
        savers.emplace_back([&] {
            FolderLock lock(dir.dir());
            if (lock.locked())
                ++inside;
        });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(inside.load(), 0);
    ::close(fd);
    for (auto& t : savers)
        t.join();
    EXPECT_EQ(inside.load(), 3);
    auto [fd2, free_again] = other_holds();
    EXPECT_TRUE(free_again);
    ::close(fd2);
}

TEST(SourceText, BinaryAndUtf16AreRefusedAndAUtf8MarkIsKept) {
    struct Case {
        std::string bytes;
        SourceStatus status;
    } cases[] = {
        {std::string("u\0n\0i\0t\0\r\0\n\0", 12), SourceStatus::Binary},
        {"\xFF\xFEu\x00"
         "n",
         SourceStatus::Binary},
        {"\xFE\xFF", SourceStatus::Binary},
        {std::string("abc\0def\n", 8), SourceStatus::Binary},
        {"\xEF\xBB\xBFunit u;\n", SourceStatus::Read},
        {"caf\xC3\xA9;\n", SourceStatus::Read},
    };
    for (const auto& c : cases) {
        SourceText t = Source_From_Bytes(c.bytes);
        EXPECT_EQ(t.status, c.status) << c.bytes;
        if (c.status == SourceStatus::Binary) {
            EXPECT_EQ(t.error, "binary or UTF-16 file, not listed");
            EXPECT_TRUE(t.lines.empty());
        }
    }
    SourceText marked = Source_From_Bytes("\xEF\xBB\xBFunit u;\nend.\n");
    EXPECT_EQ(marked.lines, (TextList{"unit u;", "end."}));
    EXPECT_EQ(Compose_Text(marked.lines, marked.form), "\xEF\xBB\xBFunit u;\nend.\n");

    // The mark stays out of the first word and comes back on the saved text.
    TempDir dir;
    auto src = dir.write("m.pas", "\xEF\xBB\xBFunit m;\n");
    ASSERT_TRUE(list_and_save(src, {}, ListingOptions{.output_case = 0}).saved);
    EXPECT_EQ(dir.read("m.pas"), "\xEF\xBB\xBFUNIT M;\n");
    EXPECT_EQ(dir.read("m.Token-Cross-Ref"), "m\t#01\r\nunit\t#01\r\n");
}

TEST(SourceText, TheNewTextKeepsTheLineEndsOfItsSource) {
    struct Case {
        std::string source, saved;
    } cases[] = {
        {"x;\ny;\n", "X;\nY;\n"},
        {"x;\r\ny;", "X;\r\nY;"}, // a missing final line end stays missing
        {"x;\ry;\r", "X;\rY;\r"},
        {"x;", "X;"},
        {"x;\ny;\r\nz;\r", "X;\nY;\r\nZ;\r"}, // every line keeps its own
        {"x;\r\n\n\ry;\n", "X;\r\n\n\rY;\n"},
        {"end.\r\n\x1A", "END.\r\n\x1A"}, // a final ^Z stays the last byte
        {"end.\x1A", "END.\x1A"},
        {"\xEF\xBB\xBFx;\r\n", "\xEF\xBB\xBFX;\r\n"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        auto src = dir.write("a.pas", c.source);
        ASSERT_TRUE(list_and_save(src, {}, ListingOptions{.output_case = 0}).saved) << c.source;
        EXPECT_EQ(dir.read("a.pas"), c.saved) << c.source;
        EXPECT_EQ(dir.read("a.pas-SAVED"), c.source);
        // The lists keep CR LF whatever the source has.
        const std::string xref = dir.read("a.Token-Cross-Ref");
        EXPECT_TRUE(xref.ends_with("\r\n")) << xref;
    }
}

TEST(SafeSave, FileHoldsComparesEveryByte) {
    TempDir dir;
    std::string big(200000, 'x');
    auto file = dir.write("big", big);
    EXPECT_TRUE(File_Holds(file.string(), big));
    std::string changed = big;
    changed[150000] = 'y';
    EXPECT_FALSE(File_Holds(file.string(), changed));
    EXPECT_FALSE(File_Holds(file.string(), big + "x"));
    EXPECT_FALSE(File_Holds(file.string(), big.substr(1)));
    EXPECT_TRUE(File_Holds(dir.write("empty", "").string(), ""));
    EXPECT_FALSE(File_Holds(dir.dir() + "none", ""));
    EXPECT_FALSE(File_Holds(dir.dir(), ""));
}

TEST(FileKind, SaysWhatAPathIsInsteadOfMissing) {
    TempDir dir;
    dir.write("f.pas", "x");
    fs::create_directory(dir.path() / "folder");
    ASSERT_EQ(::mkfifo((dir.path() / "pipe").c_str(), 0600), 0);
    fs::create_symlink(dir.path() / "loop", dir.path() / "loop");
    fs::create_symlink(dir.path() / "gone", dir.path() / "dangling");
    struct Case {
        std::string path;
        std::string said;
    } cases[] = {
        {dir.dir() + "f.pas", ""},
        {dir.dir() + "none.pas", "File does not exist"},
        {dir.dir() + "folder", "is a folder, not a file"},
        {dir.dir() + "pipe", "is a named pipe (FIFO), not a file"},
        {dir.dir() + "loop", "is a symbolic link that leads in a loop"},
        {dir.dir() + "dangling", "is a symbolic link to nothing"},
        {"/dev/null", "is a device, not a file"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Describe_Non_File(c.path), c.said) << c.path;
    EXPECT_EQ(Describe_Non_Folder(dir.dir() + "folder"), "");
    EXPECT_EQ(Describe_Non_Folder(dir.dir() + "f.pas"), "is a file, not a folder");
}

// Staged writes: the temporary file beside the target, its name and its permission bits.

#include "platform/text_file.h"

#include "temp_dir.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace parvex;
using parvex::test::TempDir;
namespace fs = std::filesystem;

namespace {
int bits_of(const fs::path& p) {
    struct stat st {};
    return ::stat(p.c_str(), &st) == 0 ? static_cast<int>(st.st_mode & 07777) : -1;
}
} // namespace

// The program reads its umask once; the case runs in a process of its own (started afresh, not
// forked), so that the mask set here is the one the writes see however the tests are run.
static void bits_whatever_the_umask() {
    ::umask(077);
    TempDir dir;
    struct Case {
        int permissions;
        int expected;
    } cases[] = {{0644, 0644}, {0604, 0604}, {0600, 0600}, {-1, 0600}};
    for (const Case& c : cases) {
        const std::string name = dir.dir() + "f" + std::to_string(c.permissions);
        ASSERT_TRUE(Write_File_Atomic(name, "text\n", {c.permissions, false}));
        EXPECT_EQ(bits_of(name), c.expected) << c.permissions;
        EXPECT_EQ(parvex::test::read_bytes(name), "text\n");
    }
    // Without a given mode, a file that is replaced keeps its own bits.
    const std::string kept = dir.dir() + "kept";
    parvex::test::write_bytes(kept, "old");
    fs::permissions(kept, fs::perms(0640));
    ASSERT_TRUE(Write_File_Atomic(kept, "new"));
    EXPECT_EQ(bits_of(kept), 0640);
    std::size_t left = 0;
    for (const auto& e : fs::directory_iterator(dir.path()))
        left += e.path().filename().string().starts_with(Temp_File_Prefix) ? 1 : 0;
    EXPECT_EQ(left, 0u) << "a temporary file was left behind";
}

TEST(StagedWrite, ResultsTakeTheirBitsWhateverTheUmask) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            bits_whatever_the_umask();
            std::exit(::testing::Test::HasFailure() ? 1 : 0);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(StagedWrite, TemporaryNamesAreNewEachTimeAndLockedUntilTheyTakeTheirPlace) {
    TempDir dir;
    std::set<std::string> names;
    std::vector<StagedFile> kept;
    for (int i = 0; i < 300; ++i) {
        StagedFile staged;
        ASSERT_TRUE(Stage_File(dir.dir() + "target", "x", staged));
        const std::string file = fs::path(staged.path()).filename().string();
        EXPECT_TRUE(Is_Temp_File_Name(file)) << file;
        EXPECT_TRUE(names.insert(staged.path()).second) << "a name came twice: " << file;
        EXPECT_TRUE(fs::is_regular_file(staged.path()));
        if (i < 3)
            kept.push_back(std::move(staged)); // the others go as they leave the scope
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 3);
    // Locked while staged: a lock taken the way another process takes it fails.
    const std::string path = kept[0].path();
    const int fd = ::open(path.c_str(), O_RDONLY);
    EXPECT_NE(::flock(fd, LOCK_EX | LOCK_NB), 0);
    ASSERT_TRUE(kept[0].Commit(dir.dir() + "target"));
    EXPECT_FALSE(kept[0]);
    EXPECT_FALSE(fs::exists(path));
    EXPECT_EQ(parvex::test::read_bytes(dir.dir() + "target"), "x");
    ::close(fd);
    kept[1].Discard();
    kept.clear();
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(StagedWrite, TemporaryNamesAreNoneAUserChooses) {
    for (const char* name : {".parvex-q7Rk2ZbW0mXe.tmp", ".parvex-AAAAAAAAAAAA.tmp"})
        EXPECT_TRUE(Is_Temp_File_Name(name)) << name;
    for (const char* name :
         {".parvex-notes1", ".parvex-Ab12Cd", ".parvex-q7Rk2ZbW0mX.tmp", ".parvex-q7Rk2ZbW0mXe.txt",
          ".parvex-q7Rk2Zb.W0mX.tmp", "parvex-q7Rk2ZbW0mXe.tmp", ".parvex-q7Rk2ZbW0mXeA.tmp"})
        EXPECT_FALSE(Is_Temp_File_Name(name)) << name;
}

TEST(StagedWrite, AFolderThatIsMissingIsReported) {
    TempDir dir;
    StagedFile staged;
    FileResult r = Stage_File(dir.dir() + "no/such/target", "x", staged);
    EXPECT_FALSE(r);
    EXPECT_NE(r.error.find("Cannot write"), std::string::npos) << r.error;
    EXPECT_FALSE(staged);
}

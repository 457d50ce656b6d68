// Staged writes: the temporary file beside the target, its name and its permission bits.

#include "platform/text_file.h"

#include "temp_dir.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <sys/stat.h>

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

TEST(StagedWrite, TemporaryNamesAreNewEachTime) {
    TempDir dir;
    std::set<std::string> names;
    for (int i = 0; i < 300; ++i) {
        std::string staged;
        ASSERT_TRUE(Stage_File(dir.dir() + "target", "x", staged));
        const std::string file = fs::path(staged).filename().string();
        EXPECT_TRUE(file.starts_with(Temp_File_Prefix)) << file;
        EXPECT_EQ(file.size(), Temp_File_Prefix.size() + 6) << file;
        EXPECT_TRUE(names.insert(staged).second) << "a name came twice: " << staged;
        EXPECT_TRUE(fs::is_regular_file(staged));
    }
    EXPECT_FALSE(fs::exists(dir.dir() + "target"));
}

TEST(StagedWrite, AFolderThatIsMissingIsReported) {
    TempDir dir;
    std::string staged;
    FileResult r = Stage_File(dir.dir() + "no/such/target", "x", staged);
    EXPECT_FALSE(r);
    EXPECT_NE(r.error.find("Cannot write"), std::string::npos) << r.error;
    EXPECT_TRUE(staged.empty());
}

#include "frame/app_folders.h"

#include "temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

using namespace parvex;
using parvex::test::TempDir;
namespace fs = std::filesystem;

namespace {

Env_Lookup env_of(std::map<std::string, std::string> vars) {
    return [vars](std::string_view name) -> std::optional<std::string> {
        auto it = vars.find(std::string(name));
        if (it == vars.end())
            return std::nullopt;
        return it->second;
    };
}

// A prefix as the installation lays it out: bin/ with share/parvex/defaults/ beside it.
std::string make_prefix(const TempDir& tmp, const std::string& prefix = "prefix/") {
    tmp.write(prefix + "bin/parvex", "#!");
    tmp.write(prefix + "share/parvex/defaults/Dont/Tokens-Personal.dat", "Shipped\r\n");
    tmp.write(prefix + "share/parvex/defaults/GUI/Data/Table.dat", "rows\r\n");
    tmp.write(prefix + "share/parvex/defaults/Data/Logfile.txt", "not installation data");
    tmp.write(prefix + "share/parvex/defaults/Files.lst",
              "Dont/Tokens-Personal.dat\r\nGUI/Data/Table.dat\r\n");
    return tmp.dir() + prefix + "bin/";
}

} // namespace

TEST(AppFolders, AWritableProgramFolderKeepsEverythingBesideTheProgram) {
    TempDir tmp;
    App_Folders f = Decide_App_Folders(tmp.path().string(), env_of({{"HOME", "/home/u"}}));
    EXPECT_FALSE(f.installed);
    EXPECT_EQ(f.program_dir, tmp.dir());
    EXPECT_EQ(f.data_home, tmp.dir());
    EXPECT_EQ(f.config_dir, tmp.dir());
    EXPECT_TRUE(f.shipped_dir.empty());
    // Nothing to seed in a portable folder.
    Seed_Report r = Seed_User_Data(f);
    EXPECT_TRUE(r.problems.empty());
    EXPECT_EQ(r.copied, 0);
}

TEST(AppFolders, AnInstalledLayoutUsesTheXdgFoldersEvenWhenItIsWritable) {
    TempDir tmp;
    const std::string bin = make_prefix(tmp);
    struct Case {
        std::map<std::string, std::string> env;
        std::string config, data;
    };
    const Case cases[] = {
        {{{"HOME", "/home/u"}}, "/home/u/.config/parvex/", "/home/u/.local/share/parvex/"},
        {{{"HOME", "/home/u"}, {"XDG_CONFIG_HOME", "/c"}, {"XDG_DATA_HOME", "/d/"}},
         "/c/parvex/",
         "/d/parvex/"},
        // A relative XDG folder is not valid and falls back to the home folder.
        {{{"HOME", "/home/u"}, {"XDG_CONFIG_HOME", "rel"}, {"XDG_DATA_HOME", ""}},
         "/home/u/.config/parvex/",
         "/home/u/.local/share/parvex/"},
    };
    for (const Case& c : cases) {
        App_Folders f = Decide_App_Folders(bin, env_of(c.env));
        EXPECT_TRUE(f.installed);
        EXPECT_EQ(f.config_dir, c.config);
        EXPECT_EQ(f.data_home, c.data);
        EXPECT_EQ(fs::path(f.shipped_dir), fs::path(tmp.dir() + "prefix/share/parvex/defaults/"));
    }
}

TEST(AppFolders, TheFirstStartSeedsTheUserFolderAndLaterStartsKeepTheUsersCopies) {
    TempDir tmp;
    const std::string bin = make_prefix(tmp);
    const auto env = env_of({{"HOME", tmp.dir() + "home"}});
    App_Folders f = Decide_App_Folders(bin, env);
    Seed_Report first = Seed_User_Data(f);
    EXPECT_TRUE(first.problems.empty()) << first.problems.front();
    EXPECT_TRUE(first.writable);
    EXPECT_EQ(first.copied, 2);
    EXPECT_EQ(tmp.read("home/.local/share/parvex/Dont/Tokens-Personal.dat"), "Shipped\r\n");
    EXPECT_EQ(tmp.read("home/.local/share/parvex/GUI/Data/Table.dat"), "rows\r\n");
    EXPECT_TRUE(fs::is_directory(tmp.path() / "home/.config/parvex"));
    // A user's log is work data, never installation data.
    EXPECT_FALSE(fs::exists(tmp.path() / "home/.local/share/parvex/Data/Logfile.txt"));

    tmp.write("home/.local/share/parvex/Dont/Tokens-Personal.dat", "Mine\r\n");
    fs::remove(tmp.path() / "home/.local/share/parvex/GUI/Data/Table.dat");
    Seed_Report second = Seed_User_Data(f);
    EXPECT_EQ(second.copied, 1); // only the file the user no longer has
    EXPECT_EQ(tmp.read("home/.local/share/parvex/Dont/Tokens-Personal.dat"), "Mine\r\n");
    EXPECT_EQ(Default_Personal_Tokens(f),
              tmp.dir() + "home/.local/share/parvex/Dont/Tokens-Personal.dat");
}

// A per-user install (prefix ~/.local, or the folder above $XDG_DATA_HOME) puts the shipped data
// under the user's own data folder: the two must stay apart, or installing again would write
// over the user's files.
TEST(AppFolders, APerUserInstallKeepsTheShippedDataApartFromTheUsersCopies) {
    struct Case {
        std::string prefix;
        std::map<std::string, std::string> env;
    };
    TempDir tmp;
    const Case cases[] = {
        {"home/.local/", {{"HOME", tmp.dir() + "home"}}},
        {"xdg/", {{"HOME", tmp.dir() + "home"}, {"XDG_DATA_HOME", tmp.dir() + "xdg/share"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.prefix);
        App_Folders f = Decide_App_Folders(make_prefix(tmp, c.prefix), env_of(c.env));
        ASSERT_TRUE(f.installed);
        EXPECT_EQ(f.data_home, tmp.dir() + c.prefix + "share/parvex/");
        EXPECT_EQ(fs::path(f.shipped_dir), fs::path(f.data_home + "defaults/"));

        Seed_Report seeded = Seed_User_Data(f);
        EXPECT_TRUE(seeded.problems.empty()) << seeded.problems.front();
        EXPECT_EQ(seeded.copied, 2);
        tmp.write(c.prefix + "share/parvex/Dont/Tokens-Personal.dat", "Mine\r\n");
        // What a second install writes lands in the shipped folder only.
        tmp.write(c.prefix + "share/parvex/defaults/Dont/Tokens-Personal.dat", "Shipped again\r\n");
        EXPECT_EQ(Seed_User_Data(f).copied, 0);
        EXPECT_EQ(tmp.read(c.prefix + "share/parvex/Dont/Tokens-Personal.dat"), "Mine\r\n");
        EXPECT_EQ(Default_Personal_Tokens(f), f.data_home + "Dont/Tokens-Personal.dat");
    }
}

TEST(AppFolders, MissingInstallationDataIsNamedAndTheRestIsStillSeeded) {
    TempDir tmp;
    const std::string bin = make_prefix(tmp);
    fs::remove(tmp.path() / "prefix/share/parvex/defaults/GUI/Data/Table.dat");
    App_Folders f = Decide_App_Folders(bin, env_of({{"HOME", tmp.dir() + "home"}}));
    Seed_Report r = Seed_User_Data(f);
    ASSERT_EQ(r.problems.size(), 1u);
    EXPECT_NE(r.problems[0].find("GUI/Data/Table.dat\" is missing"), std::string::npos)
        << r.problems[0];
    EXPECT_TRUE(r.writable);
    EXPECT_EQ(tmp.read("home/.local/share/parvex/Dont/Tokens-Personal.dat"), "Shipped\r\n");

    // Without any installation data the program still starts, on its defaults.
    f.shipped_dir = tmp.dir() + "nowhere/";
    Seed_Report none = Seed_User_Data(f);
    ASSERT_EQ(none.problems.size(), 1u);
    EXPECT_NE(none.problems[0].find("nowhere/\" is missing"), std::string::npos);
}

TEST(AppFolders, AUserFolderThatCannotBeMadeIsReportedAndNothingIsWritten) {
    TempDir tmp;
    const std::string bin = make_prefix(tmp);
    tmp.write("blocked", "a file where the data folder belongs");
    App_Folders f = Decide_App_Folders(
        bin, env_of({{"HOME", tmp.dir() + "home"}, {"XDG_DATA_HOME", tmp.dir() + "blocked"}}));
    Seed_Report r = Seed_User_Data(f);
    EXPECT_FALSE(r.writable);
    EXPECT_FALSE(r.problems.empty());
    EXPECT_EQ(r.copied, 0);
    EXPECT_EQ(tmp.read("blocked"), "a file where the data folder belongs");
}

TEST(AppFolders, TheSettingsFileFollowsTheFoldersDecidedAtStart) {
    TempDir tmp;
    const std::string bin = make_prefix(tmp);
    App_Folders f = Decide_App_Folders(bin, env_of({{"HOME", "/home/u"}}));
    Set_Current_App_Folders(f);
    EXPECT_EQ(Settings_File_Path(f.data_home, "parvex.INI"), "/home/u/.config/parvex/parvex.INI");
    // Any other data folder (a test's own program folder) keeps its settings beside it.
    EXPECT_EQ(Settings_File_Path("/tmp/x", "parvex.INI"), "/tmp/x/parvex.INI");
    Set_Current_App_Folders(App_Folders{});
    EXPECT_EQ(Settings_File_Path("/tmp/x/", "parvex.INI"), "/tmp/x/parvex.INI");
}

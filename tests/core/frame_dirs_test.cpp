#include "frame/frame_dirs.h"

#include "platform/text_file.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace parvex;
using parvex::test::TempDir;

TEST(FrameDirs, FirstStartCreatesTheTreeAndASecondChangesNothing) {
    TempDir tmp;
    tmp.write("Data/keep.txt", "x");
    std::vector<std::string> failed = Create_Frame_Dirs(tmp.dir());
    EXPECT_TRUE(failed.empty());
    for (const char* d :
         {"GUI", "GUI/Lang", "GUI/Snds", "GUI/Pics", "GUI/Data", "GUI/Help", "Data", "Dont"})
        EXPECT_TRUE(std::filesystem::is_directory(tmp.path() / d)) << d;
    EXPECT_TRUE(Create_Frame_Dirs(tmp.dir()).empty());
    EXPECT_EQ(tmp.read("Data/keep.txt"), "x");
    // A program folder given without its "/" gives the same tree.
    EXPECT_TRUE(Create_Frame_Dirs(tmp.path().string()).empty());
}

TEST(FrameDirs, AFolderThatCannotBeMadeIsReportedAndTheRestAreStillMade) {
    TempDir tmp;
    tmp.write("GUI", "a file where the folder belongs");
    std::vector<std::string> failed = Create_Frame_Dirs(tmp.dir());
    EXPECT_EQ(failed, (std::vector<std::string>{tmp.dir() + "GUI/", tmp.dir() + "GUI/Lang",
                                                tmp.dir() + "GUI/Snds", tmp.dir() + "GUI/Pics",
                                                tmp.dir() + "GUI/Data/", tmp.dir() + "GUI/Help"}));
    EXPECT_TRUE(std::filesystem::is_directory(tmp.path() / "Data"));
    EXPECT_TRUE(std::filesystem::is_directory(tmp.path() / "Dont"));
}

TEST(FrameDirs, FileNamesUnderTheProgramFolder) {
    EXPECT_EQ(Log_File_Name("/opt/p/"), "/opt/p/Data/Logfile.txt");
    EXPECT_EQ(Sounds_Initial_Dir("/opt/p/"), "/opt/p/GUI/Snds");
}

TEST(FrameDirs, SpecialDirUsesAnExistingEditFolderElseTheDefault) {
    TempDir tmp;
    std::filesystem::create_directory(tmp.path() / "shared");
    tmp.write("plain.txt", "");
    const std::string def = "/opt/p/GUI/Data/";
    struct Case {
        std::string edit;
        std::string expected;
    } cases[] = {
        {"", def},
        {tmp.dir() + "shared", tmp.dir() + "shared/"},
        {tmp.dir() + "shared/", tmp.dir() + "shared/"},
        {tmp.dir() + "missing", def},
        {tmp.dir() + "plain.txt", def}, // a file is no folder
    };
    for (const auto& c : cases)
        EXPECT_EQ(Special_Dir(def, c.edit), c.expected) << c.edit;
    EXPECT_EQ(Frame_Data_Dir(tmp.dir(), ""), tmp.dir() + "GUI/Data/");
    EXPECT_EQ(Frame_Data_Dir(tmp.dir(), tmp.dir() + "shared"), tmp.dir() + "shared/");
}

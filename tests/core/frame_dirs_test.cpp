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

TEST(FrameDirs, DataFolderFilesAreTheRedirectedTablesAndThePages) {
    EXPECT_EQ(Data_Folder_Files("Zivadu-Zedu Parvex"),
              (std::vector<std::string>{"Predef.dat", "Sounds.dat", "SpS.dat", "HP-News.dat",
                                        "Language.dat", "About.rtf", "Zivadu-Zedu Parvex-ToDo.rtf",
                                        "Credits_L.rtf", "Credits_R.rtf"}));
}

TEST(FrameDirs, AFolderStandsInOnlyWhenItHoldsWhatTheDefaultHolds) {
    TempDir tmp;
    const std::vector<std::string> files{"a.dat", "b.dat", "never-shipped.dat"};
    tmp.write("default/a.dat", "A");
    tmp.write("default/b.dat", "B");
    tmp.write("full/a.dat", "mine");
    tmp.write("full/b.dat", "mine");
    tmp.write("half/b.dat", "mine");
    std::filesystem::create_directory(tmp.path() / "empty");
    tmp.write("plain.txt", "");
    const std::string def = tmp.dir() + "default/";
    struct Case {
        std::string folder;
        bool exists;
        std::vector<std::string> missing;
    } cases[] = {
        {tmp.dir() + "full", true, {}},
        {tmp.dir() + "full/", true, {}},
        {tmp.dir() + "half", true, {"a.dat"}},
        {tmp.dir() + "empty", true, {"a.dat", "b.dat"}},
        {tmp.dir() + "missing", false, {}},
        {tmp.dir() + "plain.txt", false, {}},
        {"", false, {}},
    };
    for (const Case& c : cases) {
        const Folder_Check check = Check_Special_Folder(c.folder, def, files);
        EXPECT_EQ(check.exists, c.exists) << c.folder;
        EXPECT_EQ(check.missing, c.missing) << c.folder;
        EXPECT_EQ(check.usable(), c.exists && c.missing.empty()) << c.folder;
    }
}

TEST(FrameDirs, CopyingTheShippedFilesKeepsWhatTheFolderHas) {
    TempDir tmp;
    tmp.write("default/a.dat", "A\r\n");
    tmp.write("default/b.dat", "B\r\n");
    tmp.write("mine/b.dat", "my own\r\n");
    ASSERT_TRUE(Copy_Folder_Files(tmp.dir() + "default", tmp.dir() + "mine", {"a.dat", "b.dat"}));
    EXPECT_EQ(tmp.read("mine/a.dat"), "A\r\n");
    EXPECT_EQ(tmp.read("mine/b.dat"), "my own\r\n");
    EXPECT_TRUE(Check_Special_Folder(tmp.dir() + "mine", tmp.dir() + "default", {"a.dat", "b.dat"})
                    .usable());
    // A source that is not there is a failure that names it; nothing half-made stays behind.
    const FileResult r = Copy_Folder_Files(tmp.dir() + "default", tmp.dir() + "mine", {"gone.dat"});
    EXPECT_FALSE(r);
    EXPECT_NE(r.error.find("gone.dat"), std::string::npos) << r.error;
    EXPECT_FALSE(std::filesystem::exists(tmp.path() / "mine/gone.dat"));
}

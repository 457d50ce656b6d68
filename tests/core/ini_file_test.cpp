#include "frame/ini_file.h"

#include "temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace parvex;
using parvex::test::TempDir;

namespace {

const std::string sample = "; settings\n"
                           "[TForm1]\n"
                           "PC_ActivePage=PC_Work\n"
                           "fne_SRC_Text=/home/u/a b.pas\n"
                           "\n"
                           "[Language]\n"
                           "Form1=/opt/p/GUI/Lang/Language.Lng\n";

} // namespace

TEST(IniFile, FindsSectionsAndKeysWithoutRegardToCase) {
    IniFile ini = IniFile::parse(sample);
    EXPECT_EQ(ini.value("tform1", "pc_activepage"), "PC_Work");
    EXPECT_EQ(ini.value("LANGUAGE", "FORM1"), "/opt/p/GUI/Lang/Language.Lng");
    EXPECT_EQ(ini.value("TForm1", "Form1"), std::nullopt); // key of another section
    EXPECT_EQ(ini.value("Nothing", "PC_ActivePage"), std::nullopt);
    EXPECT_EQ(ini.read("TForm1", "missing", "dflt"), "dflt");
    EXPECT_TRUE(ini.has_section("language"));
    EXPECT_FALSE(ini.has_section("Lang"));
    EXPECT_EQ(ini.section_names(), (std::vector<std::string>{"TForm1", "Language"}));
}

TEST(IniFile, KeepsValuesVerbatim) {
    IniFile ini = IniFile::parse("[S]\n"
                                 "  Spaced Key  =  x = y ;not a comment  \n"
                                 "Empty=\n"
                                 "Quoted=\"q\"\\n\n");
    EXPECT_EQ(ini.value("S", "Spaced Key"), "  x = y ;not a comment  ");
    EXPECT_EQ(ini.value("S", "Empty"), "");
    EXPECT_EQ(ini.value("S", "Quoted"), "\"q\"\\n");
}

TEST(IniFile, WritesUnchangedLinesBackAsTheyWereWithCrLf) {
    IniFile ini = IniFile::parse(sample);
    EXPECT_EQ(ini.text(), "; settings\r\n"
                          "[TForm1]\r\n"
                          "PC_ActivePage=PC_Work\r\n"
                          "fne_SRC_Text=/home/u/a b.pas\r\n"
                          "\r\n"
                          "[Language]\r\n"
                          "Form1=/opt/p/GUI/Lang/Language.Lng\r\n");
}

TEST(IniFile, SetReplacesInPlaceAppendsToSectionOrAddsSectionAtEnd) {
    IniFile ini = IniFile::parse(sample);
    ASSERT_TRUE(ini.set("tform1", "PC_ACTIVEPAGE", "pcw_Check")); // keeps the stored spelling
    ASSERT_TRUE(ini.set("TForm1", "GP10_Width", "306"));          // after the last entry
    ASSERT_TRUE(ini.set("Version-INFO", "Version", "02.06.28.2149"));
    ASSERT_TRUE(ini.set("language", "Form2", "x"));
    EXPECT_EQ(ini.text(), "; settings\r\n"
                          "[TForm1]\r\n"
                          "PC_ActivePage=pcw_Check\r\n"
                          "fne_SRC_Text=/home/u/a b.pas\r\n"
                          "GP10_Width=306\r\n"
                          "\r\n"
                          "[Language]\r\n"
                          "Form1=/opt/p/GUI/Lang/Language.Lng\r\n"
                          "Form2=x\r\n"
                          "[Version-INFO]\r\n"
                          "Version=02.06.28.2149\r\n");
}

TEST(IniFile, SetIntoAnEmptyFileAndAnEmptySection) {
    IniFile ini;
    ASSERT_TRUE(ini.set("Translations", "Form1.btn.Caption", "Go_on"));
    ASSERT_TRUE(ini.set("Translations", "Form1.btn.Hint", ""));
    EXPECT_EQ(ini.text(), "[Translations]\r\nForm1.btn.Caption=Go_on\r\nForm1.btn.Hint=\r\n");

    IniFile header_only = IniFile::parse("[A]\n\n[B]\n");
    ASSERT_TRUE(header_only.set("A", "k", "v"));
    EXPECT_EQ(header_only.text(), "[A]\r\nk=v\r\n\r\n[B]\r\n");
}

TEST(IniFile, FirstOfRepeatedSectionsAndKeysWins) {
    IniFile ini = IniFile::parse("[A]\nk=1\nk=2\n[B]\nk=b\n[a]\nk=3\nj=4\n");
    EXPECT_EQ(ini.value("A", "k"), "1");
    EXPECT_EQ(ini.value("A", "j"), "4"); // a later block of the same section still counts
    EXPECT_EQ(ini.entries("A"), (IniEntries{{"k", "1"}, {"j", "4"}}));
    ASSERT_TRUE(ini.set("A", "k", "new"));
    ASSERT_TRUE(ini.set("A", "j", "J"));
    ASSERT_TRUE(ini.set("A", "n", "N")); // goes into the first block
    EXPECT_EQ(ini.text(), "[A]\r\nk=new\r\nk=2\r\nn=N\r\n[B]\r\nk=b\r\n[a]\r\nk=3\r\nj=J\r\n");
    EXPECT_EQ(ini.section_names(), (std::vector<std::string>{"A", "B"}));
}

TEST(IniFile, ReadsWhatItCanOfADamagedFile) {
    using namespace std::string_literals;
    std::string damaged = "\xEF\xBB\xBF[TForm1]\r\n" // byte-order mark
                          "PC_ActivePage=PC_Work\r"  // old Mac line end
                          "garbage without equals\n"
                          "=no key\n"
                          "bin\0ary=ok\n"
                          "[TForm1\n" // cut-off header: what follows belongs to no section
                          "fne_SRC_Text=lost\n"
                          "\x01\xff\xfe\0\n[Lang]\nForm1=x"s;
    IniFile ini = IniFile::parse(damaged);
    EXPECT_EQ(ini.value("TForm1", "PC_ActivePage"), "PC_Work");
    EXPECT_EQ(ini.value("TForm1", std::string("bin\0ary", 7)), "ok");
    EXPECT_EQ(ini.value("TForm1", "fne_SRC_Text"), std::nullopt);
    EXPECT_EQ(ini.value("Lang", "Form1"), "x"); // last line without a line end
    EXPECT_EQ(ini.entries("TForm1").size(), 2u);

    // Writing changes only the entry it sets; the damage stays where it was.
    ASSERT_TRUE(ini.set("TForm1", "PC_ActivePage", "pcw_Check"));
    IniFile again = IniFile::parse(ini.text());
    EXPECT_EQ(again.value("TForm1", "PC_ActivePage"), "pcw_Check");
    EXPECT_EQ(again.lines().size(), ini.lines().size());
    EXPECT_EQ(again.lines()[0].substr(0, 3), "\xEF\xBB\xBF");
}

TEST(IniFile, EntriesBeforeAnySectionBelongToNone) {
    IniFile ini = IniFile::parse("k=v\n[S]\nk=s\n");
    EXPECT_EQ(ini.value("S", "k"), "s");
    EXPECT_EQ(ini.value("", "k"), std::nullopt);
}

TEST(IniFile, RefusesWhatCouldNotBeReadBackAsWritten) {
    struct Case {
        const char* section;
        const char* key;
        const char* value;
    } cases[] = {
        {"S", "k", "line\r\nbreak"},
        {"S", "k", "lf\n"},
        {"S", "k=x", "v"},
        {"S", " k", "v"},
        {"S", "", "v"},
        {"S", "[k]", "v"},
        {"S", ";k", "v"},
        {"S", "#k", "v"},
        {"S]", "k", "v"},
        {"", "k", "v"},
        {"S\nT", "k", "v"},
        {" S", "k", "v"},
    };
    for (const auto& c : cases) {
        IniFile ini = IniFile::parse("[S]\nk=old\n");
        EXPECT_FALSE(ini.set(c.section, c.key, c.value)) << c.section << "/" << c.key;
        EXPECT_EQ(ini.text(), "[S]\r\nk=old\r\n") << c.section << "/" << c.key;
    }
}

TEST(IniFile, LoadAndSave) {
    TempDir tmp;
    const std::string name = tmp.dir() + "p.INI";

    IniFile ini;
    ASSERT_TRUE(IniFile::load(name, ini)) << "a missing file is an empty one";
    EXPECT_TRUE(ini.lines().empty());

    tmp.write("p.INI", sample);
    ASSERT_TRUE(IniFile::load(name, ini));
    ASSERT_TRUE(ini.set("TForm1", "GP_KA_Width", "202"));
    ASSERT_TRUE(ini.save(name));
    std::string bytes = tmp.read("p.INI");
    EXPECT_EQ(bytes.find('\n'), bytes.find("\r\n") + 1);
    EXPECT_NE(bytes.find("fne_SRC_Text=/home/u/a b.pas\r\nGP_KA_Width=202\r\n\r\n[Language]"),
              std::string::npos);
    // Nothing but the file itself is left in the folder.
    int files = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(tmp.path()))
        ++files;
    EXPECT_EQ(files, 1);
}

TEST(IniFile, UnreadableFileLoadsEmptyAndSaysWhy) {
    TempDir tmp;
    std::filesystem::create_directory(tmp.path() / "p.INI");
    IniFile ini = IniFile::parse(sample);
    FileResult r = IniFile::load(tmp.dir() + "p.INI", ini);
    EXPECT_FALSE(r);
    EXPECT_NE(r.error.find("p.INI"), std::string::npos);
    EXPECT_TRUE(ini.lines().empty());
}

TEST(IniVersion, GetGivesEmptyForAnythingAbsent) {
    TempDir tmp;
    const std::string name = tmp.dir() + "Language.Lng";
    EXPECT_EQ(INI_Get_Version(name, "Version-INFO", "Version"), "");
    tmp.write("Language.Lng", "[Translations]\r\nForm1.a.Caption=A\r\n");
    EXPECT_EQ(INI_Get_Version(name, "Version-INFO", "Version"), "");
    tmp.write("Language.Lng", "[version-info]\r\nVERSION=01.02\r\n");
    EXPECT_EQ(INI_Get_Version(name, "Version-INFO", "Version"), "01.02");
    EXPECT_EQ(INI_Get_Version(name, "Version-INFO", "Other"), "");
    EXPECT_EQ(INI_Get_Version(tmp.dir(), "Version-INFO", "Version"), ""); // a folder
}

TEST(IniVersion, SetCreatesOrReplacesAndKeepsTheRest) {
    TempDir tmp;
    const std::string name = tmp.dir() + "Language.Lng";
    ASSERT_TRUE(INI_Set_Version(name, "Version-INFO", "02.06.28.2149"));
    EXPECT_EQ(tmp.read("Language.Lng"), "[Version-INFO]\r\nVersion=02.06.28.2149\r\n");

    tmp.write("Language.Lng", "[Translations]\r\nForm1.a.Caption=A_b\r\n[Version-INFO]\r\n"
                              "version=old\r\n");
    ASSERT_TRUE(INI_Set_Version(name, "Version-INFO", "02.06.28.2149"));
    EXPECT_EQ(tmp.read("Language.Lng"), "[Translations]\r\nForm1.a.Caption=A_b\r\n"
                                        "[Version-INFO]\r\nversion=02.06.28.2149\r\n");
    EXPECT_EQ(INI_Get_Version(name, "Version-INFO", "Version"), "02.06.28.2149");

    EXPECT_FALSE(INI_Set_Version(name, "Version-INFO", "two\r\nlines"));
    EXPECT_EQ(INI_Get_Version(name, "Version-INFO", "Version"), "02.06.28.2149");
}

TEST(IniVersion, SetLeavesAFileItCannotReadAlone) {
    TempDir tmp;
    std::filesystem::create_directory(tmp.path() / "x.Lng");
    EXPECT_FALSE(INI_Set_Version(tmp.dir() + "x.Lng", "Version-INFO", "1"));
    EXPECT_TRUE(std::filesystem::is_directory(tmp.path() / "x.Lng"));
}

// Every section once, in the spelling and at the place it first has, names compared without
// regard to ASCII case; lines that are no header give none.
TEST(IniFile, SectionNamesOnceEachInFileOrder) {
    struct Case {
        std::string text;
        std::vector<std::string> names;
    } cases[] = {
        {"[B]\n[a]\nk=v\n[A]\n[b]\n[C]\n", {"B", "a", "C"}},
        {"\xEF\xBB\xBF[X]\r\n[x]\r\n", {"X"}},
        {"[Cut\n[Ok]\n;[Comment]\n#[Hash]\n  [ Sp ]  \n[SP]\n", {"Ok", "Sp"}},
        {"[\xC3\x84rger]\n[\xC3\xA4RGER]\n[\xC3\x84RGER]\n",
         {"\xC3\x84rger", "\xC3\xA4RGER"}}, // letters above 127 keep their case
        {"[]\n[ ]\nk=v\n", {""}},
        {"no sections=here\n", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IniFile::parse(c.text).section_names(), c.names) << c.text;

    // Thousands of sections, each met again later in another case.
    std::string text;
    std::vector<std::string> expected;
    for (int i = 0; i < 20000; ++i) {
        expected.push_back("Section" + std::to_string(i));
        text += "[" + expected.back() + "]\r\nk=" + std::to_string(i) + "\r\n";
        if (i % 3 == 2)
            text += "[SECTION" + std::to_string(i / 2) + "]\r\n";
    }
    EXPECT_EQ(IniFile::parse(text).section_names(), expected);
}

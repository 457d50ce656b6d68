// Language files: names, the value encoding, keys, the UTF-8 / Windows-1252 reading and writing.
#include "language/lang_codec.h"
#include "language/lang_file.h"

#include "temp_dir.h"

#include <gtest/gtest.h>

using namespace parvex;
using parvex::test::TempDir;

TEST(LangCodec, EncodesLineBreaksAndSpaces) {
    const struct {
        std::string text, value;
    } cases[] = {
        {"Check NOW", "Check_NOW"},
        {"the Number of Seconds\r\nthe Messages", "the_Number_of_Seconds~~the_Messages"},
        {"a\nb", "a~~b"},
        {"a\rb", "a~~b"},
        {"two\r\n\r\nbreaks", "two~~~~breaks"},
        {"  Sound", "__Sound"},
        {"Größe ändern", "Größe_ändern"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Encode_Lang_Value(c.text), c.value) << c.text;
    }
}

TEST(LangCodec, DecodesToLineFeedsAndSpaces) {
    EXPECT_EQ(Decode_Lang_Value("Check_NOW"), "Check NOW");
    EXPECT_EQ(Decode_Lang_Value("the_Number~~the_Messages"), "the Number\nthe Messages");
    EXPECT_EQ(Decode_Lang_Value("a~~~b"), "a\n~b"); // "~~" is taken from the left
    // Encoding and decoding give the text back with LF line breaks.
    EXPECT_EQ(Decode_Lang_Value(Encode_Lang_Value("x y\r\nz")), "x y\nz");
}

TEST(LangCodec, FileNamesFromLanguageNames) {
    EXPECT_EQ(Lang_File_Name("US English"), "US_English.Lng");
    EXPECT_EQ(Lang_File_Name("German"), "German.Lng");
    EXPECT_EQ(Lang_File_Name("Language"), "Language.Lng");
}

TEST(LangCodec, RefusesNamesThatLeaveTheLanguageFolder) {
    for (const char* bad : {"", "../etc/x", "a/b", "a\\b", "..", "x..y", ".hidden", "."})
        EXPECT_FALSE(Lang_Name_Ok(bad)) << bad;
    for (const char* good : {"German", "US English", "?", "Español (México)"})
        EXPECT_TRUE(Lang_Name_Ok(good)) << good;
}

TEST(LangCodec, FilePathMatchesWithoutRegardToCase) {
    TempDir dir;
    EXPECT_EQ(Lang_File_Path(dir.dir(), "US English"), dir.dir() + "US_English.Lng");
    dir.write("german.lng", "[Translations]\r\n");
    EXPECT_EQ(Lang_File_Path(dir.dir(), "German"), dir.dir() + "german.lng");
    dir.write("Language.Lng", "[Translations]\r\n");
    EXPECT_EQ(Lang_File_Path(dir.dir(), "language"), dir.dir() + "Language.Lng");
    // The exact name wins when both exist.
    dir.write("German.Lng", "[Translations]\r\n");
    EXPECT_EQ(Lang_File_Path(dir.dir(), "German"), dir.dir() + "German.Lng");
}

TEST(LangCodec, SplitsKeysAtTheFirstTwoDots) {
    const struct {
        std::string key, window, component, property;
    } cases[] = {
        {"Form1.fb_btn_L01.Caption", "Form1", "fb_btn_L01", "Caption"},
        {"Form1.a.b.c", "Form1", "a", "b.c"},
        {"Form1.a", "Form1", "a", ""},
        {"nodot", "nodot", "", ""},
    };
    for (const auto& c : cases) {
        const Lang_Key k = Split_Lang_Key(c.key);
        EXPECT_EQ(k.window, c.window) << c.key;
        EXPECT_EQ(k.component, c.component) << c.key;
        EXPECT_EQ(k.property, c.property) << c.key;
    }
    EXPECT_EQ(Make_Lang_Key("Form1", "fb_btn_L01", "Caption"), "Form1.fb_btn_L01.Caption");
}

TEST(LangCodec, ComponentNamesThatCannotBeKeys) {
    for (const char* bad : {"", "a.b", "a=b", " a", "a ", "[a", ";a", "#a", "a\nb"})
        EXPECT_FALSE(Lang_Component_Name_Ok(bad)) << bad;
    for (const char* good : {"fb_btn_L01", "lab_EX_Title", "_Item0", "a b"})
        EXPECT_TRUE(Lang_Component_Name_Ok(good)) << good;
}

TEST(LangCodec, ProtectedComponentsAndSkippedTexts) {
    EXPECT_TRUE(Lang_Protected(32768, "fb_labX_cLang"));
    EXPECT_TRUE(Lang_Protected(32772, "lab"));
    EXPECT_TRUE(Lang_Protected(0, "lab_EX_Title"));
    EXPECT_FALSE(Lang_Protected(16384 | 4, "lab_Title"));
    EXPECT_FALSE(Lang_Protected(0, "lab_EXTitle"));

    EXPECT_TRUE(Lang_Text_Skipped("Caption", "-"));
    EXPECT_TRUE(Lang_Text_Skipped("Caption", ""));
    EXPECT_TRUE(Lang_Text_Skipped("Hint", ""));
    EXPECT_FALSE(Lang_Text_Skipped("Hint", "-"));
    EXPECT_FALSE(Lang_Text_Skipped("Caption", "--"));
}

TEST(LangFile, ReadsUtf8AsItIsAndOtherBytesAsWindows1252) {
    EXPECT_EQ(Lang_Bytes_To_Utf8("Gr\xC3\xB6\xC3\x9F"
                                 "e"),
              "Gr\xC3\xB6\xC3\x9F"
              "e");
    // "Größe" and a euro sign and quotes in Windows-1252.
    EXPECT_EQ(Lang_Bytes_To_Utf8("Gr\xF6\xDF"
                                 "e \x80 \x84x\x93"),
              "Gr\xC3\xB6\xC3\x9F"
              "e \xE2\x82\xAC \xE2\x80\x9Ex\xE2\x80\x9C");
    // A byte-order mark is dropped.
    EXPECT_EQ(Lang_Bytes_To_Utf8("\xEF\xBB\xBF[Translations]"), "[Translations]");
    // Cut-off, overlong and surrogate sequences are not UTF-8.
    for (const char* bad : {"a\xC3", "\xC0\xAF", "\xED\xA0\x80", "\xF8\x88\x80\x80\x80"})
        EXPECT_FALSE(Is_Valid_Utf8(bad)) << bad;
    EXPECT_TRUE(Is_Valid_Utf8("plain \xE2\x82\xAC \xF0\x9F\x98\x80"));
}

TEST(LangFile, WritesAndReadsTheTranslationsSection) {
    TempDir dir;
    const std::string file = dir.dir() + "Language.Lng";
    ASSERT_TRUE(Write_Translations(
        file,
        {{"Form1.a.Caption", "A_b"}, {"Form1.b.Hint", "x~~y"}, {"Form1.a.Caption", "again"}}));
    ASSERT_TRUE(INI_Set_Version(file, Version_Section, "02.06.28.2149"));
    EXPECT_EQ(dir.read("Language.Lng"), "[Translations]\r\n"
                                        "Form1.a.Caption=again\r\n"
                                        "Form1.b.Hint=x~~y\r\n"
                                        "[Version-INFO]\r\n"
                                        "Version=02.06.28.2149\r\n");
    std::vector<Lang_Entry> entries;
    ASSERT_TRUE(Read_Translations(file, entries));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1].key, "Form1.b.Hint");
    EXPECT_EQ(entries[1].value, "x~~y");
    EXPECT_EQ(INI_Get_Version(file, "version-info", "VERSION"), "02.06.28.2149");

    // A Windows-1252 file is read as such; a missing file gives nothing and no failure.
    dir.write("Old.Lng", "[Translations]\r\nForm1.a.Caption=Gr\xF6\xDF"
                         "e\r\n");
    ASSERT_TRUE(Read_Translations(dir.dir() + "Old.Lng", entries));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].value, "Gr\xC3\xB6\xC3\x9F"
                                "e");
    ASSERT_TRUE(Read_Translations(dir.dir() + "None.Lng", entries));
    EXPECT_TRUE(entries.empty());
}

TEST(LangFile, SavingKeepsTheOldFileAsBackup) {
    TempDir dir;
    const std::string file = dir.dir() + "German.Lng";
    dir.write("German.Lng", "old\r\n");
    ASSERT_TRUE(Save_Lang_Lines(file, {"[Translations]", "Form1.a.Caption=neu"}));
    EXPECT_EQ(dir.read("German.Lng"), "[Translations]\r\nForm1.a.Caption=neu\r\n");
    EXPECT_EQ(dir.read("German.Lng.bak"), "old\r\n");
}

TEST(LangFile, CopyOfAMissingFileFails) {
    TempDir dir;
    FileResult r = Copy_Lang_File(dir.dir() + "Language.Lng", dir.dir() + "US_English.Lng");
    EXPECT_FALSE(r);
    EXPECT_NE(r.error.find("Language.Lng"), std::string::npos);
    EXPECT_FALSE(File_Exists(dir.dir() + "US_English.Lng"));
}

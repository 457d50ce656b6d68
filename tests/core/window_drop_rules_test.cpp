#include "window/drop_rules.h"

#include <gtest/gtest.h>

using namespace parvex;
using Kind = Drop_Choice::Kind;

TEST(WindowDropRules, ExtensionIsTheLastDotOfTheLastNamePart) {
    struct Case {
        const char* name;
        const char* ext;
        bool pas;
    } cases[] = {
        {"/src/Unit1.pas", ".pas", true},
        {"/src/UNIT1.PAS", ".PAS", true},
        {"/src/Unit1.Pas", ".Pas", true},
        {"/src/Unit1.bak.pas", ".pas", true},
        {"/src/Unit1.pas.bak", ".bak", false},
        {"/src/notes.txt", ".txt", false},
        {"/src/Unit1.pass", ".pass", false},
        {"/src/Unit1.pa", ".pa", false},
        {"/src/Unit1pas", "", false},
        {"/src.pas/Unit1", "", false}, // a dot in a folder name is no extension
        {"/src/Unit1.", ".", false},
        {"Unit1.pas", ".pas", true},
        {"", "", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(File_Ext(c.name), c.ext) << c.name;
        EXPECT_EQ(Is_Pas_File(c.name), c.pas) << c.name;
    }
}

TEST(WindowDropRules, OnlyTheFirstDroppedNameCounts) {
    EXPECT_EQ(Choose_Dropped_File({}).kind, Kind::Nothing);

    Drop_Choice one = Choose_Dropped_File({"/home/u/Unit1.pas"});
    EXPECT_EQ(one.kind, Kind::Accepted);
    EXPECT_EQ(one.file, "/home/u/Unit1.pas");

    // a Pascal file after a refused first name is not taken
    Drop_Choice txt_first = Choose_Dropped_File({"/home/u/notes.txt", "/home/u/Unit1.pas"});
    EXPECT_EQ(txt_first.kind, Kind::Refused);
    EXPECT_EQ(txt_first.file, "/home/u/notes.txt");

    // and a refused name after an accepted first one does not spoil it
    Drop_Choice pas_first = Choose_Dropped_File({"/home/u/Main.PAS", "/home/u/notes.txt"});
    EXPECT_EQ(pas_first.kind, Kind::Accepted);
    EXPECT_EQ(pas_first.file, "/home/u/Main.PAS");
}

TEST(WindowDropRules, MessageTexts) {
    EXPECT_EQ(Drop_Title, "DROP FILES");
    EXPECT_EQ(Drop_Refused_Text, "^C:Dropping Files works only\r\nwith \".PAS\" Fileextensions");
    EXPECT_EQ(Drop_Accepted_Text, "^C:File accepted");
}

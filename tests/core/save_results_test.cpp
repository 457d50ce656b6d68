#include "engine/check_run.h"
#include "engine/cross_reference.h"
#include "engine/listing_run.h"
#include "engine/text_order.h"

#include "temp_dir.h"

#include <gtest/gtest.h>
#include <unistd.h>

using namespace parvex;
using parvex::test::TempDir;

TEST(CrossReference, BreaksAfterNValues) {
    TextList list;
    for (int line = 25; line >= 1; --line)
        list.push_back(Collected_Line("Foo", static_cast<std::size_t>(line), 2));
    list.push_back("Bar\t#03");
    TextList area = Build_Cross_Reference(list, 10);
    ASSERT_EQ(area.size(), 2u);
    EXPECT_EQ(area[0], "Bar\t#03");
    EXPECT_EQ(area[1], "Foo\t#01\t#02\t#03\t#04\t#05\t#06\t#07\t#08\t#09\t#10\r\n"
                       "\t#11\t#12\t#13\t#14\t#15\t#16\t#17\t#18\t#19\t#20\r\n"
                       "\t#21\t#22\t#23\t#24\t#25");
    EXPECT_EQ(list.front(), "Bar\t#03"); // the collection list stays sorted
    TextList three = {"a\t#01", "a\t#02", "a\t#03"};
    EXPECT_EQ(Build_Cross_Reference(three, 1), TextList{"a\t#01\r\n\t#02\r\n\t#03"});
    TextList none;
    EXPECT_TRUE(Build_Cross_Reference(none, 10).empty());
}

TEST(CrossReference, KeysAreExactAndTakeTheLastTab) {
    TextList list = {"'abc'\t#02",  "'abc'\t#01", "'ABC'\t#01", "'a\tb'\t#04",
                     "'a\tb'\t#05", "x\t#03",     "x\t#03"};
    TextList area = Build_Cross_Reference(list, 10);
    EXPECT_EQ(area, (TextList{"'a\tb'\t#04\t#05", "'abc'\t#01", "'ABC'\t#01", "'abc'\t#02",
                              "x\t#03\t#03"}));
    EXPECT_EQ(Collected_Key("'a\tb'\t#04"), "'a\tb'");
}

TEST(CrossReference, NamesOfFiles) {
    EXPECT_EQ(Base_Name("/src/Unit1.bak.pas"), "Unit1.bak");
    EXPECT_EQ(Base_Name("Unit1"), "Unit1");
    EXPECT_EQ(Folder_Of("/src/Unit1.pas"), "/src/");
    EXPECT_EQ(Folder_Of("Unit1.pas"), "");
}

namespace {

struct Session {
    TokenTable tokens;
    ListingEngine engine{tokens};
    ListingLists lists;
    RunResult run(const std::string& file) { return engine.Listing_Run(file, {}, lists); }
};

} // namespace

TEST(SaveResults, WritesSevenFilesAndKeepsTheOldText) {
    TempDir dir;
    auto src = dir.write("Unit1.pas", "x := 'a' + 1;\nX := 'a';\n");
    dir.write("Unit1.pas-SAVED", "older backup");
    Session s;
    ASSERT_EQ(s.run(src.string()).status, RunStatus::Done);
    SaveResult r = Save_Results(src.string(), dir.dir(), {}, s.lists);
    ASSERT_TRUE(r.saved);
    EXPECT_EQ(r.messages.back().title, "Saved File");
    EXPECT_EQ(r.messages.back().text, "^C:^F:" + dir.dir() + "^Saved Files!");
    EXPECT_EQ(dir.read("Unit1.pas"), "x := 'a' + 1;\r\nx := 'a';\r\n");
    EXPECT_EQ(dir.read("Unit1.pas-SAVED"), "x := 'a' + 1;\nX := 'a';\n");
    EXPECT_EQ(dir.read("Unit1.Alpha-Constants"), "'a'\t#01\r\n'a'\t#02\r\n");
    EXPECT_EQ(dir.read("Unit1.Numeric-Constats"), "1\t#01\r\n");
    EXPECT_EQ(dir.read("Unit1.Alpha-Cross-Ref"), "'a'\t#01\t#02\r\n");
    EXPECT_EQ(dir.read("Unit1.Numeric-Cross-Ref"), "1\t#01\r\n");
    EXPECT_EQ(dir.read("Unit1.Token-Cross-Ref"), "x\t#01\t#02\r\n");
    EXPECT_TRUE(s.lists.src_o.empty());
    // The save consumed the run.
    SaveResult again = Save_Results(src.string(), dir.dir(), {}, s.lists);
    EXPECT_FALSE(again.saved);
    EXPECT_EQ(again.messages.back().title, "save to Source-Path");
    EXPECT_EQ(again.messages.back().text,
              "^C:^F:" + src.string() + "^no conversion has been done !");
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
        EXPECT_EQ(e.path().filename().string().find(".parvex"), std::string::npos);
}

TEST(SaveResults, UncheckedListsAreDeletedAndNotWritten) {
    TempDir dir;
    auto src = dir.write("a.pas", "x;\n");
    dir.write("a.Alpha-Cross-Ref", "stale");
    Session s;
    ASSERT_EQ(s.run(src.string()).status, RunStatus::Done);
    SaveOptions o;
    o.create[4] = false;
    ASSERT_TRUE(Save_Results(src.string(), dir.dir() + "out/", o, s.lists).saved == false);
    // The target folder must exist; the save reports that and keeps the run.
    EXPECT_FALSE(s.lists.src_o.empty());
    ASSERT_TRUE(Save_Results(src.string(), dir.dir(), o, s.lists).saved);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "a.Alpha-Cross-Ref"));
    EXPECT_EQ(dir.read("a.Alpha-Constants"), ""); // an empty list gives an empty file
}

TEST(SaveResults, ABackupNameThatIsAFolderIsNamedAndNothingIsWritten) {
    // A folder where the backup should go: the message names the backup, not the source.
    TempDir dir;
    auto src = dir.write("u.pas", "begin end.\n");
    dir.write("u.pas-SAVED/keep", "x");
    Session s;
    ASSERT_EQ(s.run(src.string()).status, RunStatus::Done);
    SaveResult r = Save_Results(src.string(), dir.dir(), {}, s.lists);
    EXPECT_FALSE(r.saved);
    ASSERT_FALSE(r.messages.empty());
    EXPECT_EQ(r.messages.back().kind, MessageKind::L_Error);
    EXPECT_EQ(r.messages.back().text, "^C:^F:" + src.string() +
                                          "^Nothing was saved: the saved original would go to \"" +
                                          dir.dir() + "u.pas-SAVED\", which is a folder.");
    EXPECT_EQ(dir.read("u.pas"), "begin end.\n");
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "u.Token-Cross-Ref"));
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
        EXPECT_EQ(e.path().filename().string().find(".parvex"), std::string::npos);
}

TEST(SaveResults, AFailedListLeavesTheSourceAndASecondSaveKeepsTheOriginal) {
    TempDir dir;
    auto src = dir.write("u.pas", "begin x end.\n");
    dir.write("u.Token-Cross-Ref/keep", "a folder where the last list should go");
    Session s;
    ListingOptions upper;
    upper.output_case = 0;
    ASSERT_EQ(s.engine.Listing_Run(src.string(), upper, s.lists).status, RunStatus::Done);
    SaveResult failed = Save_Results(src.string(), dir.dir(), {}, s.lists);
    EXPECT_FALSE(failed.saved);
    EXPECT_EQ(dir.read("u.pas"), "begin x end.\n");
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "u.pas-SAVED"));
    // The user clears the way and saves the same run again: the original becomes the backup.
    std::filesystem::remove_all(dir.path() / "u.Token-Cross-Ref");
    ASSERT_TRUE(Save_Results(src.string(), dir.dir(), {}, s.lists).saved);
    EXPECT_EQ(dir.read("u.pas-SAVED"), "begin x end.\n");
    EXPECT_EQ(dir.read("u.pas"), "BEGIN X END.\r\n");
}

TEST(SaveResults, AListNamedLikeTheTextIsRefused) {
    for (const char* clash : {"pas", "pas-SAVED"}) {
        TempDir dir;
        auto src = dir.write("u.pas", "begin end.\n");
        dir.write("u.pas-SAVED", "older backup");
        Session s;
        ASSERT_EQ(s.run(src.string()).status, RunStatus::Done);
        SaveOptions o;
        o.extensions[3] = clash;
        o.create[3] = false; // even the delete of an unchecked list would hit the text
        SaveResult r = Save_Results(src.string(), dir.dir(), o, s.lists);
        EXPECT_FALSE(r.saved) << clash;
        ASSERT_FALSE(r.messages.empty());
        EXPECT_EQ(r.messages.back().kind, MessageKind::L_Error);
        EXPECT_NE(r.messages.back().text.find("\"create List of Numeric-Constants\""),
                  std::string::npos)
            << r.messages.back().text;
        EXPECT_EQ(dir.read("u.pas"), "begin end.\n");
        EXPECT_EQ(dir.read("u.pas-SAVED"), "older backup");
        EXPECT_FALSE(s.lists.src_o.empty());
    }
}

TEST(SaveResults, MissingSourceIsRefused) {
    TempDir dir;
    ListingLists lists;
    lists.src_o = {"x"};
    SaveResult r = Save_Results(dir.dir() + "gone.pas", dir.dir(), {}, lists);
    EXPECT_FALSE(r.saved);
    EXPECT_EQ(r.messages.back().text, "^C:^F:" + dir.dir() + "gone.pas^File does not exist !");
}

TEST(CheckRun, ReportsWhatIsLeft) {
    TempDir dir;
    ListingLists lists;
    const std::string delims = Build_Delimiters(kDefaultTerminators, true, true);
    CheckResult none = Check_Run(lists, delims, dir.dir());
    EXPECT_FALSE(none.ran);
    EXPECT_EQ(none.messages.back().title, "NO Check ...");
    EXPECT_EQ(none.messages.back().text,
              "No Check can be done\r\nbecause no data\r\nwas selected !");

    lists.src = {"___ := _; ", "", "  y2 := ___; "};
    CheckResult found = Check_Run(lists, delims, dir.dir());
    EXPECT_FALSE(found.clean);
    EXPECT_EQ(lists.src_tmp, (TextList{"", "", "y2"}));
    EXPECT_EQ(dir.read("Tokens-ERROR.dat"), "\r\n\r\ny2\r\n");
    EXPECT_EQ(found.messages.back().text,
              "^F:" + dir.dir() +
                  "Tokens-ERROR.dat^look at the remaining tokens\r\nand if possible\r\nsend us "
                  "the file as Error-Report");

    dir.write("Tokens-ERROR.dat", "older");
    lists.src = {"___ := _;"};
    CheckResult clean = Check_Run(lists, delims, dir.dir());
    EXPECT_TRUE(clean.clean);
    EXPECT_EQ(clean.messages.back().text, "^C:NO ERROR FOUND");
    EXPECT_EQ(dir.read("Tokens-ERROR.dat"), "older"); // a clean check writes nothing
}

TEST(TextOrder, SortIsCaseBlindStableAndBytewise) {
    TextList list = {"b", "B", "a\x01", "A", "abcdefghZ", "ABCDEFGHa", "a", "\xe4x", "_x", "ab\0c"};
    list[9] = std::string("ab\0c", 4);
    TextList expected = list;
    std::stable_sort(expected.begin(), expected.end(),
                     [](const std::string& x, const std::string& y) { return Less_No_Case(x, y); });
    Sort_No_Case(list);
    EXPECT_EQ(list, expected);
    EXPECT_EQ(list.front(), "A"); // "A" before "a": equal when raised, kept in place
}

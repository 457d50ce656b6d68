#include "window/listing_session.h"

#include "temp_dir.h"

#include <gtest/gtest.h>

using namespace parvex;
using parvex::test::TempDir;

TEST(ListingSession, RoadOfOneFile) {
    TempDir prog, src;
    prog.write("Dont/Tokens-Personal.dat", "WriteLn\r\n");
    auto file = src.write("Unit1.pas", "procedure P;\nbegin\n  writeln('x', 1);\nend;\n");
    ListingSession s(prog.dir());
    ASSERT_TRUE(s.Load_Token_Tables());
    EXPECT_EQ(s.tokens().Token_Index(), ".WriteLn.");

    // Restoring the name at start-up loads nothing; a change afterwards pre-loads the text.
    ASSERT_TRUE(s.Source_Change(file.string(), false));
    EXPECT_TRUE(s.lists().src_o.empty());
    ASSERT_TRUE(s.Source_Change(file.string(), true));
    EXPECT_EQ(s.lists().src_o.size(), 4u);

    EXPECT_EQ(s.Listing_Run().status, RunStatus::Done);
    EXPECT_EQ(s.lists().src_o[2], "  WriteLn('x', 1);");
    CheckResult check = s.Check_Run();
    EXPECT_TRUE(check.clean);
    EXPECT_EQ(check.messages.back().text, "^C:NO ERROR FOUND");

    SaveResult saved = s.Save_To_Source_Path();
    ASSERT_TRUE(saved.saved);
    EXPECT_EQ(saved.messages.back().text, "^C:^F:" + src.dir() + "^Saved Files!");
    EXPECT_EQ(src.read("Unit1.pas-SAVED"), "procedure P;\nbegin\n  writeln('x', 1);\nend;\n");
    EXPECT_EQ(s.Check_Run().messages.back().title, "NO Check ...");
}

TEST(ListingSession, SaveToWorkPathAndPreloadSwitch) {
    TempDir prog, src;
    auto file = src.write("a.pas", "x;\n");
    ListingSession s(prog.dir());
    s.preload = false;
    ASSERT_TRUE(s.Source_Change(file.string(), true));
    EXPECT_TRUE(s.lists().src_o.empty());
    // Without a run (and without pre-loading) there is nothing to save.
    EXPECT_EQ(s.Save_To_Work_Path().messages.back().title, "save to Source-Path");
    ASSERT_EQ(s.Listing_Run().status, RunStatus::Done);
    ASSERT_TRUE(s.Save_To_Work_Path().saved);
    EXPECT_EQ(prog.read("Data/a.pas"), "x;\n");
    EXPECT_EQ(src.read("a.pas"), "x;\n"); // the source stays as it was
}

TEST(ListingSession, TokenFilesFollowTheirSwitches) {
    TempDir prog;
    prog.write("Dont/Tokens.dat", "Cumulated\r\n");
    ListingSession s(prog.dir());
    ASSERT_TRUE(s.Load_Token_Tables());
    EXPECT_EQ(s.tokens().Token_Count(), 0); // personal tokens only by default
    s.personal_only = false;
    ASSERT_TRUE(s.Load_Token_Tables());
    EXPECT_EQ(s.tokens().Token_Index(), ".Cumulated.");
    s.save_cumulated = false;
    prog.write("Dont/Tokens.dat", "kept\r\n");
    ASSERT_TRUE(s.Save_Token_Table());
    EXPECT_EQ(prog.read("Dont/Tokens.dat"), "kept\r\n");
    s.save_cumulated = true;
    ASSERT_TRUE(s.Save_Token_Table());
    EXPECT_EQ(prog.read("Dont/Tokens.dat"), "Cumulated\r\n");
    EXPECT_FALSE(s.Reload_Personal_Tokens().ok); // no personal file to reload
}

TEST(ListingSession, BothSavesRefuseADamagedNewTextAndWriteNothing) {
    TempDir prog, src;
    const std::string text = "procedure P;\nbegin\n  s := 'abc';\nend;\n";
    auto file = src.write("u.pas", text);
    ListingSession s(prog.dir());
    for (bool to_source : {true, false}) {
        ASSERT_TRUE(s.Source_Change(file.string(), true));
        ASSERT_EQ(s.Listing_Run().status, RunStatus::Done);
        s.lists().src_o[2] = "  s := 'ABC';"; // a literal re-cased
        SaveResult r = to_source ? s.Save_To_Source_Path() : s.Save_To_Work_Path();
        EXPECT_FALSE(r.saved);
        ASSERT_EQ(r.messages.size(), 1u);
        EXPECT_EQ(r.messages[0].kind, MessageKind::L_Error);
        EXPECT_NE(r.messages[0].text.find(file.string() + ":3: refused: letter case changed "
                                                          "inside a literal"),
                  std::string::npos)
            << r.messages[0].text;
        EXPECT_EQ(src.read("u.pas"), text);
        EXPECT_FALSE(std::filesystem::exists(src.path() / "u.pas-SAVED"));
        EXPECT_FALSE(std::filesystem::exists(prog.path() / "Data/u.pas"));
    }
}

TEST(ListingSession, APreloadedTextIsNeverSavedWithoutARun) {
    TempDir prog, src;
    auto file = src.write("a.pas", "begin x end.\n");
    src.write("a.pas-SAVED", "the true original\n");
    ListingSession s(prog.dir());
    ASSERT_TRUE(s.Source_Change(file.string(), true));
    ASSERT_FALSE(s.lists().src_o.empty()); // pre-loaded for the Work page
    for (SaveResult r : {s.Save_To_Source_Path(), s.Save_To_Work_Path()}) {
        EXPECT_FALSE(r.saved);
        EXPECT_EQ(r.messages.back().text,
                  "^C:^F:" + file.string() + "^no conversion has been done !");
    }
    EXPECT_EQ(src.read("a.pas-SAVED"), "the true original\n");
    EXPECT_FALSE(std::filesystem::exists(prog.path() / "Data/a.pas"));
    // A run of another file does not count for this one.
    auto other = src.write("b.pas", "y;\n");
    ASSERT_TRUE(s.Source_Change(other.string(), true));
    ASSERT_EQ(s.Listing_Run().status, RunStatus::Done);
    ASSERT_TRUE(s.Source_Change(file.string(), true));
    EXPECT_FALSE(s.Save_To_Source_Path().saved);
    // After a run the save goes through; saving the same text again says it is unchanged.
    s.options.output_case = 0;
    ASSERT_EQ(s.Listing_Run().status, RunStatus::Done);
    ASSERT_TRUE(s.Save_To_Source_Path().saved);
    EXPECT_EQ(src.read("a.pas"), "BEGIN X END.\n");
    EXPECT_EQ(src.read("a.pas-SAVED"), "begin x end.\n");
    ASSERT_EQ(s.Listing_Run().status, RunStatus::Done);
    SaveResult again = s.Save_To_Source_Path();
    ASSERT_TRUE(again.saved);
    EXPECT_EQ(again.messages.back().text, "^C:^F:" + src.dir() + "^Saved Files!\r\ntext unchanged");
    EXPECT_EQ(src.read("a.pas-SAVED"), "begin x end.\n");
}

TEST(ListingSession, ARunRefusesWhatIsNoTextFile) {
    TempDir prog, src;
    auto utf16 = src.write("w.pas", std::string("\xFF\xFE"
                                                "b\0e\0g\0",
                                                8));
    std::filesystem::create_directory(src.path() / "dir.pas");
    // Text at first, then a hole as large as the limit (it takes no room on the disk).
    auto huge = src.write_sparse("huge.inc", test::text_of_size(3 * Binary_Probe_Size),
                                 Default_Max_Input_Size + 1);
    struct Case {
        std::string file;
        std::string preload_error; // what choosing the file says ("" when it is taken)
        std::string text;
    } cases[] = {
        {utf16.string(), utf16.string() + ": binary or UTF-16 file, not listed",
         "^C:^F:" + utf16.string() + "^Binary or UTF-16 file, not listed !"},
        {huge.string(),
         huge.string() + ": larger than the limit of 64 MiB (67108865 bytes), not listed",
         "^C:^F:" + huge.string() +
             "^Larger than the limit of 64 MiB (67108865 bytes), not listed !"},
        {src.dir() + "dir.pas", "", "^C:^F:" + src.dir() + "dir.pas^Is a folder, not a file !"},
        {src.dir() + "none.pas", "", "^C:^F:" + src.dir() + "none.pas^File does not exist !"},
    };
    ListingSession s(prog.dir());
    for (const auto& c : cases) {
        ASSERT_TRUE(s.Source_Change(src.dir() + "dir.pas", true));
        s.lists().src_o = {"left over"};
        FileResult chosen = s.Source_Change(c.file, true);
        EXPECT_EQ(chosen.error, c.preload_error);
        EXPECT_TRUE(s.lists().src_o.empty()) << c.file; // nothing half-loaded is shown
        RunResult r = s.Listing_Run();
        EXPECT_NE(r.status, RunStatus::Done) << c.file;
        ASSERT_FALSE(r.messages.empty());
        EXPECT_EQ(r.messages.back().title, "Source-File");
        EXPECT_EQ(r.messages.back().text, c.text);
        EXPECT_TRUE(s.lists().src_o.empty()) << c.file;
        EXPECT_FALSE(s.Save_To_Source_Path().saved);
    }
    EXPECT_EQ(src.read("w.pas").size(), 8u);
    EXPECT_EQ(std::filesystem::file_size(huge), Default_Max_Input_Size + 1);
}

// The window's token files are refused alike: a binary personal file at start-up or on reload
// leaves no token loaded, and says which file and why.
TEST(ListingSession, ABinaryTokenFileIsRefused) {
    TempDir prog;
    ListingSession s(prog.dir());
    std::filesystem::create_directories(s.dont_dir());
    const std::string personal = s.dont_dir() + "Tokens-Personal.dat";
    parvex::test::write_bytes(personal, std::string("Alpha\r\n\x01\x00\x7f", 10));
    FileResult r = s.Load_Token_Tables();
    EXPECT_EQ(r.error, personal + ": binary or UTF-16 file, not loaded");
    EXPECT_EQ(s.tokens().Token_Index(), "");
    r = s.Reload_Personal_Tokens();
    EXPECT_EQ(r.error, personal + ": binary or UTF-16 file, not loaded");
    EXPECT_TRUE(s.tokens().personal().empty());
}

TEST(ListingSession, ASourceGoneSinceTheRunIsSaidToBeMissingNotChanged) {
    TempDir prog, src;
    auto file = src.write("a.pas", "x;\n");
    ListingSession s(prog.dir());
    ASSERT_TRUE(s.Source_Change(file.string(), true));
    ASSERT_EQ(s.Listing_Run().status, RunStatus::Done);
    std::filesystem::remove(file);
    SaveResult r = s.Save_To_Source_Path();
    EXPECT_FALSE(r.saved);
    EXPECT_FALSE(r.source_changed);
    EXPECT_EQ(r.messages.back().text, "^C:^F:" + file.string() + "^File does not exist !");
}

#include "dialogs/markup.h"

#include <gtest/gtest.h>

using namespace parvex;

TEST(DialogsMarkup, DecodesCodeCombinations) {
    struct Case {
        const char* msg;
        const char* text;
        bool centred;
        bool file_strip;
        const char* file_name;
        bool progress_strip;
        const char* caption;
    } cases[] = {
        {"plain text", "plain text", false, false, "", false, ""},
        {"", "", false, false, "", false, ""},
        {"^C:NO ERROR FOUND", "NO ERROR FOUND", true, false, "", false, ""},
        // The third character is skipped unread.
        {"^C#centred", "centred", true, false, "", false, ""},
        {"^C:^F:/tmp/a.pas^File does not exist !", "File does not exist !", true, true,
         "/tmp/a.pas", false, ""},
        // A later code empties the file name, the strip stays visible.
        {"^F:/tmp/a.pas^^C:text", "text", true, true, "", false, ""},
        // No closing "^": the name becomes the text and the file name stays empty.
        {"^F:/tmp/a.pas", "/tmp/a.pas", false, true, "", false, ""},
        {"^C:^P:scanning^^F:/x/U.pas^working on file", "working on file", true, true, "/x/U.pas",
         true, "scanning"},
        {"^P:^rest", "rest", false, false, "", true, ""},
        // Only mark-up: an empty text.
        {"^C:", "", true, false, "", false, ""},
        {"^C", "", true, false, "", false, ""},
        // Not a code: decoding stops and the text stays as it is.
        {"^c:lower", "^c:lower", false, false, "", false, ""},
        {"^X:other", "^X:other", false, false, "", false, ""},
        {"^C:^Q:rest", "^Q:rest", true, false, "", false, ""},
        {"^", "^", false, false, "", false, ""},
        {"text ^C: later", "text ^C: later", false, false, "", false, ""},
    };
    for (const auto& c : cases) {
        Decoded_Message d = Decode_Mess(c.msg);
        EXPECT_EQ(d.text, c.text) << c.msg;
        EXPECT_EQ(d.centred, c.centred) << c.msg;
        EXPECT_EQ(d.file_strip, c.file_strip) << c.msg;
        EXPECT_EQ(d.file_name, c.file_name) << c.msg;
        EXPECT_EQ(d.progress_strip, c.progress_strip) << c.msg;
        EXPECT_EQ(d.progress_caption, c.caption) << c.msg;
    }
}

TEST(DialogsMarkup, ShortensPathFromTheLeftAtFolderBoundaries) {
    auto fits_within = [](std::size_t n) {
        return [n](const std::string& s) { return s.size() <= n; };
    };
    EXPECT_EQ(Shorten_Path_Left("/home/u/src/Unit1.pas", fits_within(40)), "/home/u/src/Unit1.pas");
    EXPECT_EQ(Shorten_Path_Left("/home/u/src/Unit1.pas", fits_within(17)), ".../src/Unit1.pas");
    EXPECT_EQ(Shorten_Path_Left("C:\\work\\src\\Unit1.pas", fits_within(18)),
              "...\\src\\Unit1.pas");
    // Nothing fits: the shortest form, still ending in the file name.
    EXPECT_EQ(Shorten_Path_Left("/home/u/src/Unit1.pas", fits_within(3)), ".../Unit1.pas");
    EXPECT_EQ(Shorten_Path_Left("Unit1.pas", fits_within(3)), "Unit1.pas");
}

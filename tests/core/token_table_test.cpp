#include "engine/token_table.h"

#include "engine/byte_loads.h"
#include "tables/subs.h"

#include "temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace parvex;
using parvex::test::TempDir;

TEST(TokenTable, RegisterKeepsFirstSpelling) {
    TokenTable t;
    EXPECT_EQ(t.Register_Token("Foo"), "Foo");
    EXPECT_EQ(t.Register_Token("FOO"), "Foo");
    EXPECT_EQ(t.Register_Token("foo"), "Foo");
    EXPECT_EQ(t.Register_Token("Bar"), "Bar");
    EXPECT_EQ(t.Token_Index(), ".Foo.Bar.");
    EXPECT_EQ(t.Token_Count(), 2);
    // With "do not cumulate" (the default) the loaded list does not grow.
    EXPECT_TRUE(t.loaded().empty());
    t.do_not_cumulate = false;
    t.Register_Token("Baz");
    EXPECT_EQ(t.loaded(), TextList{"Baz"});
}

TEST(TokenTable, WholeEntriesOnlyAndExactHighBytes) {
    TokenTable t;
    t.Register_Token("Form1");
    EXPECT_EQ(t.Register_Token("form"), "form"); // not a prefix match
    EXPECT_EQ(t.Register_Token("FORM1"), "Form1");
    t.Register_Token("\xc4rger");
    EXPECT_EQ(t.Register_Token("\xe4RGER"), "\xe4RGER"); // letters above 127 compare exactly
    EXPECT_EQ(t.Token_Count(), 4);
}

TEST(TokenTable, DottedTokensAnswerLikeTheIndexSearch) {
    TempDir dir;
    auto personal = dir.write("p.dat", "Sys.Utils\r\n");
    TokenTable t;
    ASSERT_TRUE(t.Load_Token_Tables("", personal.string()));
    EXPECT_EQ(t.Token_Index(), ".Sys.Utils.");
    EXPECT_EQ(t.Register_Token("sys"), "Sys");
    EXPECT_EQ(t.Register_Token("UTILS"), "Utils");
    EXPECT_EQ(t.Register_Token("SYS.UTILS"), "Sys.Utils");
    EXPECT_EQ(t.Token_Count(), 1);
    // A dotted key is looked for as "." + key + "." in the index, in any letter case: it may
    // span neighbouring entries, and only a-z fold.
    t.Register_Token("Alpha");
    t.Register_Token("\xc4rger");
    EXPECT_EQ(t.Register_Token("utils.ALPHA"), "Utils.Alpha");
    EXPECT_EQ(t.Register_Token("sys.utils.alpha"), "Sys.Utils.Alpha");
    EXPECT_EQ(t.Register_Token("ALPHA.\xc4RGER"), "Alpha.\xc4rger");
    EXPECT_EQ(t.Register_Token("alpha.\xe4rger"), "alpha.\xe4rger"); // new: \xe4 is not \xc4
    EXPECT_EQ(t.Register_Token("Utils.Alph"), "Utils.Alph");         // whole entries only
    EXPECT_EQ(t.Token_Count(), 5);
}

TEST(TokenTable, StartUpLoadLastPersonalSpellingWins) {
    TempDir dir;
    auto personal = dir.write("p.dat", "  MyType  \r\n// note\r\n//\r\n\r\n/x\r\nFoo\r\nFOO\r\n");
    auto tokens = dir.write("Tokens.dat", "zeta\r\nAlpha\r\nfoo\r\n");
    TokenTable t;
    ASSERT_TRUE(t.Load_Token_Tables(tokens.string(), personal.string()));
    // Tokens.dat is sorted; personal spellings replace the first match or are appended.
    EXPECT_EQ(t.loaded(), (TextList{"Alpha", "FOO", "zeta", "MyType", "/x"}));
    EXPECT_EQ(t.personal().front(), "  MyType  "); // shown as stored after start-up
    EXPECT_EQ(t.Token_Index(), ".Alpha.FOO.zeta.MyType./x.");
    EXPECT_EQ(t.Token_Count(), 5);
}

TEST(TokenTable, DuplicateSpellingsInTokensFileBothEnterIndex) {
    TempDir dir;
    auto tokens = dir.write("Tokens.dat", "Beta\r\nBETA\r\n");
    TokenTable t;
    ASSERT_TRUE(t.Load_Token_Tables(tokens.string(), (dir.path() / "none").string()));
    EXPECT_EQ(t.Token_Index(), ".Beta.BETA.");
    EXPECT_EQ(t.Register_Token("beta"), "Beta");
}

TEST(TokenTable, MissingFilesAtStartUpAreSkipped) {
    TempDir dir;
    TokenTable t;
    EXPECT_TRUE(t.Load_Token_Tables(dir.dir() + "Tokens.dat", dir.dir() + "Tokens-Personal.dat"));
    EXPECT_EQ(t.Token_Index(), "");
    EXPECT_EQ(t.Token_Count(), 0);
}

TEST(TokenTable, ReloadFirstSpellingWinsAndTrims) {
    TempDir dir;
    auto personal = dir.write("p.dat", "  Foo \r\nFOO\r\n// x\r\nBar\r\n");
    TokenTable t;
    t.Register_Token("Leftover");
    ASSERT_TRUE(t.Reload_Personal_Tokens(personal.string()));
    EXPECT_EQ(t.loaded(), (TextList{"Foo", "Bar"}));
    EXPECT_EQ(t.personal(), (TextList{"Foo", "FOO", "// x", "Bar"}));
    EXPECT_EQ(t.Token_Index(), ".Foo.Bar.");
    EXPECT_TRUE(t.do_not_cumulate); // restored
}

TEST(TokenTable, ReloadOfMissingFileFailsWithEmptyTables) {
    TempDir dir;
    TokenTable t;
    t.Register_Token("Leftover");
    FileResult r = t.Reload_Personal_Tokens(dir.dir() + "missing.dat");
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("missing.dat"), std::string::npos);
    EXPECT_EQ(t.Token_Index(), "");
    EXPECT_TRUE(t.loaded().empty());
}

TEST(TokenTable, SaveWritesSortedOnlyWhenAsked) {
    TempDir dir;
    TokenTable t;
    t.do_not_cumulate = false;
    for (const char* tok : {"zeta", "Alpha", "beta", "ALPHA2"})
        t.Register_Token(tok);
    const std::string file = dir.dir() + "Tokens.dat";
    ASSERT_TRUE(t.Save_Token_Table(file, false));
    EXPECT_FALSE(File_Exists(file));
    ASSERT_TRUE(t.Save_Token_Table(file, true));
    EXPECT_EQ(dir.read("Tokens.dat"), "Alpha\r\nALPHA2\r\nbeta\r\nzeta\r\n");
}

TEST(TokenTable, ManyTokensKeepTheirFirstSpellingAcrossGrowth) {
    TokenTable t;
    for (int i = 0; i < 20000; ++i)
        t.Register_Token("Tok" + std::to_string(i));
    for (int i = 0; i < 20000; i += 997)
        EXPECT_EQ(t.Register_Token("TOK" + std::to_string(i)), "Tok" + std::to_string(i));
    EXPECT_EQ(t.Token_Count(), 20000);
    EXPECT_EQ(t.Find_Token("tok20000"), std::nullopt);
}

// The index is compared with upper-cased keys as if it were upper-cased itself: for keys of
// every length up to a few steps of eight bytes, a-z fold, and a byte changed anywhere (or a
// letter above 127 in the other case) tells them apart.
TEST(TokenTable, KeysCompareWithTheIndexAsIfUpperCased) {
    for (std::size_t n = 0; n <= 20; ++n) {
        std::string text;
        for (std::size_t k = 0; k < n; ++k)
            text += static_cast<char>((k % 2 ? 'a' : 'A') + k % 26);
        std::string key = text;
        for (char& c : key)
            c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
        EXPECT_TRUE(Equal_Upper(text.data(), key.data(), n)) << n;
        for (std::size_t at = 0; at < n; ++at) {
            std::string other = key;
            other[at] = '_';
            EXPECT_FALSE(Equal_Upper(text.data(), other.data(), n)) << n << " at " << at;
            std::string high = text;
            high[at] = '\xe4';
            other = key;
            other[at] = '\xc4';
            EXPECT_FALSE(Equal_Upper(high.data(), other.data(), n)) << n << " at " << at;
        }
    }
}

// The start-up load against a plain model of its rule, over thousands of tokens of every
// length: the cumulated list sorted, each personal line replacing the first entry of its token
// (the last personal spelling wins) or appended after the others, first place kept.
TEST(TokenTable, ManyTokenFileLinesGiveWhatTheRuleGives) {
    TempDir dir;
    std::string tokens_text, personal_text;
    TextList tokens, personal;
    for (int i = 0; i < 6000; ++i) {
        std::string tok =
            "tok" + std::string(static_cast<std::size_t>(i % 23), 'x') + std::to_string(i % 4000);
        tokens.push_back(tok);
        tokens_text += tok + "\r\n";
    }
    for (int i = 0; i < 6000; i += 3) {
        std::string line = (i % 2 ? "TOK" : "Tok") +
                           std::string(static_cast<std::size_t>(i % 23), i % 5 ? 'X' : 'x') +
                           std::to_string(i % 5000);
        personal.push_back(i % 7 ? line : " " + line + "\t");
        personal_text += personal.back() + "\r\n";
    }
    TokenTable t;
    ASSERT_TRUE(t.Load_Token_Tables(dir.write("Tokens.dat", tokens_text).string(),
                                    dir.write("p.dat", personal_text).string()));

    TextList expected = tokens;
    std::stable_sort(
        expected.begin(), expected.end(),
        [](const std::string& a, const std::string& b) { return Upper_Ascii(a) < Upper_Ascii(b); });
    for (const std::string& line : personal) {
        const std::string tok = Trim(line);
        auto same = std::find_if(expected.begin(), expected.end(), [&](const std::string& e) {
            return Upper_Ascii(e) == Upper_Ascii(tok);
        });
        if (same == expected.end())
            expected.push_back(tok);
        else
            *same = tok;
    }
    // Entries equal but for letter case may stand in either order after the sort.
    ASSERT_EQ(t.loaded().size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(Upper_Ascii(t.loaded()[i]), Upper_Ascii(expected[i])) << i;
    for (const std::string& line : personal)
        EXPECT_EQ(t.Find_Token(Trim(line)), Trim(line)) << line;
    EXPECT_EQ(t.Token_Count(), static_cast<int>(expected.size()));
}

// A token file that is no text, or larger than the limit, is refused with its name and why,
// and no token of either file is loaded: nothing of an earlier load stays either.
TEST(TokenTable, TokenFilesThatAreNoTextOrTooLargeLoadNothing) {
    TempDir dir;
    const std::string good = dir.write("good.dat", "Alpha\r\nBeta\r\n").string();
    const std::string nul = dir.write("nul.dat", std::string("Gamma\r\n\0\r\n", 10)).string();
    const std::string utf16 = dir.write("utf16.dat", "\xFF\xFEG\0a\0").string();
    const std::string big = dir.write("big.dat", std::string(300, 'x') + "\r\n").string();
    struct Case {
        std::string tokens, personal;
        std::uint64_t limit;
        std::string error;
    } cases[] = {
        {"", nul, 1000, nul + ": binary or UTF-16 file, not loaded"},
        {"", utf16, 1000, utf16 + ": binary or UTF-16 file, not loaded"},
        {nul, good, 1000, nul + ": binary or UTF-16 file, not loaded"},
        {big, good, 301, big + ": larger than the limit of 301 bytes (302 bytes), not loaded"},
        {good, big, 200, big + ": larger than the limit of 200 bytes (302 bytes), not loaded"},
    };
    for (const auto& c : cases) {
        TokenTable t;
        ASSERT_TRUE(t.Load_Token_Tables("", good));
        FileResult r = t.Load_Token_Tables(c.tokens, c.personal, c.limit);
        EXPECT_FALSE(r.ok) << c.error;
        EXPECT_EQ(r.error, c.error);
        EXPECT_TRUE(t.loaded().empty()) << c.error;
        EXPECT_TRUE(t.personal().empty()) << c.error;
        EXPECT_EQ(t.Token_Index(), "") << c.error;
        EXPECT_EQ(t.Token_Count(), 0) << c.error;
        // The reload of the personal tokens refuses such a file alike.
        if (c.tokens.empty() || c.personal == big) {
            ASSERT_TRUE(t.Reload_Personal_Tokens(good));
            FileResult again = t.Reload_Personal_Tokens(c.personal, c.limit);
            EXPECT_EQ(again.error, c.error);
            EXPECT_TRUE(t.loaded().empty()) << c.error;
            EXPECT_EQ(t.Token_Index(), "") << c.error;
        }
    }
}

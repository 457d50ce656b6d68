#include "news/news_rules.h"

#include <gtest/gtest.h>

using namespace parvex;

TEST(NewsRules, CheckDatesAreReadInBothForms) {
    struct Case {
        const char* text;
        std::optional<Civil_Date> date;
    } cases[] = {
        {"2026-12-10", Civil_Date{2026, 12, 10}},
        {"10.12.2026", Civil_Date{2026, 12, 10}},
        {"01.01.1980", Civil_Date{1980, 1, 1}},
        {"2024-02-29", Civil_Date{2024, 2, 29}},
        {"2023-02-29", std::nullopt},
        {"2026-13-01", std::nullopt},
        {"12/10/2026", std::nullopt},
        {"2026-1-1", std::nullopt},
        {"", std::nullopt},
        {"2026-12-10 ", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Parse_Check_Date(c.text), c.date) << c.text;
    EXPECT_EQ(Format_Check_Date({2026, 3, 7}), "2026-03-07");
    EXPECT_EQ(Days_Since_Epoch({1970, 1, 1}), 0);
    EXPECT_EQ(Days_Since_Epoch({2000, 3, 1}) - Days_Since_Epoch({2000, 2, 28}), 2);
}

TEST(NewsRules, StartUpCheckIsDueAfterItsDays) {
    const Civil_Date today{2026, 12, 10};
    struct Case {
        const char* last;
        int days;
        bool due;
    } cases[] = {
        {"2026-12-03", 7, true},  // seven days ago
        {"2026-12-04", 7, false}, // six days ago
        {"03.12.2026", 7, true},  // the older form
        {"2026-12-10", 1, false},  {"2026-12-09", 1, true},
        {"2026-11-30", 60, false}, {"01.01.1980", 60, true},
        {"2026-12-11", 7, true}, // in the future: the clock was wrong once
        {"not a date", 7, true},   {"", 7, true},
        {"2026-12-10", 0, false}, // the interval is at least a day
    };
    for (const Case& c : cases)
        EXPECT_EQ(News_Check_Due(c.last, today, c.days), c.due) << c.last << " " << c.days;
}

TEST(NewsRules, OnlyNewsTablesAreTaken) {
    struct Case {
        std::string bytes;
        bool ok;
    } cases[] = {
        {"Nr.|Program|Version|Action|from|to|what's up|m4D\r\n1|P|1.0|DONE|a|b|c~~|False\r\n",
         true},
        {"Nr.|Program|Version|Action|from|to|what's up|m4D\r\n", true},
        {"Nr.|Program|Version|Action|from|to|what's up|m4D\n1|P|1|DONE||||\n", true},
        {"<html><body><h1>404 Not Found</h1></body></html>\r\n", false},
        {"", false},
        {"Nr.|Program|Version|Action\r\n", false},
        {"Nr.|Program|Version|Action|from|to|what's up|m4D\r\n1|2|3|4|5|6|7|8|9\r\n", false},
        {std::string("Nr.|Program|Version|Action|from|to|what's up|m4D\r\n\0|", 52), false},
    };
    for (const Case& c : cases) {
        FileResult r = Check_News_Table(c.bytes);
        EXPECT_EQ(r.ok, c.ok) << c.bytes;
        if (!r.ok) {
            EXPECT_FALSE(r.error.empty());
        }
    }
}

TEST(NewsRules, WhatsUpShowsEachLineOnce) {
    struct Case {
        const char* stored;
        const char* memo;
    } cases[] = {
        {"one~~two", "one\ntwo"},   // text after the last mark is a last line
        {"one~~two~~", "one\ntwo"}, // the last mark starts no empty line
        {"one~~~~", "one\n"},       // an empty last line
        {"a~~~~b~~", "a\n\nb"},     // an empty line between
        {"x~~~", "x~"},             // a tilde at a line's end stays with it
        {"a~~~b", "a~\nb"},
        {"~~~", "~"},
        {"a~b", "a~b"},
        {"~~", ""},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Whats_Up_Memo_Text(c.stored), c.memo) << c.stored;
}

// A round through the memo changes nothing: the text stored for a memo shows as that memo
// again, and storing it again gives the same text.
TEST(NewsRules, WhatsUpRoundTripsThroughTheMemo) {
    for (const char* memo : {"one\ntwo", "x~", "a~\nb", "one\n", "one\n\n", "\n", "a\n\nb", "~x",
                             "~", "~\nx", "a~b~c", "tilde~\n\nnext", "caf\xC3\xA9 ~ ok", ""}) {
        const std::optional<std::string> stored = Whats_Up_From_Memo(memo);
        ASSERT_TRUE(stored.has_value()) << memo;
        EXPECT_EQ(Whats_Up_Memo_Text(*stored), memo) << *stored;
        EXPECT_EQ(Whats_Up_From_Memo(Whats_Up_Memo_Text(*stored)), stored) << memo;
    }
    EXPECT_EQ(Whats_Up_From_Memo("one\ntwo"), "one~~two~~");
    EXPECT_EQ(Whats_Up_From_Memo("x~"), "x~~~");
    EXPECT_EQ(Whats_Up_From_Memo("one\r\ntwo\r"), "one~~two~~~~");
    EXPECT_EQ(Whats_Up_From_Memo(""), ""); // an empty memo leaves no "~~" behind
    // Texts that would come back as other text are not stored at all.
    for (const char* memo : {"a~~b", "x~~", "a\n~b", "a\n~", "a\n~~", "a|b", "a\n|"})
        EXPECT_EQ(Whats_Up_From_Memo(memo), std::nullopt) << memo;
}

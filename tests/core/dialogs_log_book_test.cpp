#include "dialogs/log_book.h"

#include "temp_dir.h"

#include <gtest/gtest.h>

using namespace parvex;

namespace {

// A clock that stands still until the test moves it, with plain formats.
struct Fake_Clock {
    Local_Date_Time now{2024, 3, 9, 14, 5, 7};
    Log_Clock clock() {
        Log_Clock c;
        c.now = [this] { return now; };
        c.short_date = [](const Local_Date_Time& d) {
            return std::to_string(d.day) + "." + std::to_string(d.month) + "." +
                   std::to_string(d.year);
        };
        c.long_time = [](const Local_Date_Time& d) {
            return std::to_string(d.hour) + ":" + std::to_string(d.minute) + ":" +
                   std::to_string(d.second);
        };
        return c;
    }
};

struct LogBookTest : ::testing::Test {
    test::TempDir dir;
    Fake_Clock fake;
    Log_Book log{fake.clock()};
    std::string file = dir.dir() + "Logfile.txt";

    void open_enabled() {
        log.LogFile_Name = file;
        log.Log_Enabled = true;
        ASSERT_TRUE(log.Open());
    }
};

} // namespace

TEST_F(LogBookTest, WritesMessageAndEventEntriesTabSeparated) {
    open_enabled();
    ASSERT_TRUE(log.Log_IT("I N F O", "NO ERROR FOUND", ""));
    ASSERT_TRUE(log.Log_IT("S T O P", "File does not exist !", "/x/Unit1.pas"));
    ASSERT_TRUE(log.Log_Line("Changed SetUp", "LogFile=True"));
    EXPECT_EQ(test::read_bytes(file), "9.3.2024 14:5:7\tI N F O\tNO ERROR FOUND\r\n"
                                      "9.3.2024 14:5:7\tS T O P\tFile does not exist !\t"
                                      "/x/Unit1.pas\r\n"
                                      "9.3.2024 14:5:7\tChanged SetUp\tLogFile=True\r\n");
}

TEST_F(LogBookTest, LeavesTheTimeOutAtMidnight) {
    fake.now = {2024, 12, 31, 0, 0, 0};
    open_enabled();
    ASSERT_TRUE(log.Log_Line("End", "of Process"));
    fake.now = {2024, 12, 31, 0, 0, 1};
    ASSERT_TRUE(log.Log_Line("End", "of Process"));
    EXPECT_EQ(test::read_bytes(file),
              "31.12.2024\tEnd\tof Process\r\n31.12.2024 0:0:1\tEnd\tof Process\r\n");
}

TEST_F(LogBookTest, LogsNothingBeforeOpeningOrWhileSwitchedOff) {
    log.LogFile_Name = file;
    log.Log_Enabled = true;
    ASSERT_TRUE(log.Log_Line("lost", "before opening"));
    ASSERT_TRUE(log.Open());
    log.Log_Enabled = false;
    ASSERT_TRUE(log.Log_IT("title", "switched off", ""));
    EXPECT_TRUE(log.Lines().empty());
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(LogBookTest, OpensOnlyOnceAndTakesOverTheFile) {
    dir.write("Logfile.txt", "old 1\r\nold 2\nold 3\r");
    open_enabled();
    EXPECT_EQ(log.Lines(), (TextList{"old 1", "old 2", "old 3"}));
    dir.write("Logfile.txt", "changed behind our back\r\n");
    ASSERT_TRUE(log.Open());
    EXPECT_EQ(log.Lines().size(), 3u);
    ASSERT_TRUE(log.Log_Line("k", "t"));
    EXPECT_EQ(test::read_bytes(file), "old 1\r\nold 2\r\nold 3\r\n9.3.2024 14:5:7\tk\tt\r\n");
}

TEST_F(LogBookTest, OpeningWithoutAFileNameDoesNothing) {
    log.Log_Enabled = true;
    ASSERT_TRUE(log.Open());
    EXPECT_FALSE(log.Log_Loaded());
}

TEST_F(LogBookTest, TrimsToTheNewestLines) {
    struct Case {
        int before;
        int max;
        std::size_t after;
    } cases[] = {{50, 50, 50}, {50, 10, 10}, {3, 50, 4}, {5, 0, 0}, {5, -3, 0}};
    for (const auto& c : cases) {
        std::string text;
        for (int i = 1; i <= c.before; ++i)
            text += "line " + std::to_string(i) + "\r\n";
        test::TempDir d;
        d.write("Logfile.txt", text);
        Log_Book book(fake.clock());
        book.LogFile_Name = d.dir() + "Logfile.txt";
        book.Log_Enabled = true;
        book.Max_Log_Lines = c.max;
        ASSERT_TRUE(book.Open());
        ASSERT_TRUE(book.Log_Line("new", "entry"));
        TextList on_disk = Split_Lines(test::read_bytes(d.path() / "Logfile.txt"));
        ASSERT_EQ(on_disk.size(), c.after) << c.before << "/" << c.max;
        if (c.after > 0) {
            EXPECT_EQ(on_disk.back(), "9.3.2024 14:5:7\tnew\tentry");
            if (c.after < static_cast<std::size_t>(c.before) + 1) {
                EXPECT_EQ(on_disk.front(),
                          "line " + std::to_string(c.before + 2 - static_cast<int>(c.after)));
            }
        }
    }
}

TEST_F(LogBookTest, AMultiLineTextSpansSeveralFileLines) {
    open_enabled();
    ASSERT_TRUE(log.Log_IT("T", "first\r\nsecond", ""));
    EXPECT_EQ(test::read_bytes(file), "9.3.2024 14:5:7\tT\tfirst\r\nsecond\r\n");
}

TEST_F(LogBookTest, AnUnwritableFileKeepsTheMemoryLogAndIsReportedOnce) {
    log.LogFile_Name = dir.dir() + "missing-folder/Logfile.txt";
    log.Log_Enabled = true;
    ASSERT_TRUE(log.Open());
    EXPECT_FALSE(log.Log_Line("a", "1"));
    auto first = log.Take_New_Write_Error();
    ASSERT_TRUE(first.has_value());
    EXPECT_NE(first->find("Logfile.txt"), std::string::npos);
    EXPECT_FALSE(log.Log_Line("b", "2"));
    EXPECT_FALSE(log.Take_New_Write_Error().has_value());
    EXPECT_EQ(log.Lines().size(), 2u);

    // Once the folder is there the log is written again, whole; a later failure is news.
    std::filesystem::create_directory(dir.path() / "missing-folder");
    ASSERT_TRUE(log.Log_Line("c", "3"));
    EXPECT_EQ(Split_Lines(test::read_bytes(dir.path() / "missing-folder/Logfile.txt")).size(), 3u);
    std::filesystem::remove_all(dir.path() / "missing-folder");
    EXPECT_FALSE(log.Log_Line("d", "4"));
    EXPECT_TRUE(log.Take_New_Write_Error().has_value());
}

TEST(LogTimeStamp, SystemClockGivesIsoDateAndTime) {
    Log_Clock c = System_Log_Clock();
    EXPECT_EQ(Log_Time_Stamp(c, {2024, 1, 2, 3, 4, 5}), "2024-01-02 03:04:05");
    EXPECT_EQ(Log_Time_Stamp(c, {2024, 1, 2, 0, 0, 0}), "2024-01-02");
}

#include "tables/table_file.h"
#include "tables/table_grid.h"

#include "temp_dir.h"

#include <gtest/gtest.h>

using namespace parvex;

namespace {

std::vector<std::vector<std::string>> padded(const Table_Text& t) {
    auto rows = t.rows;
    for (auto& r : rows)
        r.resize(static_cast<std::size_t>(t.cols));
    return rows;
}

} // namespace

TEST(TableFile, ReadingRules) {
    using Rows = std::vector<std::vector<std::string>>;
    struct Case {
        std::string bytes;
        int cols;
        Rows rows;
    } cases[] = {
        {"", 1, {{""}}},
        {"\r\n", 1, {{""}}},
        {"a|b\r\nc|d|e\r\n", 3, {{"a", "b", ""}, {"c", "d", "e"}}},
        {"a|\r\n", 2, {{"a", ""}}},
        {"x\r\n\r\n|y\r\n", 2, {{"x", ""}, {"", ""}, {"", "y"}}},
        {"a|b\nc\rd", 2, {{"a", "b"}, {"c", ""}, {"d", ""}}},
        {"||\r\n", 3, {{"", "", ""}}},
        {" a | b \r\n", 2, {{" a ", " b "}}}, // no trimming
    };
    for (const auto& c : cases) {
        Table_Text t = Parse_Table_Text(c.bytes);
        EXPECT_EQ(t.cols, c.cols) << c.bytes;
        EXPECT_EQ(padded(t), c.rows) << c.bytes;
    }
}

TEST(TableFile, BinaryBytesGiveRowsAndNoCrash) {
    std::string bytes;
    for (int i = 0; i < 4096; ++i)
        bytes += static_cast<char>((i * 37) & 0xFF);
    Table_Text t = Parse_Table_Text(bytes);
    EXPECT_GE(t.rows.size(), 1u);
    EXPECT_GE(t.cols, 1);
    std::size_t bars = 0;
    for (char c : bytes)
        bars += c == '|';
    // Every byte other than line ends and separators is kept in some cell.
    std::size_t kept = 0;
    for (const auto& r : t.rows)
        for (const auto& cell : r)
            kept += cell.size();
    std::size_t line_ends = 0;
    for (char c : bytes)
        line_ends += c == '\r' || c == '\n';
    EXPECT_EQ(kept + bars + line_ends, bytes.size());
}

TEST(TableFile, WritingPadsEveryRowAndEndsLinesWithCrLf) {
    Table_Grid g;
    g.Assign({{"h1", "h2", "h3"}, {"a"}, {}, {"", "", "z"}}, 3);
    EXPECT_EQ(Table_To_Text(g), "h1|h2|h3\r\na||\r\n||\r\n||z\r\n");
}

TEST(TableFile, CellsThatWouldSplitARowAreWrittenWithBlanks) {
    Table_Grid g;
    g.Assign({{"A", "B"}, {"x|y", "line\r\nbreak"}, {"lone\rcr", "lf\n"}}, 2);
    const std::string text = Table_To_Text(g);
    EXPECT_EQ(text, "A|B\r\nx y|line  break\r\nlone cr|lf \r\n");
    Table_Text back = Parse_Table_Text(text);
    EXPECT_EQ(back.rows.size(), 3u);
    EXPECT_EQ(back.cols, 2);
}

TEST(TableFile, LoadAndSaveRoundTripBytes) {
    test::TempDir dir;
    const std::string bytes = "Code|Mode|Title\r\n\xe4\xf6|\xc3\xa4|\x01\x7f\r\n||\r\n";
    dir.write("t.dat", bytes);
    Table_Grid g;
    ASSERT_TRUE(Load_Table_File(g, dir.dir() + "t.dat"));
    EXPECT_EQ(g.Row_Count(), 3);
    EXPECT_EQ(g.Col_Count(), 3);
    ASSERT_TRUE(Save_Table_File(g, dir.dir() + "u.dat"));
    EXPECT_EQ(dir.read("u.dat"), bytes);
}

TEST(TableFile, WriteFailureNamesTheFileAndKeepsWhatWasThere) {
    test::TempDir dir;
    Table_Grid g;
    FileResult missing_folder = Save_Table_File(g, dir.dir() + "no/such/folder/t.dat");
    EXPECT_FALSE(missing_folder);
    EXPECT_NE(missing_folder.error.find("t.dat"), std::string::npos) << missing_folder.error;

    // A folder in the place of the file cannot be replaced; what it holds stays.
    dir.write("busy.dat/inside.txt", "keep");
    FileResult over_folder = Save_Table_File(g, dir.dir() + "busy.dat");
    EXPECT_FALSE(over_folder);
    EXPECT_FALSE(over_folder.error.empty());
    EXPECT_EQ(dir.read("busy.dat/inside.txt"), "keep");

    FileResult no_name = Save_Table_File(g, "");
    EXPECT_FALSE(no_name);
    EXPECT_FALSE(no_name.error.empty());
}

TEST(TableFile, ReadFailureIsReported) {
    test::TempDir dir;
    Table_Grid g;
    EXPECT_FALSE(Load_Table_File(g, dir.dir() + "absent.dat"));
}

#include "tables/table_procs.h"
#include "tables/table_sort.h"

#include <gtest/gtest.h>

#include <random>

using namespace parvex;

namespace {

std::vector<std::string> sorted(std::vector<std::string> cells, Sort_Options o) {
    std::vector<std::string_view> views(cells.begin(), cells.end());
    std::vector<std::string> out;
    for (std::size_t i : Sort_Order(views, o))
        out.push_back(cells[i]);
    return out;
}

Sort_Options opts(Sort_Style s, bool desc = false, bool cs = false) {
    return {s, desc ? Sort_Direction::Descending : Sort_Direction::Ascending, cs};
}

Table_Grid grid_of(std::string types, std::vector<std::vector<std::string>> rows) {
    SG_Rec rec;
    rec.File_Name = "/tables/x.dat";
    rec.Col_Types = types;
    rec.Col_Count = static_cast<int>(types.size());
    Table_Grid g;
    g.SetSG_Record(rec);
    rows.insert(rows.begin(), std::vector<std::string>(types.size(), "H"));
    g.Assign(std::move(rows), rec.Col_Count);
    return g;
}

std::vector<std::string> column(const Table_Grid& g, int col) {
    std::vector<std::string> out;
    for (int r = 1; r < g.Row_Count(); ++r)
        out.push_back(g.Cell(col, r));
    return out;
}

} // namespace

TEST(TableSort, ReadsNumbersTimesAndDates) {
    struct Case {
        const char* text;
        std::optional<double> number, time, date_time;
    } cases[] = {
        {"12", 12, {}, {}},
        {" -3.5 ", -3.5, {}, {}},
        {"+7", 7, {}, {}},
        {"2,25", 2.25, {}, {}},
        {"1e3", 1000, {}, {}},
        {"", {}, {}, {}},
        {"12a", {}, {}, {}},
        {"-", {}, {}, {}},
        {"inf", {}, {}, {}},
        {"10:30", {}, 37800, {}},
        {"9:05:07", {}, 32707, {}},
        {"12:00 AM", {}, 0, {}},
        {"1:15 pm", {}, 47700, {}},
        {"24:00", {}, {}, {}},
        {"10:3", {}, {}, {}},
        {"02.01.0001", {}, {}, 86400},
        {"0001-01-01 00:00:01", {}, {}, 1},
        {"31.02.2020", {}, {}, {}},
        {"2020-13-01", {}, {}, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Parse_Number(c.text), c.number) << c.text;
        EXPECT_EQ(Parse_Time(c.text), c.time) << c.text;
        EXPECT_EQ(Parse_Date_Time(c.text), c.date_time) << c.text;
    }
    // The date notations agree with each other; two-digit years count from 1950.
    auto iso = Parse_Date_Time("2002-06-28");
    ASSERT_TRUE(iso);
    EXPECT_EQ(Parse_Date_Time("28.06.2002"), iso);
    EXPECT_EQ(Parse_Date_Time("6/28/2002"), iso);
    EXPECT_EQ(Parse_Date_Time("28.6.02"), iso);
    EXPECT_LT(*Parse_Date_Time("31.12.1999 23:59"), *Parse_Date_Time("01.01.2000"));
    EXPECT_LT(*Parse_Date_Time("28.02.2000"), *Parse_Date_Time("29.02.2000"));
    EXPECT_LT(*Parse_Date_Time("01.01.1980"), *Parse_Date_Time("1.1.49"));
}

TEST(TableSort, StylesOrderCellsTheirWay) {
    struct Case {
        Sort_Options o;
        std::vector<std::string> in, out;
    } cases[] = {
        {opts(Sort_Style::Alphabetic), {"b", "A", "a", "B"}, {"A", "a", "b", "B"}},
        {opts(Sort_Style::Alphabetic, false, true), {"b", "A", "a", "B"}, {"A", "B", "a", "b"}},
        {opts(Sort_Style::Alphabetic, true), {"b", "", "A"}, {"b", "A", ""}},
        {opts(Sort_Style::Numeric),
         {"10", "9", "", "-1", "x", "2.5"},
         {"", "x", "-1", "2.5", "9", "10"}},
        {opts(Sort_Style::Numeric, true), {"10", "", "9", "abc"}, {"10", "9", "abc", ""}},
        {opts(Sort_Style::Date_Time),
         {"01.01.2000", "31.12.1999", "2001-01-01"},
         {"31.12.1999", "01.01.2000", "2001-01-01"}},
        {opts(Sort_Style::Time), {"10:00", "9:59:59", "23:00"}, {"9:59:59", "10:00", "23:00"}},
        {opts(Sort_Style::Automatic), {"10", "9", "", "100"}, {"", "9", "10", "100"}},
        {opts(Sort_Style::Automatic), {"10", "9", "x"}, {"10", "9", "x"}},
        {opts(Sort_Style::Automatic), {"02.01.2000", "01.02.1999"}, {"01.02.1999", "02.01.2000"}},
        {opts(Sort_Style::Automatic), {"10:00", "9:00"}, {"9:00", "10:00"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(sorted(c.in, c.o), c.out)
            << c.in.front() << " style " << static_cast<int>(c.o.style);
}

TEST(TableSort, EqualKeysKeepTheirOrderBothWays) {
    std::vector<std::string> in = {"b1", "a", "B2", "b3"};
    auto key = [](std::vector<std::string> v) {
        for (auto& s : v)
            s = s.substr(0, 1);
        return v;
    };
    // Compare only the first letter by sorting the letters and mapping back through the order.
    std::vector<std::string> letters = key(in);
    std::vector<std::string_view> views(letters.begin(), letters.end());
    std::vector<std::string> asc, desc;
    for (auto i : Sort_Order(views, opts(Sort_Style::Alphabetic)))
        asc.push_back(in[i]);
    for (auto i : Sort_Order(views, opts(Sort_Style::Alphabetic, true)))
        desc.push_back(in[i]);
    EXPECT_EQ(asc, (std::vector<std::string>{"a", "b1", "B2", "b3"}));
    EXPECT_EQ(desc, (std::vector<std::string>{"b1", "B2", "b3", "a"}));
}

TEST(TableSort, SortColumnTakesTheStyleFromTheTypeLetter) {
    Table_Grid g = grid_of("SNDTLX", {
                                         {"b", "10", "02.01.2000", "10:00", "True", "10"},
                                         {"a", "9", "01.02.1999", "9:00", "False", "9"},
                                         {"C", "100", "01.01.2000", "23:00", "True", "x"},
                                     });
    struct Case {
        int col;
        Sort_Style style;
        std::vector<std::string> first_column_after;
    } cases[] = {
        {0, Sort_Style::Alphabetic, {"a", "b", "C"}}, {1, Sort_Style::Numeric, {"a", "b", "C"}},
        {2, Sort_Style::Date_Time, {"a", "C", "b"}},  {3, Sort_Style::Time, {"a", "b", "C"}},
        {4, Sort_Style::Alphabetic, {"a", "b", "C"}},
    };
    for (const auto& c : cases) {
        Sort_Options o{Sort_Style::Time, Sort_Direction::Descending, true};
        Sort_Column(g, c.col, true, o, true, false, true);
        EXPECT_EQ(o.style, c.style) << c.col;
        EXPECT_EQ(o.direction, Sort_Direction::Ascending);
        EXPECT_FALSE(o.case_sensitive); // the grid's own setting
        EXPECT_EQ(column(g, 0), c.first_column_after) << c.col;
        EXPECT_EQ(g.Sort_Col(), c.col);
    }
    // An unknown letter keeps the caller's style.
    Sort_Options numeric{Sort_Style::Numeric, Sort_Direction::Ascending, false};
    Sort_Column(g, 5, false, numeric, false, false, true);
    EXPECT_EQ(numeric.style, Sort_Style::Numeric);
    EXPECT_EQ(column(g, 5), (std::vector<std::string>{"10", "9", "x"}));
    EXPECT_EQ(g.Current_Row(), 3); // not to the top: the last row
}

TEST(TableSort, SortColumnWithoutSortFlagOnlyFillsTheOptions) {
    Table_Grid g = grid_of("NS", {{"2", "a"}, {"1", "b"}});
    g.Set_Case_Sensitive(true);
    Sort_Options o{Sort_Style::Alphabetic, Sort_Direction::Descending, false};
    Sort_Column(g, 0, true, o, true, true, false);
    EXPECT_EQ(o, (Sort_Options{Sort_Style::Numeric, Sort_Direction::Descending, true}));
    EXPECT_EQ(column(g, 0), (std::vector<std::string>{"2", "1"}));
}

TEST(TableSort, SortColumnDoesNothingWithoutAFileName) {
    Table_Grid g = grid_of("N", {{"2"}, {"1"}});
    SG_Rec rec = g.GetSG_Record();
    rec.File_Name.clear();
    g.SetSG_Record(rec);
    Sort_Options o{Sort_Style::Alphabetic, Sort_Direction::Descending, true};
    const Sort_Options before = o;
    Sort_Column(g, 0, true, o, true, true, true);
    EXPECT_EQ(o, before);
    EXPECT_EQ(column(g, 0), (std::vector<std::string>{"2", "1"}));
    EXPECT_EQ(g.Sort_Col(), -1);
}

TEST(TableSort, SortDescendingIgnoresThePreviousDirection) {
    Table_Grid g = grid_of("N", {{"2"}, {"10"}, {"1"}});
    Sort_Options o{Sort_Style::Automatic, Sort_Direction::Ascending, false};
    g.Set_Current_Row(3);
    Sort_Descending(g, 0, o);
    EXPECT_EQ(o.direction, Sort_Direction::Descending);
    EXPECT_EQ(column(g, 0), (std::vector<std::string>{"10", "2", "1"}));
    EXPECT_EQ(g.Current_Row(), 1);
    EXPECT_EQ(g.Col_Width(0), g.text_width("10") + Auto_Size_Margin);
}

TEST(TableSort, SortBySpecReadsFiveLetters) {
    struct Case {
        const char* sort_text;
        std::vector<std::string> order;
        int current_after; // current row starts at 2
    } cases[] = {
        {"dsn", {"b", "B", "a", "9", "10"}, 2},
        {"ASC", {"10", "9", "B", "a", "b"}, 2},
        {"ANNAT", {"a", "b", "B", "9", "10"}, 1}, // texts rank below numbers
        {"DNNNB", {"10", "9", "b", "B", "a"}, 5},
        {"XXXXX", {"10", "9", "a", "b", "B"}, 2}, // defaults: ascending, automatic, no case
        {"", {"10", "9", "a", "b", "B"}, 2},
    };
    for (const auto& c : cases) {
        Table_Grid g = grid_of("S", {{"b"}, {"9"}, {"a"}, {"10"}, {"B"}});
        g.Set_Current_Row(2);
        Sort_By_Spec(g, 0, c.sort_text);
        EXPECT_EQ(column(g, 0), c.order) << c.sort_text;
        EXPECT_EQ(g.Current_Row(), c.current_after) << c.sort_text;
        EXPECT_EQ(g.Col_Width(0), g.text_width("10") + Auto_Size_Margin) << c.sort_text;
    }
}

TEST(TableSort, SortByTypeUsesTheColumnLetter) {
    Table_Grid g = grid_of("NL", {{"9", "True"}, {"10", "False"}, {"100", ""}});
    Sort_By_Type(g, 0, false);
    EXPECT_EQ(column(g, 0), (std::vector<std::string>{"100", "10", "9"}));
    EXPECT_EQ(g.Current_Row(), 1);
    Sort_By_Type(g, 1, true); // "L": automatic, reads as text
    EXPECT_EQ(column(g, 1), (std::vector<std::string>{"", "False", "True"}));
}

TEST(TableSort, NothingMovesWhileAnEditorIsOpenOrWithOneRow) {
    Table_Grid g = grid_of("S", {{"b"}, {"a"}});
    bool editing = true;
    g.editor_open = [&] { return editing; };
    Sort_By_Spec(g, 0, "AS");
    EXPECT_EQ(column(g, 0), (std::vector<std::string>{"b", "a"}));
    editing = false;
    Sort_By_Spec(g, 0, "AS");
    EXPECT_EQ(column(g, 0), (std::vector<std::string>{"a", "b"}));

    Table_Grid one = grid_of("S", {{"x"}});
    Sort_By_Spec(one, 0, "DS");
    EXPECT_EQ(one.Row_Count(), 2);
    EXPECT_EQ(one.Sort_Col(), 0);
}

TEST(TableSort, ThousandsOfRowsSortCorrectlyAndFollowTheCurrentRecord) {
    std::mt19937 rng(7);
    std::vector<std::vector<std::string>> rows;
    for (int i = 0; i < 5000; ++i)
        rows.push_back({std::to_string(rng() % 100000), "row" + std::to_string(i)});
    Table_Grid g = grid_of("NS", rows);
    g.Set_Current_Row(1234);
    const std::string current = g.Cell(1, 1234);
    g.Sort_Rows(0, opts(Sort_Style::Numeric), true);
    EXPECT_EQ(g.Cell(1, g.Current_Row()), current);
    for (int r = 2; r < g.Row_Count(); ++r)
        ASSERT_LE(std::stol(g.Cell(0, r - 1)), std::stol(g.Cell(0, r))) << r;
    EXPECT_EQ(g.Row_Count(), 5001);
}

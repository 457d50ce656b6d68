#include "engine/collected_list.h"
#include "engine/cross_reference.h"
#include "engine/listing_run.h"

#include <gtest/gtest.h>

#include <random>

using namespace parvex;

namespace {

struct Item {
    std::string text;
    std::size_t line;
};

// The compact list and the list of Collected_Lines it stands for must read, sort and
// cross-reference alike.
void expect_same_as_text_list(const std::vector<Item>& items, int width, int break_after) {
    CollectedList compact;
    compact.set_width(width);
    TextList plain;
    for (const Item& it : items) {
        compact.add(it.text, it.line);
        plain.push_back(Collected_Line(it.text, it.line, width));
    }
    ASSERT_TRUE(compact == plain);
    EXPECT_EQ(TextList(compact), plain);
    EXPECT_EQ(Collected_Text(compact), Join_Lines(plain));
    CollectedList unsorted = compact;
    TextList area = Build_Cross_Reference(plain, break_after);
    EXPECT_EQ(Build_Cross_Reference(compact, break_after), area);
    EXPECT_TRUE(compact == plain) << "the list stays sorted like the text list";
    EXPECT_EQ(Cross_Reference_Text(compact, break_after), Join_Lines(area));
    EXPECT_EQ(Cross_Reference_Text(unsorted, break_after), Join_Lines(area))
        << "the text of a list not yet sorted";
    EXPECT_TRUE(unsorted == plain) << "and that list is sorted as well";
}

} // namespace

TEST(CollectedList, ReadsSortsAndCrossReferencesLikeItsLines) {
    struct Case {
        const char* what;
        std::vector<Item> items;
    } cases[] = {
        {"spellings that differ in case only sort by line, and group apart",
         {{"Foo", 3}, {"FOO", 1}, {"foo", 2}, {"Foo", 2}, {"bar", 2}, {"Foo", 3}}},
        {"an item that begins another, and bytes below TAB",
         {{"ab", 1}, {"a", 2}, {"a\x01", 3}, {"A", 4}, {"_x", 5}, {"\xe4x", 6}, {"", 7}}},
        {"literals holding TABs", {{"'a\t#9'", 1}, {"'a'", 2}, {"'a\tb'", 3}, {"'A'", 1}}},
        {"lines out of order", {{"x", 9}, {"x", 2}, {"y", 5}, {"X", 1}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        expect_same_as_text_list(c.items, 2, 2);
    }
    // Many occurrences of a few tokens, with the line breaks of a real cross-reference.
    std::mt19937 random(3);
    std::vector<Item> many;
    const char* words[] = {"Alpha", "ALPHA", "beta", "Beta", "b", "Gamma1", "gamma"};
    for (std::size_t line = 1; line <= 3000; ++line)
        for (int k = 0; k < 3; ++k)
            many.push_back({words[random() % 7], line});
    expect_same_as_text_list(many, 4, 10);
}

TEST(CollectedList, ReadsAndFillsLikeATextList) {
    CollectedList list;
    for (const char* line : {"Foo\t#007", "'a\tb'\t#012", "7\t#100"})
        list.push_back(line);
    EXPECT_EQ(list.size(), 3u);
    EXPECT_EQ(list.item(1), "'a\tb'");
    EXPECT_EQ(list.line_number(2), 100u);
    TextList read(list.begin(), list.end());
    EXPECT_EQ(read, (TextList{"Foo\t#007", "'a\tb'\t#012", "7\t#100"}));
    std::string joined;
    for (const std::string& line : list)
        joined += line + "|";
    EXPECT_EQ(joined, "Foo\t#007|'a\tb'\t#012|7\t#100|");
    list.clear();
    EXPECT_TRUE(list.empty());
}

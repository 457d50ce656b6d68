#include "tables/color_names.h"

#include <gtest/gtest.h>
#include <set>

using namespace parvex;

TEST(ColorNames, TableHasFiftyTwoDistinctNamesAndValues) {
    std::set<std::uint32_t> values;
    std::set<std::string_view> names;
    for (const auto& e : Color_Names()) {
        values.insert(e.value);
        names.insert(e.name);
    }
    EXPECT_EQ(values.size(), 52u);
    EXPECT_EQ(names.size(), 52u);
}

TEST(ColorNames, ValueToName) {
    struct Case {
        std::uint32_t value;
        const char* name;
    } cases[] = {
        {0x00C0C0C0, "clSilver"},    {0x00F0CAA6, "clSkyBlue"}, {0x8000000F, "clBtnFace"},
        {0x80000000, "clScrollBar"}, {0x8000001E, "clMenuBar"}, {0x1FFFFFFF, "clNone"},
        {0x20000000, "clDefault"},   {0x00FFECEC, "$00FFECEC"}, {0x000080FF, "$000080FF"},
        {0x8000001F, "$8000001F"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Color_To_Name(c.value), c.name);
}

TEST(ColorNames, NameToValue) {
    struct Case {
        const char* text;
        std::optional<std::uint32_t> value;
    } cases[] = {
        {"clRed", 0x000000FF},
        {"CLRED", 0x000000FF},
        {"clwindowtext", 0x80000008},
        {"$00FFECEC", 0x00FFECEC},
        {"$ffecec", 0x00FFECEC},
        {"$1", 1},
        {"255", 255},
        {"-2147483643", 0x80000005},
        {"clReddish", std::nullopt},
        {"", std::nullopt},
        {"$", std::nullopt},
        {"$123456789", std::nullopt},
        {"$00GG0000", std::nullopt},
        {"12abc", std::nullopt},
        {"4294967296", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Name_To_Color(c.text), c.value) << c.text;
}

TEST(ColorNames, RoundTripNormalisesText) {
    for (const auto& e : Color_Names())
        EXPECT_EQ(Name_To_Color(Color_To_Name(e.value)), e.value) << e.name;
    EXPECT_EQ(Color_To_Name(*Name_To_Color("$00c0c0c0")), "clSilver");
    EXPECT_EQ(Color_To_Name(*Name_To_Color("16772332")), "$00FFECEC");
}

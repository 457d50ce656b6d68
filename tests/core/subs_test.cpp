#include "tables/subs.h"

#include <gtest/gtest.h>

using namespace parvex;

TEST(Subs, LeftAndRightStr) {
    EXPECT_EQ(Left_Str("hello", 2), "he");
    EXPECT_EQ(Left_Str("hello", 9), "hello");
    EXPECT_EQ(Left_Str("hello", 0), "");
    EXPECT_EQ(Left_Str("hello", -3), "");
    EXPECT_EQ(Right_Str("hello", 9), "hello");
    EXPECT_EQ(Right_Str("hello", 0), "");
    EXPECT_EQ(Right_Str("hello", 3), "llo");
}

TEST(Subs, CapitalizeWords) {
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"tform1", "Tform1"},         {"_x", "_x"},
        {"a b.c-d", "A B.C-D"},       {"mIxed caSe", "MIxed CaSe"},
        {"(abc) 1abc", "(abc) 1abc"}, {"", ""},
        {"\xe4rger x", "\xe4rger X"}, // bytes above 127 are left alone
    };
    for (const auto& c : cases)
        EXPECT_EQ(Capitalize_Words(c.in), c.out) << c.in;
}

TEST(Subs, ZeroPad) {
    EXPECT_EQ(Zero_Pad(7, 3), "007");
    EXPECT_EQ(Zero_Pad(12345, 3), "345");
    EXPECT_EQ(Zero_Pad(-5, 4), "00-5");
    EXPECT_EQ(Zero_Pad(119212, 6), "119212");
}

TEST(Subs, ExtractWordPos) {
    auto w = Extract_Word_Pos(2, "  ab cd", " ");
    EXPECT_EQ(w.word, "cd");
    EXPECT_EQ(w.length, 2u);
    EXPECT_EQ(w.pos, 6u);
    EXPECT_EQ(Extract_Word(2, "one||two", "|"), "two");
    EXPECT_EQ(Extract_Word(3, "one||two", "|"), "");
    auto none = Extract_Word_Pos(0, "a b", " ");
    EXPECT_EQ(none.pos, 0u);
    EXPECT_EQ(none.length, 0u);
    EXPECT_EQ(Extract_Word_Pos(3, "a b", " ").pos, 0u);
}

TEST(Subs, StrToIntDef) {
    EXPECT_EQ(Str_To_Int_Def("42", 7), 42);
    EXPECT_EQ(Str_To_Int_Def("-42", 7), -42);
    EXPECT_EQ(Str_To_Int_Def("+5", 7), 5);
    EXPECT_EQ(Str_To_Int_Def("-2147483648", 7), INT32_MIN);
    for (const char* bad : {"", "-", "4x", "2147483648", " 1", "1.0", "99999999999999999999"})
        EXPECT_EQ(Str_To_Int_Def(bad, 7), 7) << bad;
}

TEST(Subs, BooleansAndBits) {
    EXPECT_TRUE(Is_True("True"));
    EXPECT_FALSE(Is_True("true"));
    EXPECT_FALSE(Is_True("TRUE"));
    EXPECT_EQ(Bool_To_Str(true), "True");
    EXPECT_EQ(Check_To_Str(false), "False");
    EXPECT_EQ(Int_To_Bin(5, 4), "0101");
    EXPECT_EQ(Int_To_Bin(5, 40).size(), 32u);
    EXPECT_EQ(Int_To_Bin(5, 0), "");
    EXPECT_TRUE(Bit_Is_Set(5, 1));
    EXPECT_FALSE(Bit_Is_Set(5, 2));
    EXPECT_TRUE(Bit_Is_Set(5, 3));
    EXPECT_TRUE(Bit_Is_Set(0x8000, 16));
    EXPECT_EQ(Int_Power(2, 10), 1024);
    EXPECT_EQ(Int_Power(7, 0), 1);
    EXPECT_EQ(Int_Power(2, 31), INT32_MIN); // wraps like 32-bit arithmetic
    EXPECT_EQ(Int_Power(2, 32), 0);
}

TEST(Subs, SecsToTime) {
    EXPECT_DOUBLE_EQ(*Secs_To_Time(43200), 0.5);
    EXPECT_DOUBLE_EQ(*Secs_To_Time(0), 0.0);
    EXPECT_TRUE(Secs_To_Time(86399).has_value());
    EXPECT_FALSE(Secs_To_Time(86400).has_value());
    EXPECT_FALSE(Secs_To_Time(-1).has_value());
}

TEST(Subs, FoldersAndNames) {
    EXPECT_EQ(Data_Dir("/opt/p/"), "/opt/p/Data/");
    EXPECT_EQ(GUI_Data_Dir("/opt/p"), "/opt/p/GUI/Data/");
    EXPECT_EQ(GUI_Lang_Dir("/opt/p/"), "/opt/p/GUI/Lang/");
    EXPECT_EQ(Dont_Dir("/opt/p/"), "/opt/p/Dont/");
    EXPECT_EQ(Add_Backslash("/a"), "/a/");
    EXPECT_EQ(Add_Backslash("/a/"), "/a/");
    EXPECT_EQ(Change_Ext("/p/prog.exe", "INI"), "/p/prog.INI");
    EXPECT_EQ(Change_Ext("/p/prog.exe", ".INI"), "/p/prog.INI");
    EXPECT_EQ(Change_Ext("/p/prog", "INI"), "/p/prog.INI");
    EXPECT_EQ(Change_Ext("/p.d/prog", "INI"), "/p.INI"); // the directory dot is used
    // The settings file keeps the whole program path even when a folder holds a dot.
    EXPECT_EQ(Ini_File_Name("/home/u/.local/bin/parvex"), "/home/u/.local/bin/parvex.INI");
    EXPECT_EQ(Ini_File_Name("/p/prog.exe"), "/p/prog.INI");
    std::string exe_dir = Exe_Dir();
    ASSERT_FALSE(exe_dir.empty());
    EXPECT_EQ(exe_dir.back(), '/');
}

TEST(Subs, ContrastColor) {
    EXPECT_EQ(Contrast_Color(0x00FFFFFF), 0x000000u);
    EXPECT_EQ(Contrast_Color(0x00000000), 0xFFFFFFu);
    EXPECT_EQ(Contrast_Color(0x00FF0000), 0x00FFFFu); // pure blue gives yellow
    EXPECT_EQ(Contrast_Color(0x00808080), 0x000000u);
    EXPECT_EQ(Contrast_Color(0x007F7F7F), 0xFFFFFFu);
}

TEST(Subs, TrimAndCase) {
    EXPECT_EQ(Trim(" \t x y \r\n"), "x y");
    EXPECT_EQ(Trim("\x01\x02"), "");
    EXPECT_EQ(Upper_Ascii("aZ\xe4"), "AZ\xe4");
    EXPECT_EQ(Lower_Ascii("aZ\xc4"), "az\xc4");
}

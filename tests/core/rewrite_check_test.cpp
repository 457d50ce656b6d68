#include "verify/rewrite_check.h"

#include "engine/listing_run.h"
#include "verify/code_reader.h"

#include <gtest/gtest.h>

using namespace parvex;

TEST(RewriteCheck, AcceptsWhatARunMayDo) {
    struct Case {
        const char* name;
        std::string source, rewritten;
    } cases[] = {
        {"identical", "a := b;\n", "a := b;\r\n"},
        {"re-cased code", "procedure foo;\nbegin end;\n", "PROCEDURE Foo;\nBEGIN END;\n"},
        {"remark added behind END", "begin\nend;\n", "begin\nend; { of P }\n"},
        {"remark at the end of the line", "end\n", "end { of P }\n"},
        {"remark in front of a comment", "end{c}\n", "end { of P }{c}\n"},
        {"old remark replaced", "end;  { of Old }\n", "end; { of New } \n"},
        {"old remark without blank removed", "end;{ of Old }\n", "end;\n"},
        {"empty remark", "end;\n", "end; { of  }\n"},
        {"literal kept", "s := 'Abc''d' + \"Q\";\n", "S := 'Abc''d' + \"Q\";\n"},
        {"unclosed quote is code", "a'b\n", "A'B\n"},
        {"code after a comment that ends", "{ x\ny } abc (* z *) def\n",
         "{ x\ny } ABC (* z *) DEF\n"},
        {"no final line end", "abc", "ABC\r\n"},
        {"lone CR line ends", "a\rb\r", "A\r\nB\r\n"},
        {"bytes above 127 untouched", "x\xe4y := 1;\n", "X\xe4Y := 1;\n"},
        {"empty text", "", ""},
    };
    for (const Case& c : cases) {
        RewriteCheck r = Check_Rewrite(c.source, std::string_view(c.rewritten));
        EXPECT_TRUE(r.ok) << c.name << ": line " << r.line << ": " << r.reason;
    }
}

TEST(RewriteCheck, RefusesADamagedText) {
    struct Case {
        const char* name;
        std::string source, rewritten;
        std::size_t line;
        const char* reason; // a part of the reason
    } cases[] = {
        {"letter replaced", "a\nabc;\n", "a\nabd;\n", 2, "'c' became 'd'"},
        {"byte lost", "a := b;\n", "a = b;\n", 1, "':' became '='"},
        {"byte added", "a := b;\n", "a := b;;\n", 1, "longer"},
        {"line lost", "a\nb\nc\n", "a\nb\n", 3, "2 lines, the source 3"},
        {"line added", "a\n", "a\n\n", 2, "2 lines, the source 1"},
        {"line lost behind a changed one", "a\nb\nc\n", "a\nx\n", 3, "2 lines, the source 3"},
        {"literal re-cased", "s := 'abc';\n", "S := 'ABC';\n", 1, "inside a literal"},
        {"double-quoted literal re-cased", "s := \"abc\";\n", "s := \"aBc\";\n", 1,
         "inside a literal"},
        {"brace comment re-cased", "a {note} b\n", "a {NOTE} b\n", 1, "inside a comment"},
        {"comment of two lines re-cased", "(* one\ntwo *) x\n", "(* one\nTWO *) x\n", 2,
         "inside a comment"},
        {"line comment re-cased", "x // note\n", "X // NOTE\n", 1, "inside a comment"},
        {"directive re-cased", "{$mode objfpc}\n", "{$MODE objfpc}\n", 1, "inside a comment"},
        {"remark that joins two words", "ab\n", "a{ of X }b\n", 1, "became"},
        {"remark inside a literal", "s := 'end;';\n", "s := 'end; { of X }';\n", 1, "became"},
        {"remark inside a comment", "{ end;\n}\n", "{ end; { of X }\n}\n", 1, "longer"},
        {"letter above 127 re-cased", "\xe4\n", "\xc4\n", 1, "became"},
        {"digit changed", "x := 10;\n", "x := 11;\n", 1, "'0' became '1'"},
    };
    for (const Case& c : cases) {
        RewriteCheck r = Check_Rewrite(c.source, std::string_view(c.rewritten));
        EXPECT_FALSE(r.ok) << c.name;
        EXPECT_EQ(r.line, c.line) << c.name << ": " << r.reason;
        EXPECT_NE(r.reason.find(c.reason), std::string::npos) << c.name << ": " << r.reason;
    }
}

TEST(RewriteCheck, ALineHoldingALineEndIsRefused) {
    RewriteCheck r = Check_Rewrite("a\nb\n", TextList{"a\nb", ""});
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.line, 1u);
}

// The listing run's own output passes; the same output with one byte damaged does not.
TEST(RewriteCheck, ListingRunPassesAndItsDamagedOutputIsRefused) {
    const std::string source = "unit u;\ninterface\nimplementation\n"
                               "function Twice(x: integer): integer;\n"
                               "begin\n  result := x * 2; // Doubled\n"
                               "  writeln('Done {', x, '}'); { done }\nend;\n"
                               "procedure p; begin (* a\n b *) end; { of Old }\nend.\n";
    TokenTable tokens;
    ListingEngine engine(tokens);
    ListingLists lists;
    ListingOptions options;
    options.output_case = 0;
    ASSERT_EQ(engine.List_Lines(Split_Lines(source), options, lists).status, RunStatus::Done);
    ASSERT_EQ(lists.src_o[7], "END; { of TWICE }");
    RewriteCheck good = Check_Rewrite(source, lists.src_o);
    EXPECT_TRUE(good.ok) << good.line << ": " << good.reason;

    TextList damaged = lists.src_o;
    damaged[6][12] = 'd'; // inside the literal 'Done {'
    RewriteCheck bad = Check_Rewrite(source, damaged);
    EXPECT_FALSE(bad.ok);
    EXPECT_EQ(bad.line, 7u);
    damaged = lists.src_o;
    damaged.erase(damaged.begin() + 2);
    EXPECT_FALSE(Check_Rewrite(source, damaged).ok);
}

// Both readers split a text into the same lines: the listing's (whole or as views) and the
// second reader's, one line at a time.
TEST(LineSplitting, CrLfLfAndCrEachEndALine) {
    const std::pair<std::string, TextList> cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\n", {"a"}},
        {"a\r\n", {"a"}},
        {"a\r", {"a"}},
        {"\r", {""}},
        {"\n", {""}},
        {"\r\n", {""}},
        {"\n\n", {"", ""}},
        {"a\r\rb", {"a", "", "b"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\rb\nc\r\nd", {"a", "b", "c", "d"}},
        {"x\r\r\n", {"x", ""}},
        {"\r\r\n\n", {"", "", ""}},
        {"end.\r\n\r\n", {"end.", ""}},
        {"a\n\rb\r\n\r", {"a", "", "b", ""}},
        {"one\ntwo\nthree\rfour\n", {"one", "two", "three", "four"}},
    };
    for (const auto& [text, want] : cases) {
        const std::string shown = testing::PrintToString(text);
        EXPECT_EQ(Split_Lines(text), want) << shown;
        const LineViews views = Line_Views(text);
        EXPECT_EQ(TextList(views.begin(), views.end()), want) << shown;
        TextList read;
        LineCursor cursor(text);
        for (std::string_view line; cursor.Next(line);)
            read.emplace_back(line);
        EXPECT_EQ(read, want) << shown;
    }
}

// The short way for a line of code only: it may take only lines that the long way accepts.
TEST(RewriteCheck, ARecasedLineOfPlainCodeIsTakenWhole) {
    const struct {
        const char* line;
        const char* other;
        bool plain;
    } cases[] = {
        {"x := f(a) / b * c;", "X := F(A) / B * C;", true},
        {"begin end;", "begin end;", true},
        {"", "", true},
        {"x := 1;", "x := 2;", false},         // not a letter
        {"ab", "ab ", false},                  // lengths differ
        {"s := 'a';", "s := 'a';", false},     // a literal: the long way
        {"a := \"q\";", "a := \"q\";", false}, // the other quote
        {"a { c }", "A { c }", false},         // a comment
        {"a (* c *)", "A (* c *)", false},     // the other comment
        {"a // c", "A // c", false},           // a line comment
        {"end;", "end; { of P }", false},      // a remark
        {"\xe4x", "\xc4X", false},             // not an ASCII letter
        {"a@b", "a`b", false},                 // '@' ^ 0x20 is '`': no letter
    };
    for (const auto& c : cases)
        EXPECT_EQ(Recased_Plain_Code(c.line, c.other), c.plain) << c.line << " / " << c.other;
}

#include "verify/rewrite_check.h"

#include "engine/listing_run.h"
#include "platform/source_text.h"
#include "tables/subs.h"
#include "verify/code_reader.h"

#include <gtest/gtest.h>

using namespace parvex;

namespace {
// The text with `prefix` in front of every line: the reader takes long lines in steps of
// several bytes, and a prefix of every length up to a few steps moves each byte the cases
// look at through every place of a step and across the border of two.
std::string widened(std::string_view text, std::string_view prefix) {
    std::string out;
    bool line_start = true;
    for (std::size_t k = 0; k < text.size(); ++k) {
        if (line_start)
            out += prefix;
        out += text[k];
        line_start =
            text[k] == '\n' || (text[k] == '\r' && (k + 1 == text.size() || text[k + 1] != '\n'));
    }
    return out;
}
// Plain code, neither literal nor comment nor the start of one, and its length for every shift.
constexpr std::string_view kPlain = "x1 := 2; y3 := z4 + 5 * 6 - 7; ";
} // namespace

TEST(RewriteCheck, AcceptsWhatARunMayDo) {
    struct Case {
        const char* name;
        std::string source, rewritten;
    } cases[] = {
        {"identical", "a := b;\n", "a := b;\n"},
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
        {"no final line end", "abc", "ABC"},
        {"lone CR line ends", "a\rb\r", "A\rB\r"},
        {"mixed line ends kept", "a\r\nb\nc\rd", "A\r\nB\nC\rD"},
        {"final ^Z kept", "end.\r\n\x1a", "END.\r\n\x1a"},
        {"caret letter kept", "c := ^m; d := #13^j; p^.x := q^ and r;",
         "C := ^m; D := #13^j; P^.X := Q^ AND R;"},
        {"pointer type of a longer name", "p = ^tfoo;", "P = ^TFOO;"},
        {"bytes above 127 untouched", "x\xe4y := 1;\n", "X\xe4Y := 1;\n"},
        {"empty text", "", ""},
    };
    for (const Case& c : cases)
        for (std::size_t shift = 0; shift <= kPlain.size(); ++shift) {
            const std::string_view prefix = kPlain.substr(0, shift);
            RewriteCheck r = Check_Rewrite(widened(c.source, prefix),
                                           std::string_view(widened(c.rewritten, prefix)));
            EXPECT_TRUE(r.ok) << c.name << " (shifted by " << shift << "): line " << r.line << ": "
                              << r.reason;
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
        // A line of the source's length that holds a line end is two lines, not one.
        {"CR in place of a blank", "a b;\n", "a\rb;\n", 2, "2 lines, the source 1"},
        {"LF in place of a letter", "ab\ncd\n", "a\n\ncd\n", 3, "3 lines, the source 2"},
        {"two lines joined", "ab\ncd\n", "abcd\n", 2, "1 lines, the source 2"},
        {"caret letter re-cased", "c := ^m;\n", "c := ^M;\n", 1, "inside a literal"},
        {"caret letter behind a literal", "s := 'a'^m^j;\n", "s := 'a'^m^J;\n", 1,
         "inside a literal"},
        // Free Pascal's own modes nest comments: there "it's" is in the comment and 'hello' a
        // literal; read without nesting, "hello" would be code.
        {"literal of the nesting reading", "{ a { b } it's } s := 'hello';\n",
         "{ a { b } it's } s := 'HELLO';\n", 1, "inside a literal"},
        {"nesting reading over two lines", "(* a (* b *) c\nd's *) x := 'y';\n",
         "(* a (* b *) c\nd's *) x := 'Y';\n", 2, "inside a literal"},
        {"line end changed", "a\nb\n", "a\r\nb\n", 1, "line end LF became CR LF"},
        {"final line end added", "a\nb", "a\nb\r\n", 2, "line end none became CR LF"},
        {"final line end lost", "a\nb\r", "a\nb", 2, "line end CR became none"},
        {"CR LF behind ^Z", "end.\n\x1a", "end.\n\x1a\r\n", 2, "none became CR LF"},
    };
    for (const Case& c : cases)
        for (std::size_t shift = 0; shift <= kPlain.size(); ++shift) {
            const std::string_view prefix = kPlain.substr(0, shift);
            RewriteCheck r = Check_Rewrite(widened(c.source, prefix),
                                           std::string_view(widened(c.rewritten, prefix)));
            EXPECT_FALSE(r.ok) << c.name << " (shifted by " << shift << ")";
            EXPECT_EQ(r.line, c.line) << c.name << " (shifted by " << shift << "): " << r.reason;
            EXPECT_NE(r.reason.find(c.reason), std::string::npos)
                << c.name << " (shifted by " << shift << "): " << r.reason;
        }
}

// Literals of several lines: the opening line is shifted (the lines after it must stand as they
// are, a prefix would close or open nothing).
TEST(RewriteCheck, LiteralsOfSeveralLinesStayAsWritten) {
    struct Case {
        const char* name;
        std::string source, rewritten;
        std::size_t line; // of the refusal; 0: accepted
        const char* reason = "";
    } cases[] = {
        {"text block kept", "s := '''\n  Hello World\n  begin end\n  ''';\n",
         "S := '''\n  Hello World\n  begin end\n  ''';\n", 0},
        {"text block of five quotes", "s = '''''\n'''\nabc\n''''' + x;\n",
         "S = '''''\n'''\nabc\n''''' + X;\n", 0},
        {"a longer run does not close a block", "s = '''\n''''' a\n''' b\n",
         "S = '''\n''''' a\n''' B\n", 0},
        {"four quotes are a literal of one line", "s := ''''\nx\n", "S := ''''\nX\n", 0},
        {"backtick literal of two lines", "s := `a {\nb` + c;\n", "S := `a {\nb` + C;\n", 0},
        {"remark behind a text block", "begin s := '''\nx\n''';\nend;\n",
         "BEGIN S := '''\nx\n''';\nEND; { of P }\n", 0},
        {"text block re-cased", "s := '''\n  Hello World\n  ''';\n",
         "S := '''\n  HELLO WORLD\n  ''';\n", 2, "inside a literal"},
        {"closing line of a block re-cased", "s := '''\nx\n  ''' + 'ab';\n",
         "s := '''\nx\n  ''' + 'AB';\n", 3, "inside a literal"},
        {"block never closed", "s := '''\nx\ny := 1;\n", "s := '''\nx\nY := 1;\n", 3,
         "inside a literal"},
        {"remark inside a block", "s := '''\nend;\n''';\n", "s := '''\nend; { of P }\n''';\n", 2,
         "longer"},
        {"backtick literal re-cased", "s := `a\nbc` + d;\n", "s := `a\nBc` + d;\n", 2,
         "inside a literal"},
        {"CR LF inside a block", "s := '''\nx\n''';\n", "s := '''\r\nx\n''';\n", 1,
         "LF became CR LF"},
    };
    for (const Case& c : cases)
        for (std::size_t shift = 0; shift <= kPlain.size(); ++shift) {
            const std::string prefix(kPlain.substr(0, shift));
            RewriteCheck r =
                Check_Rewrite(prefix + c.source, std::string_view(prefix + c.rewritten));
            EXPECT_EQ(r.ok, c.line == 0) << c.name << " (shifted by " << shift << "): " << r.reason;
            EXPECT_EQ(r.line, c.line) << c.name << " (shifted by " << shift << ")";
            EXPECT_NE(r.reason.find(c.reason), std::string::npos)
                << c.name << " (shifted by " << shift << "): " << r.reason;
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

// A listing that does not know the literals of several lines (as the listing of old did) re-cases
// their text: the second reader refuses it at the first such line, whatever the listing says.
TEST(RewriteCheck, AListingBlindToLiteralsOfSeveralLinesIsRefused) {
    const std::string source = "const\n  S = '''\n    Hello World\n    begin end\n    ''';\n"
                               "  T = `a {b}\n  c` + x;\n  C = ^m;\n";
    TokenTable tokens;
    ListingEngine engine(tokens);
    ListingLists lists;
    ListingOptions options;
    options.output_case = 0;
    ASSERT_EQ(engine.List_Lines(Split_Lines(source), options, lists).status, RunStatus::Done);
    const std::string listed = Compose_Text(lists.src_o, Source_From_Bytes(source).form);
    RewriteCheck good = Check_Rewrite(source, std::string_view(listed));
    EXPECT_TRUE(good.ok) << good.line << ": " << good.reason;

    // The faults of a blind listing, one at a time: each line re-cased as if it were code.
    for (std::size_t fault : {2u, 3u, 6u, 7u}) {
        TextList blind = lists.src_o;
        blind[fault] = Upper_Ascii(blind[fault]);
        RewriteCheck bad = Check_Rewrite(
            source, std::string_view(Compose_Text(blind, Source_From_Bytes(source).form)));
        EXPECT_FALSE(bad.ok) << "line " << fault + 1;
        EXPECT_EQ(bad.line, fault + 1);
        EXPECT_NE(bad.reason.find("inside a literal"), std::string::npos) << bad.reason;
    }
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
    // Both look for line ends many bytes at a time: every case also stands behind a line of
    // each length up to more than two blocks of 64, so that each of its line ends falls on
    // every lane and a CR LF is split across a block border, and once more with a line of
    // twenty bytes after it, so that its own bytes are searched in blocks too.
    for (const auto& [bare, bare_want] : cases) {
        for (std::size_t shift = 0; shift <= 140; ++shift) {
            for (const bool tail : {false, true}) {
                std::string text = bare;
                TextList want = bare_want;
                if (shift > 0) {
                    text = std::string(shift - 1, 'x') + "\n" + text;
                    want.insert(want.begin(), std::string(shift - 1, 'x'));
                }
                if (tail) {
                    const bool ended = bare.empty() || bare.back() == '\n' || bare.back() == '\r';
                    text += (ended ? "" : "\n") + std::string(20, 'y');
                    want.push_back(std::string(20, 'y'));
                }
                const std::string shown = testing::PrintToString(bare) + " behind " +
                                          std::to_string(shift) + " bytes" +
                                          (tail ? ", a line after it" : "");
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
    }
}

// The short way for a line re-cased in code only: it may take only lines that the long way
// accepts, and it leaves the reader where reading the line would.
TEST(RewriteCheck, ALineRecasedInCodeOnlyIsTakenWhole) {
    const struct {
        const char* line;
        const char* other;
        bool taken;
        bool in_comment_after; // a comment is still open at the end of the line
    } cases[] = {
        {"x := f(a) / b * c;", "X := F(A) / B * C;", true, false},
        {"begin end;", "begin end;", true, false},
        {"", "", true, false},
        {"s := 'ab''c' + \"q\";", "S := 'ab''c' + \"q\";", true, false},
        {"a { c } b (* d *) e // f", "A { c } B (* d *) E // f", true, false},
        {"end; { of P }", "END; { of P }", true, false}, // a remark kept as it was
        {"a'b", "A'B", true, false},                     // a quote never closed is code
        {"x { open", "X { open", true, true},
        {"still } y", "still } Y", true, false},          // ... and closed on the next line
        {"x := 1;", "x := 2;", false, false},             // not a letter
        {"ab", "ab ", false, false},                      // lengths differ
        {"s := 'a';", "s := 'A';", false, false},         // inside a literal
        {"a := \"q\";", "a := \"Q\";", false, false},     // the other quote
        {"a { c }", "a { C }", false, false},             // inside a comment
        {"a (* c *)", "a (* C *)", false, false},         // the other comment
        {"a // c", "a // C", false, false},               // a line comment
        {"end;", "end; { of P }", false, false},          // a remark added: the long way
        {"end; { of A }", "end; { of B }", false, false}, // a remark replaced: the long way
        {"\xe4x", "\xc4X", false, false},                 // not an ASCII letter
        {"a@b", "a`b", false, false},                     // '@' ^ 0x20 is '`': no letter
        {"x (* open", "X (* OPEN", false, false},         // taken back: nothing read
    };
    // Behind plain code of every length, re-cased in the other line, the answer is the same.
    const std::string upper = Upper_Ascii(kPlain);
    for (std::size_t shift = 0; shift <= kPlain.size(); ++shift) {
        CodeReader reader;
        for (const auto& c : cases) {
            const std::string line = std::string(kPlain.substr(0, shift)) + c.line;
            const std::string other =
                (reader == CodeReader() ? upper.substr(0, shift) : line.substr(0, shift)) + c.other;
            EXPECT_EQ(reader.Read_Recased(line, other), c.taken) << line << " / " << other;
            EXPECT_EQ(reader == CodeReader(), !c.in_comment_after) << line << " / " << other;
        }
    }
}

#include "engine/line_scanner.h"

#include <gtest/gtest.h>

using namespace parvex;

namespace {

struct Prepared {
    std::string work, out;
    std::vector<std::string> literals;
    OpenComment open;
};

Prepared prepare(const std::string& text, bool remove = true,
                 OpenComment open = OpenComment::None) {
    LineScanner scanner(Build_Delimiters(kDefaultTerminators, true, true));
    scanner.Comment_Open = open;
    ScanLine line;
    line.assign(text);
    Prepared p;
    scanner.Prepare_Line(line, remove, p.literals);
    EXPECT_EQ(line.work.size(), line.mask.size());
    p.work = line.work;
    p.out = line.out;
    p.open = scanner.Comment_Open;
    return p;
}

} // namespace

TEST(LineScanner, DefaultDelimiters) {
    std::string d = Build_Delimiters(kDefaultTerminators, true, true);
    EXPECT_EQ(d.size(), 26u);
    EXPECT_EQ(d.substr(0, 2), "\t ");
    EXPECT_EQ(Build_Delimiters("ab", false, true), "\tab");
}

TEST(LineScanner, PreparesLines) {
    struct Case {
        std::string in;
        std::string work;
        std::vector<std::string> literals;
        OpenComment open = OpenComment::None;
    } cases[] = {
        {"Writeln('It''s');", "Writeln(       );", {"'It  s'"}},
        {"x := 'abc", "x := 'abc", {}},                             // unterminated
        {"s := '{';", "s :=    ;", {"'{'"}},                        // brace inside a literal
        {"a := \"q\" + 'r';", "a :=     +    ;", {"\"q\"", "'r'"}}, // left to right
        {"{ a } b { c", "_____ b ___", {}, OpenComment::Brace},
        {"(* note *) x", "__________ x", {}},
        {"(* open", "_______", {}, OpenComment::Paren},
        {"x := 1; // see {note", "x := 1; ", {}},                // nothing after // counts
        {"{ don't } x := 'a';", "_________ x :=    ;", {"'a'"}}, // a quote inside a comment
        {"a } b *) c", "a } b *) c", {}},                        // stray closers
        {"x{c}y", "x___y", {}},
        {"'a'//b'c'", "   ", {"'a'"}},
        {"s := `a{b'c` + 'd';", "s :=         +    ;", {"`a{b'c`", "'d'"}}, // as written
        {"s := `a``b`;", "s :=       ;", {"`a``b`"}},
        {"c := ^m + #13^j + 'a'^i;", "c := ^  + #13^  +    ^ ;", {"'a'"}},
        {"p^.x := q^ + ^TFoo + f(y)^;", "p^.x := q^ + ^TFoo + f(y)^;", {}},
        {"t := '''x''';", "t :=        ;", {"'  x  '"}}, // no text block: text behind it
    };
    // The scanner takes runs of code in steps of several bytes: behind plain code of every
    // length up to a few steps, each case reads the same, shifted.
    constexpr std::string_view plain = "x1 := y2 + 3 * z4 - 5; w6 := 7 div 8; ";
    for (const auto& c : cases)
        for (std::size_t shift = 0; shift <= plain.size(); ++shift) {
            const std::string prefix(plain.substr(0, shift));
            Prepared p = prepare(prefix + c.in);
            EXPECT_EQ(p.work, prefix + c.work) << prefix + c.in;
            EXPECT_EQ(p.out, prefix + c.in) << prefix + c.in;
            EXPECT_EQ(p.literals, c.literals) << prefix + c.in;
            EXPECT_EQ(p.open, c.open) << prefix + c.in;
        }
}

TEST(LineScanner, OpenCommentsContinueWithTheirOwnCloser) {
    Prepared brace = prepare("still } x *) y", true, OpenComment::Brace);
    EXPECT_EQ(brace.work, "_______ x *) y");
    EXPECT_EQ(brace.open, OpenComment::None);
    Prepared paren = prepare("still } x *) y", true, OpenComment::Paren);
    EXPECT_EQ(paren.work, "____________ y");
    Prepared whole = prepare("no closer", true, OpenComment::Brace);
    EXPECT_EQ(whole.work, "_________");
    EXPECT_EQ(whole.open, OpenComment::Brace);
}

TEST(LineScanner, OldRemarksAreRemovedWhereARunPutsThem) {
    // A run puts " { of Name }" directly behind END, or behind END and the character after it.
    struct Case {
        std::string in;
        bool remove;
        std::string out;
    } cases[] = {
        {"end; { of Foo }", true, "end;"},
        {"END. { of Foo }", true, "END."},
        {"  end { of Foo }", true, "  end"},
        {"end  { of P }// done", true, "end // done"}, // END, a blank, then the remark
        {"end; { of  }", true, "end;"},                // empty name
        {"x{c}end; { of Foo } y", true, "x{c}end; y"}, // a comment before END is no letter
        {"end; { of Foo }", false, "end; { of Foo }"}, // kept when not removing
        // Comments of the author that only look like a remark stay.
        {"  _type: cint; { of event }", true, "  _type: cint; { of event }"},
        {"{ of the LGPL License }", true, "{ of the LGPL License }"},
        {"append; { of Foo }", true, "append; { of Foo }"}, // END must be a word of its own
        {"'end'; { of Foo }", true, "'end'; { of Foo }"},   // not in a literal
        {"{end}; { of Foo }", true, "{end}; { of Foo }"},   // nor in a comment
        {"end;{ of Foo } x", true, "end;{ of Foo } x"},     // no blank in front
        {"end;  { of Foo }", true, "end;  { of Foo }"},     // two characters between
        {"end; {of Foo}", true, "end; {of Foo}"},           // not a remark at all
        {"end; {  of Foo}", true, "end; {  of Foo}"},
        {"end; { of Foo.Bar }", true, "end; { of Foo.Bar }"},
        {"end; { of A } { of B }", true, "end; { of B }"}, // only the one behind END
        {"end; { of Foo } // c { of x }", true, "end; // c { of x }"},
    };
    for (const auto& c : cases) {
        Prepared p = prepare(c.in, c.remove);
        EXPECT_EQ(p.out, c.out) << c.in;
        const std::size_t cut = p.out.find("//"); // the work line ends there
        EXPECT_EQ(p.work.size(), cut == std::string::npos ? p.out.size() : cut) << c.in;
    }
}

TEST(LineScanner, WordPredicatesAndCases) {
    EXPECT_TRUE(Is_Numeric("007"));
    EXPECT_FALSE(Is_Numeric("7a"));
    EXPECT_TRUE(Is_Numeric(" 12\t"));
    EXPECT_TRUE(Is_Underscores("__"));
    EXPECT_TRUE(Is_Underscores(""));
    EXPECT_FALSE(Is_Underscores("__init"));
    struct Case {
        int choice;
        std::string out;
    } cases[] = {{0, "TFORM1_\xe4X"},
                 {1, "tform1_\xe4x"},
                 {2, "tForm1_\xe4X"},
                 {3, "TForm1_\xe4X"},
                 {-1, "tForm1_\xe4X"}};
    for (const auto& c : cases) {
        std::string token = "tForm1_\xe4X";
        Apply_Output_Case(token, c.choice);
        EXPECT_EQ(token, c.out) << c.choice;
    }
}

// Text blocks and backtick literals go on from line to line: masked whole, reported once on
// their last line (lines joined by CR LF) with how many lines before it they began.
TEST(LineScanner, LiteralsOfSeveralLinesGoOnFromLineToLine) {
    struct Step {
        std::string line, work;
        std::vector<std::string> literals;
        std::size_t back = 0; // of the first literal reported
        bool open = false;    // a literal is open behind the line
    };
    const std::vector<std::vector<Step>> texts = {
        {{"s := '''  ", "s :=      ", {}, 0, true},
         {"  it's {x}", "          ", {}, 0, true},
         {"  '''' no", "         ", {}, 0, true}, // four quotes do not close three
         {"  ''' + y;", "      + y;", {"'''  \r\n  it's {x}\r\n  '''' no\r\n  '''"}, 3}},
        {{"s = '''''", "s =      ", {}, 0, true},
         {"'''", "   ", {}, 0, true},
         {"''''' + `a", "      +   ", {"'''''\r\n'''\r\n'''''"}, 2, true},
         {"b` x", "   x", {"`a\r\nb`"}, 1}},
        {{"a := `x", "a :=   ", {}, 0, true}}, // never closed: still open at the end
    };
    for (const auto& text : texts) {
        LineScanner scanner(Build_Delimiters(kDefaultTerminators, true, true));
        std::size_t n = 0;
        for (const Step& step : text) {
            ScanLine line;
            line.assign(step.line);
            std::vector<std::string> literals;
            scanner.Prepare_Line(line, true, literals);
            ++n;
            EXPECT_EQ(line.work, step.work) << step.line;
            EXPECT_EQ(line.out, step.line);
            EXPECT_EQ(literals, step.literals) << step.line;
            if (!literals.empty()) {
                EXPECT_EQ(scanner.First_Literal_Back(), step.back) << step.line;
            }
            EXPECT_EQ(scanner.Literal_Open(), step.open) << step.line;
            if (step.open) {
                EXPECT_LE(scanner.Literal_Lines(), n);
            }
        }
        // A new text starts with nothing open.
        scanner.Start_Text();
        EXPECT_FALSE(scanner.Literal_Open());
        ScanLine line;
        line.assign(std::string_view("x := y;"));
        std::vector<std::string> literals;
        scanner.Prepare_Line(line, true, literals);
        EXPECT_EQ(line.work, "x := y;");
    }
}

#include "engine/check_run.h"
#include "engine/listing_run.h"
#include "tables/subs.h"

#include "temp_dir.h"

#include <gtest/gtest.h>
#include <unistd.h>

using namespace parvex;

namespace {

struct Listed {
    TextList out;
    ListingLists lists;
    RunResult result;
};

Listed list(const TextList& source, ListingOptions options = {}, TokenTable* shared = nullptr) {
    TokenTable own;
    TokenTable& tokens = shared ? *shared : own;
    ListingEngine engine(tokens);
    Listed l;
    l.result = engine.List_Lines(source, options, l.lists);
    l.out = l.lists.src_o;
    return l;
}

// Lists the text, then lists the result again in the same session: the second run changes
// nothing, and the check finds nothing left.
TextList list_stable(const TextList& source, ListingOptions options = {}) {
    TokenTable tokens;
    Listed first = list(source, options, &tokens);
    Listed second = list(first.out, options, &tokens);
    EXPECT_EQ(second.out, first.out) << "a second run changed the text";
    // A later run starts with a fresh token index (another call of the command line): it too
    // must leave the text alone, or it would replace the backup of the original.
    Listed fresh = list(first.out, options);
    EXPECT_EQ(fresh.out, first.out) << "a run with a fresh token index changed the text";
    ListingLists lists = first.lists;
    EXPECT_TRUE(Check_Run(lists, Build_Delimiters(kDefaultTerminators, true, true), "").clean);
    return first.out;
}

} // namespace

TEST(ListingRun, EndRemarkOfAMethod) {
    TextList src = {"procedure TForm1.FormCreate(Sender: TObject);", "begin",
                    "  if a then begin b; end;", "end;"};
    ListingOptions o;
    o.output_case = 2;
    EXPECT_EQ(list_stable(src, o).back(), "end; { of FormCreate }");
    o.output_case = 0;
    TextList upper = list_stable(src, o);
    EXPECT_EQ(upper.front(), "PROCEDURE TFORM1.FORMCREATE(SENDER: TOBJECT);");
    EXPECT_EQ(upper.back(), "END; { of FORMCREATE }");
}

TEST(ListingRun, RoutineNames) {
    struct Case {
        TextList src;
        std::string last;
    } cases[] = {
        {{"function Foo: Integer;", "begin end;"}, "begin end; { of Foo }"},
        {{"procedure Bar;", "begin", "end;"}, "end; { of Bar }"},
        {{"x := 1; procedure", "begin", "end"}, "end { of  }"},
        {{"procedure P;", "begin", "end // done"}, "end  { of P }// done"},
        {{"procedure P;", "begin", "end// done"}, "end { of P }// done"},
        // The remark names the routine as the token index spells it.
        {{"function GetName: string;", "function TFoo.getname: string;", "begin", "end;"},
         "end; { of GetName }"},
        {{"procedure P;", "begin", "end{c}"}, "end { of P }{c}"},
        {{"procedure {c} Q;", "begin", "end;"}, "end; { of Q }"},
        {{"procedure {$ifdef A}Del{$else}Other{$endif}(x: T);", "begin", "end;"},
         "end; { of Del }"},
        {{"function Max<T>(a, b: T): T;", "begin", "end;"}, "end; { of Max }"},
        {{"procedure TList<T>.Add(x: T);", "begin", "end;"}, "end; { of Add }"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(list_stable(c.src).back(), c.last) << c.src.front();
}

TEST(ListingRun, TryAndAsmCountLikeBegin) {
    TextList src = {"procedure P;", "begin", "  try",   "    x;", "  finally", "    y;",
                    "  end;",       "  asm", "    nop", "  end;", "end;"};
    TextList out = list_stable(src);
    EXPECT_EQ(out[6], "  end;");
    EXPECT_EQ(out[9], "  end;");
    EXPECT_EQ(out[10], "end; { of P }");
}

TEST(ListingRun, OldRemarksAreReplacedNotRepeated) {
    TextList src = {"procedure P;", "begin", "end; { of Old }", "{ of the LGPL License }"};
    TextList out = list_stable(src);
    EXPECT_EQ(out[2], "end; { of P }");
    EXPECT_EQ(out[3], "{ of the LGPL License }");
}

TEST(ListingRun, FieldCommentsThatLookLikeRemarksStay) {
    TextList src = {"type",
                    "  TEvent = record",
                    "    _type: cint; { of event }",
                    "    _data: pointer;  { of event }",
                    "  end; { of TEvent }",
                    "procedure P;",
                    "begin",
                    "end; { of Old }"};
    TextList out = list_stable(src);
    EXPECT_EQ(out[2], "    _type: cint; { of event }");
    EXPECT_EQ(out[3], "    _data: pointer;  { of event }");
    EXPECT_EQ(out[4], "  end;"); // behind END: a remark of an earlier run
    EXPECT_EQ(out[7], "end; { of P }");
}

// The lines of the listed text that carry a remark, numbered from 1.
static std::vector<std::string> remark_lines(const TextList& source) {
    TextList out = list_stable(source);
    std::vector<std::string> found;
    for (std::size_t i = 0; i < out.size(); ++i)
        if (out[i].find("{ of ") != std::string::npos)
            found.push_back(std::to_string(i + 1) + ": " + out[i]);
    return found;
}

TEST(ListingRun, RemarksLandOnTheRoutinesOwnEnd) {
    struct Case {
        const char* rule;
        TextList src;
        std::vector<std::string> remarks;
    } cases[] = {
        {"END followed by a full stop gets no remark and clears all levels",
         {"procedure A;", "procedure B;", "begin", "end.", "begin", "end;"},
         {}},
        {"END . with a blank between", {"procedure A;", "begin", "end ."}, {}},
        {"IMPLEMENTATION clears all levels",
         {"unit U;", "interface", "procedure A;", "function B: Integer;", "implementation",
          "constructor TFoo.Create;", "begin", "end;", "procedure A;", "begin", "end;", "end."},
         {"11: end; { of A }"}},
        {"FORWARD: no body here", {"procedure A; forward;", "constructor C;", "begin", "end;"}, {}},
        {"FORWARD after a parameter list over several lines",
         {"procedure A(x: Integer;", "  y: Integer); forward;", "constructor C;", "begin", "end;"},
         {}},
        {"EXTERNAL behind other directives",
         {"function F(x: Integer): Integer; cdecl; external 'c' name 'f';", "constructor C;",
          "begin", "end;"},
         {}},
        {"a parameter named external is no directive",
         {"procedure A(external: Integer);", "begin", "end;"},
         {"3: end; { of A }"}},
        {"a variable named external is no directive",
         {"procedure A;", "var", "  external: Integer;", "begin", "end;"},
         {"5: end; { of A }"}},
        {"methods inside a class declaration",
         {"procedure P;", "type", "  TLocal = class(TObject)", "    procedure M;",
          "    function F: Integer; virtual;", "  end;", "begin", "end;"},
         {"8: end; { of P }"}},
        {"methods inside object, record and interface declarations",
         {"procedure P;", "type", "  TObj = object", "    procedure M;", "  end;",
          "  TRec = packed record", "    procedure N;", "  end;", "  IFoo = interface",
          "    ['{00000000-0000-0000-0000-000000000000}']", "    function G: Integer;", "  end;",
          "begin", "end;"},
         {"14: end; { of P }"}},
        {"a record with a variant part",
         {"procedure P;", "var", "  r: record", "    case Integer of", "      1: (a: Integer);",
          "      2: (b: record x: Byte; end);", "  end;", "begin", "end;"},
         {"9: end; { of P }"}},
        {"announced classes and class types open no declaration",
         {"type", "  TFoo = class;", "  TRef = class of TFoo;", "  TBar = class(TFoo);",
          "  TBaz = class(TFoo)", "    procedure M;", "  end;", "procedure Q;", "begin", "end;"},
         {"10: end; { of Q }"}},
        {"procedural types and variables after = or :",
         {"type", "  TProc = procedure(x: Integer);",
          "  TEvent = procedure(Sender: TObject) of object;", "var", "  F: function: Integer;",
          "constructor C;", "begin", "end;"},
         {}},
        {"a class method keeps its level",
         {"class procedure TFoo.Run;", "begin", "end;"},
         {"3: end; { of Run }"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(remark_lines(c.src), c.remarks) << c.rule;
}

TEST(ListingRun, LongLinesWithManyRemarks) {
    // One line holding thousands of routines, and one holding thousands of old remarks: every
    // routine gets its remark, and the old ones behind END are replaced.
    const int n = 20000;
    std::string routines, expected;
    for (int k = 0; k < n; ++k) {
        routines += "procedure a;begin end;";
        expected += "procedure a;begin end; { of a }";
    }
    EXPECT_EQ(list_stable({routines}).front(), expected);
    std::string stale, cleaned;
    for (int k = 0; k < n; ++k) {
        stale += "end; { of x } ";
        cleaned += "end; ";
    }
    EXPECT_EQ(list_stable({stale}).front(), cleaned);
    std::string headings;
    for (int k = 0; k < n; ++k)
        headings += "function ";
    EXPECT_EQ(list_stable({headings}).front(), headings);
}

TEST(ListingRun, LevelZeroAndFullStack) {
    // An END at level 0 inserts nothing; eleven headings without a body drop the oldest level.
    TextList src = {"begin", "end."};
    EXPECT_EQ(list_stable(src).back(), "end.");
    TextList many;
    for (int k = 1; k <= 11; ++k)
        many.push_back("procedure H" + std::to_string(k) + ";");
    for (int k = 0; k < 11; ++k)
        many.push_back("begin end;");
    TextList out = list_stable(many);
    EXPECT_EQ(out[11], "begin end; { of H11 }");
    EXPECT_EQ(out[20], "begin end; { of H2 }");
    EXPECT_EQ(out[21], "begin end;"); // H1 gave way; level 0 takes the last END
}

TEST(ListingRun, WordsAfterCommentsAndLiteralsAreHandled) {
    ListingOptions o;
    o.output_case = 0;
    Listed l = list({"x := 1; { c } y := 2;", "{ don't } z := 'a';", "(* note *) w", "a{c}b"}, o);
    EXPECT_EQ(l.out[0], "X := 1; { c } Y := 2;");
    EXPECT_EQ(l.out[1], "{ don't } Z := 'a';");
    EXPECT_EQ(l.out[2], "(* note *) W");
    EXPECT_EQ(l.out[3], "A{c}B");
    EXPECT_EQ(l.lists.n_const, (TextList{"1\t#01", "2\t#01"}));
    EXPECT_EQ(l.lists.a_const, (TextList{"'a'\t#02"}));
    EXPECT_EQ(l.lists.t_cref,
              (TextList{"x\t#01", "y\t#01", "z\t#02", "w\t#03", "a\t#04", "b\t#04"}));
}

TEST(ListingRun, FirstSpellingAndUnderscoreWords) {
    Listed l = list({"Foo FOO foo", "__ _x"});
    EXPECT_EQ(l.out[0], "Foo Foo Foo");
    EXPECT_EQ(l.lists.t_cref, (TextList{"Foo\t#01", "Foo\t#01", "Foo\t#01", "__\t#02", "_x\t#02"}));
}

TEST(ListingRun, CollectOptionsAndNumbers) {
    ListingOptions o;
    o.collect_alpha = o.collect_numeric = o.collect_tokens = false;
    o.output_case = 1;
    Listed l = list({"X := #13#10 + $FF + 007 + 7 + 1.5e3 + 'S';"}, o);
    EXPECT_EQ(l.out[0], "x := #13#10 + $ff + 007 + 7 + 1.5e3 + 'S';");
    EXPECT_TRUE(l.lists.a_const.empty());
    EXPECT_TRUE(l.lists.n_const.empty());
    EXPECT_TRUE(l.lists.t_cref.empty());
    Listed all = list({"X := #13#10 + $FF + 007 + 7 + 1.5e3;"});
    EXPECT_EQ(all.lists.n_const, (TextList{"13\t#01", "10\t#01", "007\t#01", "7\t#01", "1\t#01"}));
}

TEST(ListingRun, NumberWidthFollowsLineCount) {
    EXPECT_EQ(Number_Width(0), 2);
    EXPECT_EQ(Number_Width(99), 2);
    EXPECT_EQ(Number_Width(100), 3);
    EXPECT_EQ(Number_Width(99999), 5);
    EXPECT_EQ(Number_Width(119212), 6);
    EXPECT_EQ(Collected_Line("Foo", 7, 3), "Foo\t#007");
    EXPECT_EQ(Collected_Line("Foo", 119212, 6), "Foo\t#119212");
    EXPECT_EQ(Collected_Line("Foo", 1234, 2), "Foo\t#1234"); // wider than the width
    EXPECT_EQ(Collected_Line("", 0, 1), "\t#0");
    // A width taken from a list file can be any size.
    EXPECT_EQ(Collected_Line("x", 5, 70), "x\t#" + std::string(69, '0') + "5");
    TextList hundred(100, "a");
    EXPECT_EQ(list(hundred).lists.t_cref.back(), "a\t#100");
}

TEST(ListingRun, TokensCarryOverBetweenRuns) {
    TokenTable tokens;
    list({"MyName"}, {}, &tokens);
    EXPECT_EQ(list({"MYNAME"}, {}, &tokens).out[0], "MyName");
    EXPECT_EQ(tokens.Token_Count(), 1);
}

TEST(ListingRun, HighBytesPassUnchanged) {
    ListingOptions o;
    o.output_case = 0;
    Listed l = list({"s := 'gr\xc3\xbc\xc3\x9f'; \xc3\xa4x := 1; { \xc3\xa9t\xc3\xa9 }"}, o);
    EXPECT_EQ(l.out[0], "S := 'gr\xc3\xbc\xc3\x9f'; \xc3\xa4X := 1; { \xc3\xa9t\xc3\xa9 }");
}

TEST(ListingRun, MissingAndUnreadableFiles) {
    parvex::test::TempDir dir;
    TokenTable tokens;
    ListingEngine engine(tokens);
    ListingLists lists;
    lists.src_o = {"stale"};
    RunResult r = engine.Listing_Run(dir.dir() + "none.pas", {}, lists);
    EXPECT_EQ(r.status, RunStatus::Missing);
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0].title, "Source-File");
    EXPECT_EQ(r.messages[0].text, "^C:^F:" + dir.dir() + "none.pas^File does not exist !");
    EXPECT_TRUE(lists.src_o.empty());
    // A folder is named a folder, with or without its trailing separator.
    std::filesystem::create_directories(dir.path() / "units.pas");
    for (const std::string& folder : {dir.dir() + "units.pas", dir.dir() + "units.pas/"}) {
        r = engine.Listing_Run(folder, {}, lists);
        EXPECT_EQ(r.status, RunStatus::Missing);
        ASSERT_EQ(r.messages.size(), 1u);
        EXPECT_EQ(r.messages[0].text,
                  "^C:^F:" + folder + "^is a folder, not a File !\r\nPlease choose a File.");
    }
    auto locked = dir.write("locked.pas", "x");
    std::filesystem::permissions(locked, std::filesystem::perms::none);
    if (::geteuid() != 0) { // root reads anything
        r = engine.Listing_Run(locked.string(), {}, lists);
        EXPECT_EQ(r.status, RunStatus::Unreadable);
    }
    std::filesystem::create_directory(dir.path() / "folder.pas");
    // A folder is not a readable source either.
    r = engine.Listing_Run(dir.dir() + "folder.pas", {}, lists);
    EXPECT_NE(r.status, RunStatus::Done);
}

TEST(ListingRun, StopEmptiesTheListsAndSaysSo) {
    TokenTable tokens;
    ListingEngine engine(tokens);
    ListingLists lists;
    std::size_t started_lines = 0;
    RunCallbacks cb;
    cb.started = [&](const EngineMessage& m, std::size_t lines) {
        EXPECT_EQ(m.text, "^C:^P:scanning^^F:f.pas^working on file");
        started_lines = lines;
    };
    cb.line_done = [](std::size_t index) { return index < 1; };
    RunResult r = engine.List_Lines({"a", "b", "c"}, {}, lists, cb, "f.pas");
    EXPECT_EQ(started_lines, 3u);
    EXPECT_EQ(r.status, RunStatus::Stopped);
    EXPECT_TRUE(lists.src_o.empty());
    EXPECT_TRUE(lists.t_cref.empty());
    EXPECT_EQ(r.messages.size(), 1u);
}

// Text blocks and backtick literals are literals from their first line to their last: never
// re-cased, never a word or a place for a remark, collected once with the line they begin on.
TEST(ListingRun, LiteralsOfSeveralLinesAreNeverRecased) {
    struct Case {
        const char* what;
        TextList source, upper;
        TextList alpha;
        std::vector<std::size_t> inside = {}; // lines wholly inside a literal (from 0)
    } cases[] = {
        {"a text block",
         {"const", "  S = '''", "    Hello World", "    begin end", "    ''';"},
         {"CONST", "  S = '''", "    Hello World", "    begin end", "    ''';"},
         {"'''\r\n    Hello World\r\n    begin end\r\n    '''\t#02"},
         {2, 3}},
        {"five quotes hold a line of three, code goes on behind the close",
         {"s := '''''", "'''", "end;", "  '''''+t; x := 'a';"},
         {"S := '''''", "'''", "end;", "  '''''+T; X := 'a';"},
         {"'''''\r\n'''\r\nend;\r\n  '''''\t#01", "'a'\t#04"},
         {1, 2}},
        {"a longer run of quotes is text of the block",
         {"s := '''", "''''' end", "''' + u;"},
         {"S := '''", "''''' end", "''' + U;"},
         {"'''\r\n''''' end\r\n'''\t#01"},
         {1}},
        {"no text block: an even run, or text behind the run",
         {"s := ''''", "t := '''x''';", "end"},
         {"S := ''''", "T := '''x''';", "END"},
         {"'  '\t#01", "'  x  '\t#02"}}, // a doubled quote shows as two blanks
        {"backtick literals of one line and of several",
         {"s := `a {b` + `it's", "begin (* end", "` + c;"},
         {"S := `a {b` + `it's", "begin (* end", "` + C;"},
         {"`a {b`\t#01", "`it's\r\nbegin (* end\r\n`\t#01"},
         {1}},
        {"remarks only behind the routine's own end",
         {"procedure P;", "begin", "  s := '''", "  end;", "  ''';", "end;"},
         {"PROCEDURE P;", "BEGIN", "  S := '''", "  end;", "  ''';", "END; { of P }"},
         {"'''\r\n  end;\r\n  '''\t#03"},
         {3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ListingOptions o;
        o.output_case = 0;
        const TextList out = list_stable(c.source, o);
        EXPECT_EQ(out, c.upper);
        Listed l = list(c.source, o);
        EXPECT_EQ(l.lists.a_const, c.alpha);
        EXPECT_EQ(l.lists.open_literal_line, 0u);
        // Every other case leaves the literals' lines alone too.
        for (int other : {1, 3}) {
            o.output_case = other;
            const TextList cased = list_stable(c.source, o);
            for (std::size_t k : c.inside)
                EXPECT_EQ(cased[k], c.source[k]) << "case " << other;
        }
    }
}

// A literal that never closes runs to the end of its text: nothing behind it is touched, the
// check names its first line, and the next text is listed afresh.
TEST(ListingRun, ALiteralNeverClosedRunsToTheEndAndTheCheckNamesIt) {
    TokenTable tokens;
    ListingEngine engine(tokens);
    ListingOptions o;
    o.output_case = 0;
    for (const TextList& source : {TextList{"x := 1;", "s := '''", "begin end;", "y := 2;"},
                                   TextList{"x := 1;", "s := `a", "begin end;", "y := 2;"}}) {
        ListingLists lists;
        ASSERT_EQ(engine.List_Lines(source, o, lists).status, RunStatus::Done);
        EXPECT_EQ(lists.src_o,
                  (TextList{"X := 1;", Upper_Ascii(source[1].substr(0, 4)) + source[1].substr(4),
                            "begin end;", "y := 2;"}));
        EXPECT_EQ(lists.open_literal_line, 2u);
        EXPECT_TRUE(lists.a_const.empty()); // no literal: it never ends
        CheckResult check = Check_Run(lists, engine.Delimiters(), "");
        EXPECT_FALSE(check.clean);
        EXPECT_EQ(lists.src_tmp, (TextList{"", std::string(kLiteralNeverClosed), "", ""}));

        // Nothing of it reaches the next text.
        ASSERT_EQ(engine.List_Lines({"begin end;"}, o, lists).status, RunStatus::Done);
        EXPECT_EQ(lists.src_o, TextList{"BEGIN END;"});
        EXPECT_EQ(lists.open_literal_line, 0u);
        EXPECT_TRUE(Check_Run(lists, engine.Delimiters(), "").clean);
    }
}

// Where the compilers read a construct in two ways that differ in what is a literal, or where a
// letter's case is part of a value, the letters stay as written.
TEST(ListingRun, LettersWhoseCaseMayMatterStayAsWritten) {
    struct Case {
        const char* what;
        TextList source, upper;
    } cases[] = {
        {"control characters",
         {"c := ^m + #13^j + 'a'^i^j; (^a)"},
         {"C := ^m + #13^j + 'a'^i^j; (^a)"}},
        {"dereferencing carets",
         {"p^.x := q^ + f(y)^ + a[1]^ + r^^;"},
         {"P^.X := Q^ + F(Y)^ + A[1]^ + R^^;"}},
        {"a pointer to a one-letter type may be a control character",
         {"pt = ^t; pu = ^tu;"},
         {"PT = ^t; PU = ^TU;"}},
        {"a literal of the reading in which comments nest",
         {"{ a { b } it's } s := 'hello';", "(* x (* y *) don't *) t := 'ab';"},
         {"{ a { b } IT's } s := 'hello';", "(* x (* y *) DON't *) t := 'ab';"}},
        {"nesting over several lines, then both readings agree again",
         {"(* a (* b *) c", "d's *) x := 'y';", "q := 'r';"},
         {"(* a (* b *) C", "D's *) x := 'y';", "Q := 'r';"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ListingOptions o;
        o.output_case = 0;
        EXPECT_EQ(list_stable(c.source, o), c.upper);
    }
}

// "&begin" is a name: it opens no block, so the routine's remark lands on its own end.
TEST(ListingRun, AnEscapedKeywordIsAName) {
    ListingOptions o;
    o.output_case = 2;
    EXPECT_EQ(list_stable({"procedure P;", "begin", "  &begin := &end + 1;", "end;"}, o),
              (TextList{"procedure P;", "begin", "  &begin := &end + 1;", "end; { of P }"}));
}

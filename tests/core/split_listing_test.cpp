#include "engine/listing_run.h"
#include "platform/source_text.h"
#include "tables/subs.h"

#include <gtest/gtest.h>

using namespace parvex;

namespace {

struct Batch {
    const char* what;
    std::vector<TextList> files;
    TextList known_before; // tokens in the index before the first file
    ListingOptions options;
};

struct Outcome {
    std::vector<TextList> out, work, alpha, numeric, tokens;
    std::string index;
    int count = 0;
};

void prime(TokenTable& table, const TextList& known) {
    for (const std::string& t : known)
        table.Register_Token(t);
}

void keep(Outcome& o, const ListingLists& lists) {
    o.out.push_back(lists.src_o);
    o.work.push_back(lists.src);
    o.alpha.push_back(lists.a_const.lines());
    o.numeric.push_back(lists.n_const.lines());
    o.tokens.push_back(lists.t_cref.lines());
}

Outcome one_after_the_other(const Batch& b) {
    TokenTable table;
    prime(table, b.known_before);
    ListingEngine engine(table);
    Outcome o;
    for (const TextList& file : b.files) {
        ListingLists lists;
        engine.List_Lines(file, b.options, lists);
        keep(o, lists);
    }
    o.index = table.Token_Index();
    o.count = table.Token_Count();
    return o;
}

// Every file scanned before any is settled, and finished in reverse order: what a batch on
// several threads may do at worst.
Outcome split(const Batch& b) {
    TokenTable table;
    prime(table, b.known_before);
    const std::size_t n = b.files.size();
    std::vector<ListingLists> lists(n);
    std::vector<ScannedFile> scanned(n);
    for (std::size_t i = 0; i < n; ++i)
        ListingEngine().Scan_Lines(b.files[i], b.options, lists[i], scanned[i]);
    for (std::size_t i = 0; i < n; ++i)
        ListingEngine::Settle_Tokens(table, scanned[i]);
    for (std::size_t i = n; i-- > 0;)
        ListingEngine().Finish_Lines(b.options, lists[i], scanned[i]);
    Outcome o;
    for (std::size_t i = 0; i < n; ++i)
        keep(o, lists[i]);
    o.index = table.Token_Index();
    o.count = table.Token_Count();
    return o;
}

// The new texts only, each in one piece with LF line ends, listed in one go or split; with the
// token lists, which a listing in one piece fills as well.
std::pair<std::vector<std::string>, std::vector<TextList>> whole_texts(const Batch& b, bool split) {
    TokenTable table;
    prime(table, b.known_before);
    const std::size_t n = b.files.size();
    std::vector<ListingLists> lists(n);
    std::vector<ScannedFile> scanned(n);
    std::vector<std::string> texts(n);
    std::vector<TextList> tokens;
    if (split) {
        for (std::size_t i = 0; i < n; ++i) {
            const LineViews lines(b.files[i].begin(), b.files[i].end());
            ListingEngine().Scan_Lines(lines, b.options, lists[i], scanned[i]);
        }
        for (std::size_t i = 0; i < n; ++i)
            ListingEngine::Settle_Tokens(table, scanned[i]);
        for (std::size_t i = n; i-- > 0;)
            ListingEngine().Finish_Text(b.options, lists[i], scanned[i], texts[i], "\n");
    } else {
        ListingEngine engine(table);
        for (std::size_t i = 0; i < n; ++i)
            engine.List_Text(LineViews(b.files[i].begin(), b.files[i].end()), b.options, lists[i],
                             texts[i], "\n");
    }
    for (const ListingLists& l : lists) {
        EXPECT_TRUE(l.src.empty() && l.src_o.empty()); // no line kept on its own
        tokens.push_back(l.t_cref.lines());
    }
    return {texts, tokens};
}

std::vector<std::string> composed(const std::vector<TextList>& files) {
    std::vector<std::string> texts;
    for (const TextList& lines : files)
        texts.push_back(Compose_Text(lines, TextForm{"", "\n"}));
    return texts;
}

ListingOptions with_case(int output_case) {
    ListingOptions o;
    o.output_case = output_case;
    return o;
}

ListingOptions without_paren_terminator() {
    // "(" belongs to the word: "Foo(x" is one token and the routine's name "Foo" none.
    ListingOptions o;
    o.terminators = "{})[]<>:=+-*;^,.'\"/\\#$&";
    return o;
}

} // namespace

TEST(SplitListing, GivesWhatAListingOneFileAfterTheOtherGives) {
    const std::vector<Batch> batches = {
        {"a name spelt first in its heading, later otherwise",
         {{"procedure FooBar;", "begin", "  fooBAR; FOOBAR;", "end;"}, {"FOOBAR;"}},
         {},
         {}},
        {"a routine named before its token is registered in a later file",
         {{"program p;", "procedure Late(x: integer);", "begin", "end;", "begin end."},
          {"procedure LATE;", "begin", "  late;", "end;"}},
         {},
         with_case(2)},
        {"tokens known before the batch, in other spellings",
         {{"Procedure writeln;", "BEGIN", "  WriteLn('a', 12, $FF);", "End;"}},
         {"WRITELN", "begin", "System.SysUtils"},
         {}},
        {"a routine name that is no token of the file",
         {{"function Foo(x: integer): integer;", "begin", "end;"},
          {"procedure foo;", "begin", "end;", "function FOO(y: char): char;", "begin", "end;"}},
         {},
         without_paren_terminator()},
        {"comments, literals and old remarks across lines",
         {{"procedure A; { a comment", "  still } begin", "  s := 'it''s'; (* x",
           " *) end; { of Old }", "// end of line",
           "function B: string; begin B := \"q\"; end; { of B }"},
          {"procedure a;", "begin", "  b; A; _x_; 007;", "end;"}},
         {},
         {}},
        {"headings without a body and nested routines",
         {{"unit u;", "interface", "procedure P; forward;", "type T = class procedure M; end;",
           "implementation", "procedure Outer;", "  procedure Inner;", "  begin end;", "begin",
           "  case x of 1: ; end;", "end;", "end."}},
         {"OUTER"},
         with_case(3)},
    };
    for (const Batch& b : batches) {
        for (int c : {-1, 0, 1, 2, 3}) {
            Batch variant = b;
            if (c != -1 || b.options.output_case == -1)
                variant.options.output_case = c;
            ASSERT_TRUE(ListingEngine::Split_Listing_Exact(variant.options)) << b.what;
            const Outcome want = one_after_the_other(variant);
            const Outcome got = split(variant);
            SCOPED_TRACE(std::string(b.what) + ", case " + std::to_string(c));
            EXPECT_EQ(got.out, want.out);
            EXPECT_EQ(got.work, want.work);
            EXPECT_EQ(got.alpha, want.alpha);
            EXPECT_EQ(got.numeric, want.numeric);
            EXPECT_EQ(got.tokens, want.tokens);
            EXPECT_EQ(got.index, want.index);
            EXPECT_EQ(got.count, want.count);
            for (bool split_text : {false, true}) {
                const auto [texts, tokens] = whole_texts(variant, split_text);
                EXPECT_EQ(texts, composed(want.out)) << (split_text ? "split" : "in one go");
                EXPECT_EQ(tokens, want.tokens) << (split_text ? "split" : "in one go");
            }
        }
    }
}

TEST(SplitListing, RemarkNamesFollowTheIndexOfTheirTime) {
    // The name of a routine whose token the index does not hold yet keeps its own spelling;
    // once an earlier file has registered it, the remark takes the index's spelling.
    Batch b{"",
            {{"procedure Foo(a: t);", "begin", "  Foo;", "end;"},
             {"procedure FOO(b: t);", "begin", "end;"},
             {"procedure BAR(c: t);", "begin", "end;"}},
            {},
            without_paren_terminator()};
    const Outcome got = split(b);
    EXPECT_EQ(got.out[0].back(), "end; { of Foo }");
    EXPECT_EQ(got.out[1].back(), "end; { of Foo }");
    EXPECT_EQ(got.out[2].back(), "end; { of BAR }");
    EXPECT_EQ(got.out, one_after_the_other(b).out);
}

TEST(SplitListing, NotExactWhenADotIsPartOfAWord) {
    ListingOptions o;
    EXPECT_TRUE(ListingEngine::Split_Listing_Exact(o));
    o.terminators = "{}()[]<>:=+-*;^,'\"/\\#$&";
    EXPECT_FALSE(ListingEngine::Split_Listing_Exact(o));
}

TEST(SplitListing, KeyTableFindsEveryKeyAfterGrowingAndClearing) {
    KeyTable table;
    for (int round = 0; round < 2; ++round) {
        std::vector<std::string> keys;
        for (int i = 0; i < 1000; ++i)
            keys.push_back("KEY_" + std::to_string(i * 7919) + std::string(i % 17, 'X'));
        for (const std::string& k : keys) {
            ASSERT_EQ(table.Find(k), KeyTable::kAbsent) << k;
            table.Add(k, Lower_Ascii(k));
        }
        for (std::uint32_t id = 0; id < keys.size(); ++id) {
            ASSERT_EQ(table.Find(keys[id]), id);
            EXPECT_EQ(table.Spelling(id), Lower_Ascii(keys[id]));
        }
        table.Respell(3, keys[3]);
        EXPECT_EQ(table.Spelling(3), keys[3]);
        EXPECT_EQ(table.Find("KEY_"), KeyTable::kAbsent);
        table.Clear();
        EXPECT_EQ(table.Size(), 0u);
        EXPECT_EQ(table.Find(keys[0]), KeyTable::kAbsent);
    }
}

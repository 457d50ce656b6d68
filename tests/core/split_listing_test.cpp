#include "engine/listing_run.h"
#include "platform/source_text.h"
#include "tables/subs.h"

#include <gtest/gtest.h>

using namespace parvex;

namespace {
// Texts whose every line ends in LF.
TextForm lf_form() {
    TextForm form;
    form.line_end = "\n";
    return form;
}

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

// The new texts only, each in one piece with LF line ends, listed in one go or drafted (every
// file drafted before any is settled, and patched in reverse order); with the token lists,
// which a listing in one piece fills as well (a draft collects none).
std::pair<std::vector<std::string>, std::vector<TextList>> whole_texts(const Batch& b,
                                                                       bool drafted) {
    TokenTable table;
    prime(table, b.known_before);
    const std::size_t n = b.files.size();
    std::vector<ListingLists> lists(n);
    std::vector<ScannedFile> scanned(n);
    std::vector<std::string> texts(n, "#"); // drafts append to what a text holds already
    std::vector<TextList> tokens;
    if (drafted) {
        ListingOptions options = b.options;
        options.collect_tokens = false;
        EXPECT_TRUE(ListingEngine::Draft_Fits(options, 0));
        for (std::size_t i = 0; i < n; ++i) {
            const LineViews lines(b.files[i].begin(), b.files[i].end());
            ListingEngine().Draft_Text(lines, options, lists[i], scanned[i], texts[i], lf_form());
        }
        for (std::size_t i = 0; i < n; ++i)
            ListingEngine::Settle_Tokens(table, scanned[i]);
        for (std::size_t i = n; i-- > 0;)
            ListingEngine::Patch_Text(options, scanned[i], texts[i]);
    } else {
        ListingEngine engine(table);
        for (std::size_t i = 0; i < n; ++i)
            engine.List_Text(LineViews(b.files[i].begin(), b.files[i].end()), b.options, lists[i],
                             texts[i], lf_form());
    }
    for (const ListingLists& l : lists) {
        EXPECT_TRUE(l.src.empty() && l.src_o.empty()); // no line kept on its own
        tokens.push_back(l.t_cref.lines());
    }
    for (std::string& t : texts) {
        EXPECT_EQ(t.substr(0, 1), "#");
        t.erase(0, 1);
    }
    return {texts, tokens};
}

std::vector<std::string> composed(const std::vector<TextList>& files) {
    std::vector<std::string> texts;
    for (const TextList& lines : files)
        texts.push_back(Compose_Text(lines, lf_form()));
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
        {"remarks that move the words behind them on their line, respelt there",
         {{"procedure Foo; begin end; procedure Bar; begin end; foo; BAR; bar;"},
          {"procedure FOO; begin end; procedure bar; begin end; Foo; bar; BAR; foo;",
           "procedure Baz; begin end; procedure QUX; begin BAZ; end; baz; QUX;"}},
         {"bar"},
         {}},
        {"more routines open than there are levels, their names known in other spellings",
         {{"procedure l1; procedure l2; procedure l3; procedure l4; procedure l5;",
           "procedure l6; procedure l7; procedure l8; procedure l9; procedure l10;",
           "procedure l11; procedure l12;", "begin end; begin end; begin end; begin end;",
           "begin end; begin end; begin end; begin end; begin end; begin end;",
           "begin end; begin end;"}},
         {"L1", "L3", "L5", "L7", "L9", "L11", "L12"},
         {}},
        {"headings without a body and nested routines",
         {{"unit u;", "interface", "procedure P; forward;", "type T = class procedure M; end;",
           "implementation", "procedure Outer;", "  procedure Inner;", "  begin end;", "begin",
           "  case x of 1: ; end;", "end;", "end."}},
         {"OUTER"},
         with_case(3)},
        {"literals of several lines, one never closed, and letters left as written",
         {{"procedure P;", "begin", "  s := '''", "    begin End", "    ''' + `a", "  b` + x;",
           "  c := ^m; { a { b } it's } t := 'hello';", "  &end := 1;", "end;"},
          {"procedure Q;", "begin", "  s := `never", "  closed; end;"},
          {"procedure R; begin end;"}},
         {},
         {}},
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
            for (bool drafted : {false, true}) {
                const auto [texts, tokens] = whole_texts(variant, drafted);
                EXPECT_EQ(texts, composed(want.out)) << (drafted ? "drafted" : "in one go");
                if (drafted)
                    EXPECT_EQ(tokens, std::vector<TextList>(tokens.size())) << "drafted";
                else
                    EXPECT_EQ(tokens, want.tokens) << "in one go";
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
    EXPECT_EQ(whole_texts(b, true).first, composed(got.out));
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

TEST(SplitListing, SpellingIndexTellsEverySpellingApart) {
    // Spellings of every length the hash reads differently (up to 3, 4 to 7, 8, beyond), each
    // also in another case and with one byte of its run of x changed; enough of them, once,
    // to let a grown table go when it is cleared.
    SpellingIndex index;
    for (const int count : {1500, 40000, 1500}) {
        std::vector<std::string> words;
        for (int i = 0; i < count; ++i) {
            const std::string digits = "w" + std::to_string(i);
            const std::size_t xs = i % 37;
            const std::string w = digits + std::string(xs, 'x');
            words.push_back(w);
            words.push_back(Upper_Ascii(w));
            if (xs >= 2) {
                std::string middle = w;
                middle[digits.size() + xs / 2] = 'y';
                words.push_back(middle);
            }
        }
        for (std::uint32_t v = 0; v < words.size(); ++v) {
            const std::uint32_t h = SpellingIndex::Hash(words[v]);
            ASSERT_EQ(index.Find(words[v], h), SpellingIndex::kAbsent) << words[v];
            index.Add(words[v], h, v);
        }
        for (std::uint32_t v = 0; v < words.size(); ++v)
            ASSERT_EQ(index.Find(words[v], SpellingIndex::Hash(words[v])), v) << words[v];
        EXPECT_EQ(index.Find("w0x", SpellingIndex::Hash("w0x")), SpellingIndex::kAbsent);
        index.Clear();
        EXPECT_EQ(index.Find(words[0], SpellingIndex::Hash(words[0])), SpellingIndex::kAbsent);
    }
}

// The cross-reference site's core: what the engine's map of a source says (masked ranges, words,
// routine pairs that agree with the END remarks of a listing), the escaping of text and links,
// the occurrence streams and the writer's folder handling.
#include "engine/listing_run.h"
#include "site/site_source.h"
#include "site/site_text.h"
#include "site/site_writer.h"
#include "tables/subs.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <regex>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace parvex;
using namespace parvex::site;
namespace fs = std::filesystem;

namespace {

LineViews views(const TextList& lines) {
    return LineViews(lines.begin(), lines.end());
}

// One letter per byte of a line: c comment, s literal, w token, n number, . anything else.
std::string kinds_of(const TextList& lines, std::size_t line_no) {
    ListingEngine engine;
    SourceMap map;
    engine.Map_Lines(views(lines), ListingOptions{}, map);
    std::string k(lines[line_no - 1].size(), '.');
    for (const auto& r : map.ranges)
        if (r.line == line_no)
            for (std::uint32_t i = r.start; i < r.end; ++i)
                k[i] = r.kind == SourceMap::Kind::Comment ? 'c' : 's';
    for (const auto& w : map.words)
        if (w.line == line_no)
            for (std::uint32_t i = w.start; i < w.start + w.length; ++i)
                k[i] = w.number ? 'n' : 'w';
    return k;
}

} // namespace

TEST(SiteMap, MarksWhatTheScannerMasksAndEveryWord) {
    struct Case {
        TextList lines;
        std::size_t line;
        std::string kinds;
    } cases[] = {
        {{"a := 'x''y' + 12; // note"}, 1, "w....ssssss...nn..ccccccc"},
        {{"{$I a.inc} b(*c*)d"}, 1, "cccccccccc.wcccccw"},
        {{"x := \"q\"#13;"}, 1, "w....sss.nn."},
        {{"(* open", "still *) Go"}, 2, "cccccccc.ww"},
        {{"end; { of Foo }"}, 1, "www..cccccccccc"}, // an old remark is a comment as it stands
        {{"r := 1.5e3 + $FF;"}, 1, "w....n.www....ww."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(kinds_of(c.lines, c.line), c.kinds) << c.lines[c.line - 1];
}

TEST(SiteMap, PairsEachRoutineWithTheEndThatGetsItsRemark) {
    // The map pairs a heading with the END a listing puts "{ of Name }" behind.
    const std::vector<TextList> sources = {
        {"procedure A;", "  procedure B;", "  begin", "  end;", "begin", "  if x then begin end;",
         "end;"},
        {"unit U;", "interface", "function F(X: Integer): Integer;", "implementation",
         "function F(X: Integer): Integer;", "begin", "  case X of 1: ; end;", "end;", "end."},
        {"procedure P; forward;", "procedure Q; external 'lib';",
         "procedure TForm1.Click(S: TObject);", "var R: record A: Integer; end;", "begin", "  try",
         "  finally", "  end;", "end;"},
        {"type T = class", "  procedure M;", "end;", "procedure T.M;", "  procedure Inner;",
         "  begin end;", "begin", "  asm", "  end;", "end;"},
    };
    for (const TextList& src : sources) {
        TokenTable tokens;
        ListingEngine lister(tokens);
        ListingLists lists;
        ListingOptions options;
        ASSERT_EQ(lister.List_Lines(src, options, lists).status, RunStatus::Done);
        std::vector<std::pair<std::string, std::uint32_t>> remarks; // name, line
        const std::regex remark(R"(\{ of (\w*) \})");
        for (std::size_t i = 0; i < lists.src_o.size(); ++i)
            for (std::sregex_iterator m(lists.src_o[i].begin(), lists.src_o[i].end(), remark), e;
                 m != e; ++m)
                remarks.emplace_back((*m)[1], static_cast<std::uint32_t>(i + 1));
        ListingEngine engine;
        SourceMap map;
        engine.Map_Lines(views(src), options, map);
        std::vector<std::pair<std::string, std::uint32_t>> pairs;
        for (const auto& r : map.routines)
            if (r.end_line != 0) {
                pairs.emplace_back(r.name, r.end_line);
                // The END stands where the map says it does.
                EXPECT_EQ(Upper_Ascii(src[r.end_line - 1].substr(r.end_column, 3)), "END");
                EXPECT_TRUE(
                    Upper_Ascii(src[r.line - 1].substr(r.column)).starts_with("PROCEDURE") ||
                    Upper_Ascii(src[r.line - 1].substr(r.column)).starts_with("FUNCTION"));
            }
        std::sort(pairs.begin(), pairs.end(),
                  [](const auto& a, const auto& b) { return a.second < b.second; });
        EXPECT_EQ(pairs, remarks) << src[0];
        EXPECT_FALSE(remarks.empty()) << src[0];
    }
}

TEST(SiteMap, RoutinesWithoutABodyHereAreNotPaired) {
    const TextList src = {"procedure P; forward;", "procedure Q; external 'lib';", "procedure R;",
                          "begin", "end;"};
    ListingEngine engine;
    SourceMap map;
    engine.Map_Lines(views(src), ListingOptions{}, map);
    ASSERT_EQ(map.routines.size(), 1u);
    EXPECT_EQ(map.routines[0].name, "R");
    EXPECT_EQ(map.routines[0].line, 3u);
    EXPECT_EQ(map.routines[0].end_line, 5u);
}

TEST(SiteText, EscapesTextForPagesAndNamesForLinks) {
    EXPECT_EQ(Html_Escape("a<b>&\"c'"), "a&lt;b&gt;&amp;&quot;c&#39;");
    EXPECT_EQ(Url_Escape("s/we ird #1 %41 <b> 'q\".pas.html"),
              "s/we%20ird%20%231%20%2541%20%3Cb%3E%20%27q%22.pas.html");
    EXPECT_EQ(Url_Escape("caf\xC3\xA9/x-y_z.~1"), "caf%C3%A9/x-y_z.~1");
    struct {
        std::string in, out;
    } js[] = {
        {"plain", "\"plain\""},
        {"a\"b\\c", "\"a\\\"b\\\\c\""},
        {"l1\nl2\r", "\"l1\\nl2\\x0d\""},
        {"</script><b>", "\"<\\/script><b>\""},
        {"x\xE2\x80\xA8y\xE2\x80\xA9", "\"x\\u2028y\\u2029\""},
        {"\x01mark\x04 \xC3\xA9", "\"\x01mark\x04 \xC3\xA9\""},
    };
    for (const auto& c : js) {
        std::string out;
        Append_Js_String(out, c.in);
        EXPECT_EQ(out, c.out);
    }
}

TEST(SiteText, ShowsBytesAsUtf8OrLatin1WithControlsVisible) {
    struct {
        std::string in;
        bool utf8;
        std::string out;
    } cases[] = {
        {"caf\xC3\xA9", true, "caf\xC3\xA9"},
        {"caf\xE9", false, "caf\xC3\xA9"},
        {"a\tb\x01\x1A\x7F", true, "a\tb\xE2\x90\x81\xE2\x90\x9A\xE2\x90\xA1"},
    };
    for (const auto& c : cases) {
        std::string out;
        Append_Display(out, c.in, c.utf8);
        EXPECT_EQ(out, c.out);
    }
    EXPECT_EQ(Display_Name("x\xFF.pas"), "x\xC3\xBF.pas");
}

TEST(SiteText, KeyHashIsThePagesOwn) {
    // The values the pages' script works out for the same keys.
    EXPECT_EQ(Key_Hash("TEND"), 3172609936u);
    EXPECT_EQ(Key_Hash("TBYTE1"), 3662075344u);
    EXPECT_EQ(Key_Hash("L'caf\xC3\xA9'"), 118875542u);
    EXPECT_EQ(Key_Hash("T\xF0\x9F\x98\x80X"), 788370242u);
    EXPECT_EQ(Key_Hash(""), 2166136261u);
}

TEST(SiteText, OccurrenceStreamsCutIntoPartsReadAsAWhole) {
    // Many files, first lines odd and even, large steps: every part starts with a whole file.
    std::vector<std::pair<std::uint32_t, std::vector<std::uint32_t>>> want;
    std::string stream;
    std::int64_t last = -1;
    for (std::uint32_t f = 0; f < 3000; f += 1 + f % 7) {
        std::vector<std::uint32_t> lines;
        std::uint32_t line = 1 + (f * 7919) % 5000;
        for (std::uint32_t k = 0; k < 1 + f % 13; ++k, line += 1 + (k * 131) % 2000)
            lines.push_back(line);
        Append_Varint(stream, 2 * static_cast<std::uint64_t>(f - last) - 1);
        Append_Varint(stream, lines[0]);
        for (std::size_t k = 1; k < lines.size(); ++k)
            Append_Varint(stream, 2ull * (lines[k] - lines[k - 1]));
        last = f;
        want.emplace_back(f, lines);
    }
    EXPECT_EQ(Occurrence_Groups(stream), want);
    const auto parts = Cut_Occurrences(stream, 1000);
    ASSERT_GT(parts.size(), 5u);
    std::vector<std::pair<std::uint32_t, std::vector<std::uint32_t>>> got;
    for (const std::string& part : parts) {
        EXPECT_LE(part.size(), 1000u + 200u);
        for (auto& g : Occurrence_Groups(part))
            got.push_back(std::move(g));
    }
    EXPECT_EQ(got, want);
    for (std::uint64_t v : {0ull, 31ull, 32ull, 1023ull, 1024ull, 123456789ull}) {
        std::string s;
        Append_Varint(s, v);
        std::size_t at = 0;
        std::uint64_t back = 0;
        ASSERT_TRUE(Read_Varint(s, at, back));
        EXPECT_EQ(back, v);
        EXPECT_EQ(at, s.size());
    }
}

namespace {

// A site at `out` begun with one source of one line, not finished (yet).
FileResult begin_site(SiteWriter& writer, const std::string& out, const std::string& text) {
    if (FileResult r = writer.Begin(out); !r)
        return r;
    SiteReader reader;
    SiteSource src;
    const TextList lines = {text};
    reader.Read(views(lines), true, ListingOptions{}, src);
    return writer.Add("a.pas", src);
}

FileResult write_site(const std::string& out, const std::string& text) {
    SiteWriter writer({"proj", "as it is on disk", " ;"});
    if (FileResult r = begin_site(writer, out, text); !r)
        return r;
    return writer.Finish(nullptr);
}

std::vector<std::string> names_in(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(SiteWriter, ReplacesOnlyAnEarlierSiteAndLeavesNothingBeside) {
    test::TempDir dir;
    const std::string out = (dir.path() / "site").string();
    ASSERT_TRUE(write_site(out, "first"));
    ASSERT_TRUE(write_site(out, "second"));
    EXPECT_NE(test::read_bytes(dir.path() / "site/d/p/0.js").find("second"), std::string::npos);
    EXPECT_EQ(names_in(dir.path()), std::vector<std::string>{"site"});
    // A folder of the user's is never replaced; an empty one is taken.
    dir.write("mine/keep.txt", "mine");
    const FileResult r = write_site((dir.path() / "mine").string(), "x");
    EXPECT_FALSE(r);
    EXPECT_NE(r.error.find("no site of parvex-list"), std::string::npos) << r.error;
    EXPECT_EQ(test::read_bytes(dir.path() / "mine/keep.txt"), "mine");
    dir.write("file", "x");
    EXPECT_FALSE(write_site((dir.path() / "file").string(), "x"));
    fs::create_directory(dir.path() / "empty");
    EXPECT_TRUE(write_site((dir.path() / "empty").string(), "x"));
    EXPECT_EQ(names_in(dir.path()), (std::vector<std::string>{"empty", "file", "mine", "site"}));
}

TEST(SiteWriter, AnUnfinishedSiteLeavesTheEarlierOneWhole) {
    test::TempDir dir;
    const std::string out = (dir.path() / "site").string();
    ASSERT_TRUE(write_site(out, "first"));
    {
        SiteWriter writer({"proj", "as it is on disk", " ;"});
        ASSERT_TRUE(begin_site(writer, out, "second"));
        // stopped here: no Finish
    }
    EXPECT_NE(test::read_bytes(dir.path() / "site/d/p/0.js").find("first"), std::string::npos);
    EXPECT_EQ(names_in(dir.path()), std::vector<std::string>{"site"});
}

TEST(SiteWriter, TheNextRunRemovesWhatAKilledRunLeftAndNothingElse) {
    test::TempDir dir;
    const std::string out = (dir.path() / "site").string();
    // A run still writing, and one killed while it writes: no destructor, no clean-up.
    SiteWriter running({"proj", "as it is on disk", " ;"});
    ASSERT_TRUE(begin_site(running, out, "half written"));
    const std::vector<std::string> first = names_in(dir.path());
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        SiteWriter writer({"proj", "as it is on disk", " ;"});
        if (begin_site(writer, out, "half written"))
            ::raise(SIGKILL);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    std::vector<std::string> killed;
    std::ranges::set_difference(names_in(dir.path()), first, std::back_inserter(killed));
    ASSERT_EQ(killed.size(), 1u);
    ASSERT_TRUE(killed[0].starts_with(".parvex-site-")) << killed[0];

    // Folders that must stay: the user's own with names alike (one holds a symbolic link of
    // the lock file's name), a link to the killed run's folder, and the running one's.
    dir.write(".parvex-site-mine/notes.txt", "mine");
    dir.write("elsewhere", "");
    dir.write(".parvex-site-link/keep.txt", "mine");
    fs::create_symlink(dir.path() / "elsewhere", dir.path() / ".parvex-site-link/.parvex-writing");
    fs::create_directory_symlink(dir.path() / killed[0], dir.path() / ".parvex-site-alias");
    std::vector<std::string> before = names_in(dir.path());
    std::erase(before, killed[0]);

    ASSERT_TRUE(write_site(out, "next"));
    std::vector<std::string> after = names_in(dir.path());
    std::erase(after, "site");
    EXPECT_EQ(after, before);
    EXPECT_EQ(test::read_bytes(dir.path() / ".parvex-site-mine/notes.txt"), "mine");
    EXPECT_EQ(test::read_bytes(dir.path() / ".parvex-site-link/keep.txt"), "mine");
    EXPECT_FALSE(fs::exists(dir.path() / "site" / ".parvex-writing"));
    // Replacing a site leaves neither the old one nor a lock file behind.
    ASSERT_TRUE(write_site(out, "again"));
    after = names_in(dir.path());
    std::erase(after, "site");
    EXPECT_EQ(after, before);
    EXPECT_FALSE(fs::exists(dir.path() / "site" / ".parvex-writing"));
}

#include "richtext/rtf_reader.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using namespace parvex::rich;

namespace {

// Every paragraph's text, for compact expectations.
std::vector<std::string> texts(const Document& d) {
    std::vector<std::string> out;
    for (const Paragraph& p : d.paragraphs)
        out.push_back(p.plain_text());
    return out;
}

bool valid_utf8(const std::string& s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        int n = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        if (n < 0 || i + static_cast<std::size_t>(n) >= s.size() + (n == 0 ? 1 : 0))
            return false;
        for (int k = 1; k <= n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
                return false;
        i += static_cast<std::size_t>(n) + 1;
    }
    return true;
}

} // namespace

TEST(RtfReader, ParagraphsStylesAndAlignment) {
    const std::string rtf =
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1 Courier;}}\r\n"
        "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue128;}\r\n"
        "{\\*\\generator Some Editor 1.0;}\\viewkind4\\uc1\r\n"
        "\\pard\\qc\\f0\\fs32\\b Title\\b0\\fs20\\par\r\n"
        "\\pard Plain \\i it\\i0  \\ul u\\ulnone  \\cf1 red\\cf2 navy\\cf0  back\\line next\\tab "
        "x\\par\r\n"
        "\\pard\\qr right\\par\r\n"
        "{\\b bold group}after\\par\r\n"
        "}";
    Document d = Read_Rtf(rtf);
    ASSERT_EQ(texts(d), (std::vector<std::string>{"Title", "Plain it u rednavy back\nnext\tx",
                                                  "right", "bold groupafter"}));
    EXPECT_FALSE(d.truncated);
    const Paragraph& title = d.paragraphs[0];
    EXPECT_EQ(title.align, Align::Center);
    ASSERT_EQ(title.runs.size(), 1u);
    EXPECT_TRUE(title.runs[0].style.bold);
    EXPECT_EQ(title.runs[0].style.half_points, 32);

    const Paragraph& body = d.paragraphs[1];
    EXPECT_EQ(body.align, Align::Left);
    auto run_of = [&](const Paragraph& p, const std::string& text) -> const parvex::rich::Run* {
        for (const parvex::rich::Run& r : p.runs)
            if (r.text == text)
                return &r;
        return nullptr;
    };
    ASSERT_TRUE(run_of(body, "it"));
    EXPECT_TRUE(run_of(body, "it")->style.italic);
    EXPECT_FALSE(run_of(body, "it")->style.bold);
    ASSERT_TRUE(run_of(body, "u"));
    EXPECT_TRUE(run_of(body, "u")->style.underline);
    ASSERT_TRUE(run_of(body, "red"));
    EXPECT_EQ(run_of(body, "red")->style.rgb, 0xFF0000u);
    ASSERT_TRUE(run_of(body, "navy"));
    EXPECT_EQ(run_of(body, "navy")->style.rgb, 0x000080u);
    EXPECT_EQ(d.paragraphs[2].align, Align::Right);
    // Group state ends with its group.
    EXPECT_TRUE(d.paragraphs[3].runs[0].style.bold);
    EXPECT_FALSE(d.paragraphs[3].runs.back().style.bold);
}

TEST(RtfReader, EscapesAndCharacterSets) {
    struct Case {
        const char* body;
        const char* text;
    } cases[] = {
        {"caf\\'e9", "caf\xC3\xA9"},                                     // Windows-1252 é
        {"\\'80 \\'93q\\'94", "\xE2\x82\xAC \xE2\x80\x9Cq\xE2\x80\x9D"}, // € and curly quotes
        {"\\u8364?x", "\xE2\x82\xAC"
                      "x"},                          // the fallback "?" is skipped
        {"\\uc2\\u20320??y", "\xE4\xBD\xA0y"},       // two fallback characters
        {"\\u-10179?\\u-8704?", "\xF0\x9F\x98\x80"}, // a surrogate pair
        {"\\u8364\\'80z", "\xE2\x82\xAC"
                          "z"}, // a hex fallback counts as one
        {"a\\\\b\\{c\\}", "a\\b{c}"},
        {"a\\~b\\_c\\-d", "a\xC2\xA0"
                          "b-cd"},
        {"\\lquote x\\rquote \\emdash", "\xE2\x80\x98x\xE2\x80\x99\xE2\x80\x94"},
        {"raw \xE9", "raw \xC3\xA9"}, // an unescaped 8-bit byte
        {"\\lang1031\\f2\\cf99\\fs-5 unknown words", "unknown words"},
        {"a\r\nb", "ab"}, // line ends in the source are no text
        {"\\u55357?end", "\xEF\xBF\xBD"
                         "end"}, // a lone high surrogate
    };
    for (const Case& c : cases) {
        Document d = Read_Rtf(std::string("{\\rtf1 ") + c.body + "}");
        EXPECT_EQ(d.plain_text(), c.text) << c.body;
    }
}

TEST(RtfReader, HyperlinkFieldsAndSkippedDestinations) {
    const std::string rtf =
        "{\\rtf1{\\info{\\title Secret}{\\author Nobody}}"
        "{\\*\\unknowndest hidden}{\\pict\\pngblip 89504e47}"
        "See {\\field{\\*\\fldinst{HYPERLINK \"https://example.org/a b\"}}"
        "{\\fldrslt{\\ul\\cf1 the site}}} now. "
        "{\\field{\\*\\fldinst HYPERLINK \\\\l \"anchor\"}{\\fldrslt inside}} "
        "{\\field{\\fldinst HYPERLINK mailto:x@y.org }{\\fldrslt mail}}"
        "{\\*\\blipuid {\\pict\\bin1 }}} tail\\par}"; // the raw byte of \\bin is no brace
    Document d = Read_Rtf(rtf);
    ASSERT_EQ(texts(d), (std::vector<std::string>{"See the site now. inside mail tail"}));
    std::vector<std::pair<std::string, std::string>> links;
    for (const parvex::rich::Run& r : d.paragraphs[0].runs)
        if (!r.link.empty())
            links.emplace_back(r.text, r.link);
    EXPECT_EQ(links, (std::vector<std::pair<std::string, std::string>>{
                         {"the site", "https://example.org/a b"}, {"mail", "mailto:x@y.org"}}));
}

TEST(RtfReader, DocumentEndsAtItsClosingBrace) {
    // The checksum line of a shipped page follows the document and is not shown.
    Document d = Read_Rtf("{\\rtf1 first\\par last line}\r\n\xFF-123456789\r\n");
    EXPECT_EQ(texts(d), (std::vector<std::string>{"first", "last line"}));
    // An unclosed document gives what it holds.
    EXPECT_EQ(Read_Rtf("{\\rtf1 open {\\b end").plain_text(), "open end");
    // A final "\par" opens no empty paragraph; an empty one in between stays.
    EXPECT_EQ(texts(Read_Rtf("{\\rtf1 a\\par\\par b\\par}")),
              (std::vector<std::string>{"a", "", "b"}));
}

TEST(RtfReader, PlainTextIsTakenLineByLine) {
    Document d = Read_Rtf("not rich\r\nsecond \x80\r\n");
    EXPECT_EQ(texts(d), (std::vector<std::string>{"not rich", "second \xE2\x82\xAC"}));
    EXPECT_TRUE(Read_Rtf("").paragraphs.empty());
}

TEST(RtfReader, PlainAddressesBecomeLinks) {
    struct Case {
        const char* text;
        std::vector<std::pair<std::string, std::string>> links; // text, target
    } cases[] = {
        {"see www.example.org, then", {{"www.example.org", "http://www.example.org"}}},
        {"(https://a.example/x?y=1).", {{"https://a.example/x?y=1", "https://a.example/x?y=1"}}},
        {"write mailto:me@example.org!", {{"mailto:me@example.org", "mailto:me@example.org"}}},
        {"HTTP://UP.EXAMPLE and http://", {{"HTTP://UP.EXAMPLE", "HTTP://UP.EXAMPLE"}}},
        {"awww.example.org no", {}},
        {"plain words only", {}},
    };
    for (const Case& c : cases) {
        Document d = Read_Rtf(std::string("{\\rtf1 {\\b ") + c.text + "}}");
        Link_Plain_Addresses(d);
        std::vector<std::pair<std::string, std::string>> links;
        for (const parvex::rich::Run& r : d.paragraphs.at(0).runs) {
            EXPECT_TRUE(r.style.bold) << c.text; // the style stays with every piece
            if (!r.link.empty())
                links.emplace_back(r.text, r.link);
        }
        EXPECT_EQ(links, c.links) << c.text;
        EXPECT_EQ(d.plain_text(), c.text);
    }
}

TEST(RtfReader, DeepNestingIsCappedNotRecursed) {
    const int depth = 10000;
    std::string rtf = "{\\rtf1 start ";
    for (int i = 0; i < depth; ++i)
        rtf += i == 100 ? "{\\b " : "{";
    rtf += "deep";
    rtf += std::string(depth, '}');
    rtf += " after\\par}";
    Document d = Read_Rtf(rtf);
    EXPECT_TRUE(d.truncated);
    EXPECT_EQ(d.plain_text(), "start deep after");
    // Braces still pair up beyond the cap: the text after the deep groups is back in plain style.
    EXPECT_FALSE(d.paragraphs[0].runs.back().style.bold);
    EXPECT_TRUE(d.paragraphs[0].runs[1].style.bold);
}

TEST(RtfReader, SizeIsCapped) {
    std::string rtf = "{\\rtf1 " + std::string(1000, 'x') + "}";
    Document d = Read_Rtf(rtf, Reader_Limits{100, 200});
    EXPECT_TRUE(d.truncated);
    EXPECT_EQ(d.plain_text(), std::string(93, 'x'));
}

// Random bytes and random mixtures of rich-text pieces: the reader ends, and what it gives is
// valid UTF-8 whatever it was fed.
TEST(RtfReader, SurvivesRandomInput) {
    std::mt19937 rng(20261210);
    const std::vector<std::string> pieces = {"{",
                                             "}",
                                             "\\",
                                             "\\par ",
                                             "\\b",
                                             "\\b0",
                                             "\\'",
                                             "\\'e9",
                                             "\\'zz",
                                             "\\u",
                                             "\\u-",
                                             "\\u-10179",
                                             "\\u55296",
                                             "\\uc",
                                             "\\uc9",
                                             "\\*",
                                             "\\fldinst ",
                                             "\\fldrslt ",
                                             "\\field",
                                             "HYPERLINK \"",
                                             "\\colortbl",
                                             "\\red",
                                             "\\cf",
                                             "\\cf3",
                                             "\\fs99999999999999999",
                                             ";",
                                             "text",
                                             "\xFF",
                                             "\0",
                                             "\\fonttbl",
                                             "www.",
                                             "mailto:",
                                             "https://",
                                             "\\line",
                                             "\\tab",
                                             "\\qc",
                                             "\\",
                                             std::string(40, 'a')};
    for (int round = 0; round < 3000; ++round) {
        std::string input = round % 3 == 0 ? "" : "{\\rtf1 ";
        const int n = static_cast<int>(rng() % 200);
        for (int i = 0; i < n; ++i) {
            if (round % 2 == 0)
                input += static_cast<char>(rng() & 0xFF);
            else
                input += pieces[rng() % pieces.size()];
        }
        Document d = Read_Rtf(input, Reader_Limits{4096, 16});
        Link_Plain_Addresses(d);
        for (const Paragraph& p : d.paragraphs)
            for (const parvex::rich::Run& r : p.runs) {
                ASSERT_TRUE(valid_utf8(r.text)) << "round " << round;
                ASSERT_TRUE(valid_utf8(r.link)) << "round " << round;
            }
    }
}

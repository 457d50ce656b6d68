#include "tables/file_routines.h"

#include "temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace parvex;

TEST(FileRoutines, WildcardMatch) {
    struct Case {
        const char* pattern;
        const char* name;
        bool match;
    } cases[] = {
        {"*.dat", "news.dat", true},
        {"*.dat", "news.dat.bak", false},
        {"n?ws.*", "news.dat", true},
        {"*", ".hidden", true},
        {"a*b*c", "aXbYbZc", true},
        {"a*b*c", "aXbYbZ", false},
        {"", "", true},
        {"News.dat", "news.dat", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Wildcard_Match(c.pattern, c.name), c.match) << c.pattern << " " << c.name;
}

TEST(FileRoutines, FileSizeByNameOrPattern) {
    test::TempDir dir;
    dir.write("b.txt", "12345");
    dir.write("a.txt", "1");
    dir.write(".hidden", "123");
    std::filesystem::create_directory(dir.path() / "c.txt");
    EXPECT_EQ(File_Size(dir.dir() + "b.txt"), 5u);
    EXPECT_EQ(File_Size(dir.dir() + "*.txt"), 1u); // the first match in name order
    EXPECT_EQ(File_Size(dir.dir() + ".hid*"), 3u);
    EXPECT_EQ(File_Size(dir.dir() + "missing.txt"), 0u);
    EXPECT_EQ(File_Size(dir.dir() + "*.none"), 0u);
    EXPECT_EQ(File_Size(dir.dir() + "c.txt"), 0u);
    EXPECT_EQ(File_Size(dir.dir() + "nofolder/*.txt"), 0u);
}

TEST(FileRoutines, ExtractSection) {
    TextList source{"[Other]", "x=1", "[Main]extra", "a=1", "",   "; note",
                    "[Next]",  "b=2", "[Last]",      "c=3", "d=4"};
    TextList target{"stale"};
    Extract_Section("Main", source, target);
    EXPECT_EQ(target, (TextList{"a=1", "", "; note"}));
    Extract_Section("Last", source, target);
    EXPECT_EQ(target, (TextList{"c=3", "d=4"}));
    Extract_Section("main", source, target); // case-sensitive
    EXPECT_TRUE(target.empty());
    Extract_Section("Next", {"[Next]"}, target);
    EXPECT_TRUE(target.empty());
}

TEST(FileRoutines, DataFileSumByHand) {
    // Key "12": K = 2, base 12. Line "AB": p=1 -> key[(1 mod 2)+1] = '2' (50), p=2 -> '1' (49).
    TextList lines{"AB", "ignored last line"};
    std::string key = "12";
    auto sum = Data_File_Sum(lines, key);
    ASSERT_TRUE(sum.has_value());
    EXPECT_EQ(*sum, 12 - (65 * 50 + 66 * 49));
    EXPECT_EQ(key, "\xFF" + std::to_string(12 - (65 * 50 + 66 * 49)));

    // Bytes above 127 count as 0 .. 255; the default key replaces an empty or long key.
    TextList high{"\xE4", "x"};
    std::string empty_key;
    std::string long_key = "1234567890";
    auto a = Data_File_Sum(high, empty_key);
    auto b = Data_File_Sum(high, long_key);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(*a, 582937164 - 0xE4 * '8'); // position 1 -> key character 2, "8"
    EXPECT_EQ(*a, *b);

    std::string bad = "12x";
    EXPECT_FALSE(Data_File_Sum(lines, bad).has_value());
    EXPECT_EQ(bad, "12x");
}

TEST(FileRoutines, DataFileSumWrapsAt32Bits) {
    TextList lines{std::string(100000, '\xFF'), ""};
    std::string key = "-99999999";
    auto sum = Data_File_Sum(lines, key);
    ASSERT_TRUE(sum.has_value());
    std::uint32_t expected = static_cast<std::uint32_t>(-99999999);
    for (int p = 1; p <= 100000; ++p)
        expected -= 255u * static_cast<unsigned char>("-99999999"[p % 9]);
    EXPECT_EQ(*sum, static_cast<std::int32_t>(expected));
}

TEST(FileRoutines, CheckDataFileWritesAndVerifies) {
    test::TempDir dir;
    std::string file = dir.dir() + "About.rtf";
    dir.write("About.rtf", "line one\r\nline two\r\nlast content\r\n");
    std::string key;
    TextList lines;
    ASSERT_TRUE(Check_Data_File(true, true, file, key, lines));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines.back()[0], '\xFF');

    key.clear();
    ASSERT_TRUE(Check_Data_File(false, false, file, key, lines));
    EXPECT_EQ(lines, (TextList{"line one", "line two", "last content"}));

    // Writing again replaces the checksum line instead of adding a second one.
    key.clear();
    ASSERT_TRUE(Check_Data_File(true, true, file, key, lines));
    EXPECT_EQ(lines.size(), 4u);

    // Without save the file stays as it was.
    std::string before = dir.read("About.rtf");
    key.clear();
    ASSERT_TRUE(Check_Data_File(true, false, file, key, lines));
    EXPECT_EQ(dir.read("About.rtf"), before);
}

TEST(FileRoutines, CheckDataFileNoticesChanges) {
    test::TempDir dir;
    std::string file = dir.dir() + "p.rtf";
    std::string key;
    TextList lines;
    dir.write("p.rtf", "alpha\r\nbeta\r\nlast\r\n");
    ASSERT_TRUE(Check_Data_File(true, true, file, key, lines));
    std::string sum_line = lines.back();

    struct Case {
        const char* content;
        bool passes;
    } cases[] = {
        {"alpha\r\nbeta\r\nlast\r\n", true},
        {"alpha\r\nbeta\r\nchanged last\r\n", true}, // the last content line is not summed
        {"alphA\r\nbeta\r\nlast\r\n", false},
        {"alpha\r\nbeta\r\n\r\nlast\r\n", true}, // an empty line adds nothing to the sum
        {"beta\r\nalpha\r\nlast\r\n", true},     // weights follow the column, not the line
        {"alpha\r\nbeat\r\nlast\r\n", false},
    };
    for (const auto& c : cases) {
        dir.write("p.rtf", std::string(c.content) + sum_line + "\r\n");
        key.clear();
        EXPECT_EQ(static_cast<bool>(Check_Data_File(false, false, file, key, lines)), c.passes)
            << c.content;
    }
}

TEST(FileRoutines, CheckDataFileFailures) {
    test::TempDir dir;
    std::string key;
    TextList lines{"stale"};
    FileResult missing = Check_Data_File(false, false, dir.dir() + "none.rtf", key, lines);
    EXPECT_FALSE(missing);
    EXPECT_TRUE(lines.empty());
    dir.write("empty.rtf", "");
    EXPECT_FALSE(Check_Data_File(false, false, dir.dir() + "empty.rtf", key, lines));
    // Saving into a file that cannot be replaced is a failure, not a success.
    dir.write("ro.rtf", "a\r\nb\r\n");
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_read |
                                                 std::filesystem::perms::owner_exec);
    key.clear();
    FileResult saved = Check_Data_File(true, true, dir.dir() + "ro.rtf", key, lines);
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_all);
    if (::geteuid() != 0) {
        EXPECT_FALSE(saved);
    }
}

TEST(FileRoutines, ClassifyDocument) {
    test::TempDir dir;
    dir.write("help.htm", "<html></html>");
    dir.write("run.sh", "#!/bin/sh\n");
    std::filesystem::permissions(dir.path() / "run.sh", std::filesystem::perms::owner_all);
    dir.write("evil.desktop", "[Desktop Entry]\n");
    std::string help = dir.dir() + "help.htm";

    struct Case {
        std::string path;
        Document_Kind kind;
    } cases[] = {
        {"", Document_Kind::Nothing},
        {"   ", Document_Kind::Nothing},
        {"http://example.org/news.dat", Document_Kind::Web_Address},
        {"HTTPS://example.org/", Document_Kind::Web_Address},
        {"mailto:someone@example.org", Document_Kind::Mail_Address},
        {help, Document_Kind::Local_File},
        {"file://" + help, Document_Kind::Local_File},
        {dir.dir() + "missing.htm", Document_Kind::Refused},
        {dir.dir(), Document_Kind::Refused},
        {dir.dir() + "run.sh", Document_Kind::Refused},
        {dir.dir() + "evil.desktop", Document_Kind::Refused},
        {"rm -rf /", Document_Kind::Refused},
        {"javascript:alert(1)", Document_Kind::Refused},
        {"ftp://example.org/x", Document_Kind::Refused},
        {"smb://host/share", Document_Kind::Refused},
        {"http://", Document_Kind::Refused},
        {"http://host/a b", Document_Kind::Refused},
        {"mailto:nobody", Document_Kind::Refused},
        {"mailto:a@example.org?subject=News&body=Hello&cc=b@example.org",
         Document_Kind::Mail_Address},
        // A mail program would send the local file along.
        {"mailto:a@example.org?subject=x&attach=/home/u/.ssh/id_rsa", Document_Kind::Refused},
        {"mailto:a@example.org?Attachment=file:///etc/passwd", Document_Kind::Refused},
    };
    for (const auto& c : cases) {
        Document_Target t = Classify_Document(c.path);
        EXPECT_EQ(t.kind, c.kind) << c.path;
        if (c.kind == Document_Kind::Refused) {
            EXPECT_FALSE(t.reason.empty()) << c.path;
        }
    }
    EXPECT_EQ(Classify_Document("file://" + help).target, help);
}

// A link that came with downloaded data opens only as a web or mail address: an existing local
// file of any kind (a page, a script, an archive, a system file) is refused like any other
// scheme, and so is whatever Classify_Document refuses.
TEST(FileRoutines, DownloadedLinksOpenOnlyWebAndMailAddresses) {
    test::TempDir dir;
    const std::string page = dir.write("page.html", "<p>hi</p>").string();
    const std::string script = dir.write("tool.py", "print(1)").string();
    const std::string archive = dir.write("app.jar", "PK").string();
    struct Case {
        std::string address;
        Document_Kind kind;
    } cases[] = {
        {"https://www.example.org/news", Document_Kind::Web_Address},
        {"  HTTP://example.org/  ", Document_Kind::Web_Address},
        {"mailto:team@example.org?subject=News", Document_Kind::Mail_Address},
        {"", Document_Kind::Nothing},
        {"   ", Document_Kind::Nothing},
        {"file:///etc/passwd", Document_Kind::Refused},
        {"/etc/passwd", Document_Kind::Refused},
        {page, Document_Kind::Refused},
        {"file://" + page, Document_Kind::Refused},
        {script, Document_Kind::Refused},
        {archive, Document_Kind::Refused},
        {"www.example.org", Document_Kind::Refused},
        {"javascript:alert(1)", Document_Kind::Refused},
        {"data:text/html,<script>x</script>", Document_Kind::Refused},
        {"ftp://example.org/x", Document_Kind::Refused},
        {"http://host/a b", Document_Kind::Refused},
        {"mailto:a@example.org?attach=/home/u/.ssh/id_rsa", Document_Kind::Refused},
    };
    for (const auto& c : cases) {
        const Document_Target t = Classify_Link(c.address);
        EXPECT_EQ(t.kind, c.kind) << c.address;
        EXPECT_EQ(t.reason.empty(), c.kind != Document_Kind::Refused) << c.address;
    }
    EXPECT_EQ(Classify_Link("file:///etc/passwd").reason, "only web and mail addresses are");
}

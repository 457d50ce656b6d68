#include "platform/input_read.h"

#include "temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

using namespace parvex;
using parvex::test::TempDir;
using parvex::test::text_of_size;
namespace fs = std::filesystem;

TEST(InputRead, TellsTextBinaryAndSizeFromTheFile) {
    TempDir dir;
    const std::string probe_text = text_of_size(Binary_Probe_Size);
    struct Case {
        const char* name;
        std::string bytes;
        std::uint64_t limit;
        InputStatus status;
        std::string error;
    } cases[] = {
        {"small.pas", "unit u;\n", 100, InputStatus::Read, ""},
        {"empty.pas", "", 100, InputStatus::Read, ""},
        {"at-limit.pas", text_of_size(20000), 20000, InputStatus::Read, ""},
        {"over-limit.pas", text_of_size(20001), 20000, InputStatus::Too_Large,
         "larger than the limit of 20000 bytes (20001 bytes), not listed"},
        {"small-over.pas", text_of_size(300), 299, InputStatus::Too_Large,
         "larger than the limit of 299 bytes (300 bytes), not listed"},
        {"nul.pas", std::string("unit\0u;\n", 8), 100, InputStatus::Binary,
         "binary or UTF-16 file, not listed"},
        {"utf16le.pas", "\xFF\xFEu", 100, InputStatus::Binary, "binary or UTF-16 file, not listed"},
        {"utf16be.pas", "\xFE\xFF", 100, InputStatus::Binary, "binary or UTF-16 file, not listed"},
        // A NUL byte beyond the first bytes still makes the file binary.
        {"late-nul.pas", probe_text + "abc" + std::string(1, '\0') + "def", 1 << 20,
         InputStatus::Binary, "binary or UTF-16 file, not listed"},
        {"long.pas", text_of_size(3 * Binary_Probe_Size + 5), 1 << 20, InputStatus::Read, ""},
    };
    for (const auto& c : cases) {
        fs::path p = dir.write(c.name, c.bytes);
        std::string bytes = "left over";
        InputRead r = Read_Input_File(p.string(), bytes, c.limit, "not listed");
        EXPECT_EQ(r.status, c.status) << c.name;
        EXPECT_EQ(r.error, c.error) << c.name;
        EXPECT_EQ(bytes, c.status == InputStatus::Read ? c.bytes : "") << c.name;
        EXPECT_EQ(r.size, c.bytes.size()) << c.name;
    }
}

TEST(InputRead, AHugeFileIsJudgedWithoutBeingRead) {
    TempDir dir;
    const std::uint64_t no_limit = std::uint64_t{1} << 62;
    // Read whole, either would take 40 GiB of memory: the first bytes decide instead.
    fs::path zeros = dir.write_sparse("zeros.inc", "", std::uintmax_t{40} << 30);
    std::string bytes;
    InputRead r = Read_Input_File(zeros.string(), bytes, no_limit, "not listed");
    EXPECT_EQ(r.status, InputStatus::Binary);
    EXPECT_EQ(r.size, std::uint64_t{40} << 30);

    fs::path text =
        dir.write_sparse("huge.inc", text_of_size(2 * Binary_Probe_Size), std::uintmax_t{40} << 30);
    r = Read_Input_File(text.string(), bytes, Default_Max_Input_Size, "not loaded");
    EXPECT_EQ(r.status, InputStatus::Too_Large);
    EXPECT_EQ(r.error, "larger than the limit of 64 MiB (40 GiB), not loaded");
    EXPECT_TRUE(bytes.empty());
}

TEST(InputRead, FoldersAndMissingFilesAreUnreadableWithTheirName) {
    TempDir dir;
    std::string bytes;
    for (const std::string name : {dir.dir() + "none.pas", dir.dir()}) {
        InputRead r = Read_Input_File(name, bytes, 100, "not listed");
        EXPECT_EQ(r.status, InputStatus::Unreadable) << name;
        EXPECT_NE(r.error.find(name), std::string::npos) << r.error;
    }
}

TEST(InputRead, AStreamIsReadUpToTheLimitAndNoFurther) {
    for (const std::uint64_t limit : {std::uint64_t{4999}, std::uint64_t{5000}}) {
        int fds[2];
        ASSERT_EQ(::pipe(fds), 0);
        const std::string text = text_of_size(5000);
        ASSERT_EQ(::write(fds[1], text.data(), text.size()), 5000);
        ::close(fds[1]);
        std::string bytes;
        InputRead r = Read_Input_Stream(fds[0], "standard input", bytes, limit, "not listed");
        ::close(fds[0]);
        if (limit < text.size()) {
            EXPECT_EQ(r.status, InputStatus::Too_Large);
            EXPECT_EQ(r.error, "larger than the limit of 4.9 KiB, not listed");
            EXPECT_TRUE(bytes.empty());
        } else {
            EXPECT_EQ(r.status, InputStatus::Read);
            EXPECT_EQ(bytes, text);
        }
    }
}

TEST(InputRead, SizesAsUsersWriteThem) {
    struct Case {
        const char* text;
        bool ok;
        std::uint64_t bytes;
    } cases[] = {
        {"1000", true, 1000},
        {"64M", true, std::uint64_t{64} << 20},
        {"64m", true, std::uint64_t{64} << 20},
        {"2K", true, 2048},
        {"2KiB", true, 2048},
        {"3GB", true, std::uint64_t{3} << 30},
        {"0", true, 0},
        {"", false, 0},
        {"M", false, 0},
        {"-5", false, 0},
        {"1.5M", false, 0},
        {"12X", false, 0},
        {"5 M", false, 0},
        {"1T", false, 0},
        {"99999999999999999999", false, 0},
        {"9999999999G", false, 0},
    };
    for (const auto& c : cases) {
        std::uint64_t bytes = 7;
        EXPECT_EQ(Parse_Size(c.text, bytes), c.ok) << c.text;
        EXPECT_EQ(bytes, c.ok ? c.bytes : 7) << c.text;
    }
    EXPECT_EQ(Size_Text(1), "1 byte");
    EXPECT_EQ(Size_Text(1023), "1023 bytes");
    EXPECT_EQ(Size_Text(1024), "1 KiB");
    EXPECT_EQ(Size_Text(5708609), "5.4 MiB");
    EXPECT_EQ(Size_Text(std::uint64_t{64} << 20), "64 MiB");
    EXPECT_EQ(Size_Text(std::uint64_t{3} << 29), "1.5 GiB");
    EXPECT_EQ(Size_Text((std::uint64_t{64} << 20) + 1), "67108865 bytes");
}

// Inputs of any size or kind never end a batch: binary files are told from their first bytes,
// sources and token files beyond the size limit are refused with one line, and a file the
// memory does not suffice for fails alone. Run from outside on sparse fixture files, which
// take no room on the disk however large they claim to be.
#include "cli_run.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;
using namespace parvex::test;

namespace {

std::string q(const fs::path& p) {
    return shell_quote(p.string());
}

constexpr std::uintmax_t GiB = std::uintmax_t{1} << 30;

} // namespace

// A 40 GiB source (text at first) and a 2 GiB one of NUL bytes in a walked folder: each is
// refused with one line, the others are listed, on one thread and on several, and the spelling
// report takes the same sources.
TEST(CliInputLimits, HugeAndBinaryFilesFailAloneInAWalkedFolder) {
    struct Case {
        const char* args;
        bool saves;
    } cases[] = {
        {"--quiet --case upper -j 1", true},
        {"--quiet --case upper -j 2", true},
        {"--spellings -j 2", false},
    };
    for (const auto& c : cases) {
        TempDir dir;
        dir.write("d/a.pas", "unit a;\n");
        const fs::path huge = dir.write_sparse("d/huge.inc", text_of_size(16384), 40 * GiB);
        const fs::path zeros = dir.write_sparse("d/zeros.inc", "", 2 * GiB);
        dir.write("d/z.pas", "unit z;\n");
        CliOutcome r =
            run_cli(dir, personal_option(dir) + " " + c.args + " " + q(dir.path() / "d"));
        EXPECT_EQ(r.status, 2) << c.args;
        EXPECT_EQ(r.err, "parvex-list: " + dir.dir() +
                             "d/huge.inc: larger than the limit of 64 MiB (40 GiB), not listed "
                             "(--max-size raises the limit)\n" +
                             "parvex-list: " + dir.dir() +
                             "d/zeros.inc: binary or UTF-16 file, not listed\n")
            << c.args;
        EXPECT_EQ(dir.read("d/a.pas"), c.saves ? "UNIT A;\n" : "unit a;\n") << c.args;
        EXPECT_EQ(dir.read("d/z.pas"), c.saves ? "UNIT Z;\n" : "unit z;\n") << c.args;
        EXPECT_EQ(fs::file_size(huge), 40 * GiB);
        EXPECT_EQ(fs::file_size(zeros), 2 * GiB);
        EXPECT_FALSE(fs::exists(dir.path() / "d/huge.inc-SAVED"));
        EXPECT_FALSE(fs::exists(dir.path() / "d/zeros.inc-SAVED"));
    }
}

// --max-size sets the limit, for files and for standard input; a size it cannot read is bad
// usage.
TEST(CliInputLimits, MaxSizeSetsTheLimit) {
    TempDir dir;
    const std::string text = text_of_size(5000);
    std::string upper = text;
    for (char& c : upper)
        c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
    const fs::path src = dir.write("s.pas", text);
    const fs::path in = dir.write("in.txt", text);
    struct Case {
        std::string option;
        std::string refusal; // "" when the source is listed
    } cases[] = {
        {"--max-size 4K", "larger than the limit of 4 KiB (4.9 KiB), not listed"},
        {"--max-size=4999", "larger than the limit of 4999 bytes (5000 bytes), not listed"},
        {"--max-size 5000", ""},
        {"--max-size 1m", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        CliOutcome file = run_cli(dir, personal_option(dir) + " --case upper --stdout " + c.option +
                                           " " + q(src));
        CliOutcome piped =
            run_cli(dir, personal_option(dir) + " --case upper " + c.option + " - <" + q(in));
        if (c.refusal.empty()) {
            EXPECT_EQ(file.status, 0) << c.option << file.err;
            EXPECT_EQ(file.out, upper) << c.option;
            EXPECT_EQ(piped.status, 0) << c.option << piped.err;
            EXPECT_EQ(piped.out, upper) << c.option;
        } else {
            EXPECT_EQ(file.status, 2) << c.option;
            EXPECT_EQ(file.out, "") << c.option;
            EXPECT_EQ(file.err, "parvex-list: " + src.string() + ": " + c.refusal +
                                    " (--max-size raises the limit)\n");
            EXPECT_EQ(piped.status, 2) << c.option;
            EXPECT_NE(piped.err.find("<stdin>: larger than the limit of"), std::string::npos)
                << piped.err;
        }
    }
    for (const char* bad :
         {"--max-size 0", "--max-size 12X", "--max-size 1.5M", "--max-size", "--max-size -1"}) {
        CliOutcome r = run_cli(dir, std::string(bad) + " " + q(src));
        EXPECT_EQ(r.status, 2) << bad;
        EXPECT_TRUE(r.err.starts_with("parvex-list: --max-size needs")) << bad << ": " << r.err;
    }
    EXPECT_NE(run_cli(dir, "--help").out.find("--max-size SIZE"), std::string::npos);
}

// With the limit raised beyond what the memory holds, the file that does not fit fails with
// one line and the others are listed. The memory is bounded for the run (ulimit -v), which the
// address sanitizer's own reservations do not allow.
TEST(CliInputLimits, AnAllocationFailureFailsThatFileOnly) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer reports a failed allocation instead of throwing";
#else
    for (const char* jobs : {"-j 1", "-j 2"}) {
        TempDir dir;
        dir.write("d/a.pas", "unit a;\n");
        dir.write_sparse("d/huge.inc", text_of_size(16384), 3 * GiB);
        dir.write("d/z.pas", "unit z;\n");
        CliOutcome r = run_shell(dir, "ulimit -v 1048576 && " + std::string(PARVEX_LIST_EXE) + " " +
                                          personal_option(dir) + " --quiet --case upper " +
                                          "--max-size 8G " + jobs + " " + q(dir.path() / "d"));
        EXPECT_EQ(r.status, 2) << jobs;
        EXPECT_EQ(r.err, "parvex-list: " + dir.dir() +
                             "d/huge.inc: not enough memory to read its 3 GiB, not listed\n")
            << jobs;
        EXPECT_EQ(dir.read("d/a.pas"), "UNIT A;\n") << jobs;
        EXPECT_EQ(dir.read("d/z.pas"), "UNIT Z;\n") << jobs;
        EXPECT_FALSE(fs::exists(dir.path() / "d/huge.inc-SAVED"));
    }
#endif
}

// A token file that is binary (random bytes, UTF-16, a NUL byte late in it) or larger than the
// limit is refused before anything is listed: it would change spellings at random.
TEST(CliInputLimits, TokenFilesThatAreBinaryOrTooLargeAreRefused) {
    TempDir dir;
    std::string random_bytes;
    for (unsigned i = 0; i < 4096; ++i)
        random_bytes += static_cast<char>((i * 2654435761u) >> 13);
    const fs::path rnd = dir.write("random.dat", random_bytes);
    const fs::path utf16 = dir.write("utf16.dat", std::string("\xFF\xFE"
                                                              "A\0b\0",
                                                              6));
    const fs::path late = dir.write("late.dat", text_of_size(20000) + std::string(1, '\0'));
    const fs::path big = dir.write("big.dat", text_of_size(5000));
    const fs::path empty = dir.write("empty.dat", "");
    const fs::path src = dir.write("a.pas", "unit a;\n");
    struct Case {
        std::string options;
        fs::path file;
        std::string why;
    } cases[] = {
        {"--personal " + q(rnd), rnd, "binary or UTF-16 file, not loaded"},
        {"--personal " + q(empty) + " --tokens " + q(utf16), utf16,
         "binary or UTF-16 file, not loaded"},
        {"--personal " + q(late), late, "binary or UTF-16 file, not loaded"},
        {"--max-size 4K --personal " + q(big), big,
         "larger than the limit of 4 KiB (4.9 KiB), not loaded (--max-size raises the limit)"},
    };
    for (const auto& c : cases) {
        CliOutcome r = run_cli(dir, c.options + " --case upper " + q(src));
        EXPECT_EQ(r.status, 2) << c.options;
        EXPECT_EQ(r.err, "parvex-list: " + c.file.string() + ": " + c.why + "\n");
        EXPECT_EQ(dir.read("a.pas"), "unit a;\n") << c.options;
        EXPECT_FALSE(fs::exists(dir.path() / "a.pas-SAVED")) << c.options;
    }
    CliOutcome fits = run_cli(dir, "--max-size 5K --personal " + q(big) + " --stdout " + q(src));
    EXPECT_EQ(fits.status, 0) << fits.err;
}

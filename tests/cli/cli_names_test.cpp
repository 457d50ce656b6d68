// File names with control characters, quotes or backslashes in line-based output: quoted as git
// quotes them, so that one line is one name; -z gives NUL-separated names as they are.
#include "cli_run.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;
using namespace parvex::test;

namespace {

std::string q(const fs::path& p) {
    return shell_quote(p.string());
}

// name on disk -> as line-based output shows it
const std::vector<std::pair<std::string, std::string>> kNames = {
    {"tab\there.pas", "\"tab\\there.pas\""},
    {"new\nline.pas", "\"new\\nline.pas\""},
    {"quote\"d.pas", "\"quote\\\"d.pas\""},
    {"back\\slash.pas", "\"back\\\\slash.pas\""},
    {"esc\033[31m.pas", "\"esc\\033[31m.pas\""},
    {"cr\r.pas", "\"cr\\r.pas\""},
    {"\xC3\x9C"
     "bung.pas",
     "\xC3\x9C"
     "bung.pas"}, // UTF-8 stays as it is
    {"plain name.pas", "plain name.pas"},
};

} // namespace

TEST(CliNames, ListChangedQuotesNamesAsGitDoesAndMinusZGivesThemAsTheyAre) {
    TempDir dir;
    for (const auto& entry : kNames)
        dir.write("t/" + entry.first, "BEGIN END.\n");
    // The walk is sorted by name: take the order from the program itself, -z being exact.
    const std::string args = personal_option(dir) + " --case lower --list-changed t";
    CliOutcome z = run_cli(dir, args + " -z", dir.dir());
    EXPECT_EQ(z.status, 1) << z.err;
    std::vector<std::string> order;
    for (std::size_t at = 0; at < z.out.size();) {
        const std::size_t end = z.out.find('\0', at);
        ASSERT_NE(end, std::string::npos) << "every name ends with a NUL";
        order.push_back(z.out.substr(at, end - at));
        at = end + 1;
    }
    ASSERT_EQ(order.size(), kNames.size());
    std::string lines;
    for (const std::string& file : order) {
        auto it = std::find_if(kNames.begin(), kNames.end(),
                               [&](const auto& n) { return "t/" + n.first == file; });
        ASSERT_NE(it, kNames.end()) << file;
        lines += it->second[0] == '"' ? "\"t/" + it->second.substr(1) : "t/" + it->second;
        lines += '\n';
    }
    CliOutcome r = run_cli(dir, args, dir.dir());
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(r.out, lines);

    // The same quoting as git's own (with core.quotePath off, as for UTF-8 names).
    if (std::system("git --version > /dev/null 2>&1") == 0) {
        CliOutcome git = run_shell(dir, "cd " + q(dir.path()) +
                                            " && git init -q . && git add t && git -c "
                                            "core.quotePath=false ls-files t");
        std::vector<std::string> mine, theirs;
        for (auto* v : {&mine, &theirs}) {
            const std::string& text = v == &mine ? r.out : git.out;
            for (std::size_t at = 0; at < text.size();) {
                const std::size_t end = text.find('\n', at);
                v->push_back(text.substr(at, end - at));
                at = end + 1;
            }
            std::sort(v->begin(), v->end());
        }
        EXPECT_EQ(mine, theirs);
    }
    EXPECT_EQ(run_cli(dir, personal_option(dir) + " -z t", dir.dir()).status, 2)
        << "-z goes with --list-changed only";
}

TEST(CliNames, MessagesAndDiffHeadersKeepOneNameOnOneLine) {
    TempDir dir;
    const std::string name = "new\nline.pas";
    const fs::path file = dir.write(name, "begin x end.\n");
    dir.write("bin\tary.pas", std::string("a\0b", 3));
    // A save: the "listed" line; a binary file: its error line; the check's findings.
    CliOutcome r = run_cli(dir, personal_option(dir) + " --case upper " + q(file) + " " +
                                    q(dir.path() / "bin\tary.pas"));
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("listed \"" + dir.dir() + "new\\nline.pas\" -> "), std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("parvex-list: \"" + dir.dir() +
                         "bin\\tary.pas\": binary or UTF-16 file, not listed\n"),
              std::string::npos)
        << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 2) << r.err;

    // A diff names the file quoted, and patch applies it.
    dir.write(name, "begin x end.\n");
    CliOutcome diff =
        run_cli(dir, personal_option(dir) + " --case upper --diff ./*line.pas", dir.dir());
    EXPECT_EQ(diff.status, 1) << diff.err;
    EXPECT_EQ(diff.out.substr(0, diff.out.find("@@")),
              "--- \"a/new\\nline.pas\"\n+++ \"b/new\\nline.pas\"\n");
    dir.write("change.diff", diff.out);
    CliOutcome patched = run_shell(dir, "cd " + q(dir.path()) + " && patch -p1 < change.diff");
    EXPECT_EQ(patched.status, 0) << patched.out << patched.err;
    EXPECT_EQ(read_bytes(file), "BEGIN X END.\n");
}

// The bash completion of parvex-list, driven as bash drives it.
#include "cli_run.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>

using parvex::test::TempDir;

namespace {

const std::string kScript = std::string(PARVEX_SOURCE_DIR) + "/contrib/bash-completion/parvex-list";

// What the completion offers for the command line `words` (the last one being completed), run
// in `dir`: one offer a line.
std::string offers(const TempDir& dir, const std::vector<std::string>& words) {
    std::string line = "parvex-list";
    std::string array = "parvex-list";
    for (const auto& w : words)
        array += " " + parvex::test::shell_quote(w);
    const std::string script = "source " + parvex::test::shell_quote(kScript) + " && COMP_WORDS=(" +
                               array + ") && COMP_CWORD=" + std::to_string(words.size()) +
                               " && _parvex_list && printf '%s\\n' \"${COMPREPLY[@]}\"";
    return parvex::test::run_shell(dir, "cd " + parvex::test::shell_quote(dir.dir()) +
                                            " && bash -c " + parvex::test::shell_quote(script))
        .out;
}

} // namespace

TEST(CliCompletion, OffersEveryOptionTheHelpNames) {
    TempDir dir;
    const std::string help =
        parvex::test::run_shell(dir, std::string(PARVEX_LIST_EXE) + " --help").out;
    std::set<std::string> named;
    const std::regex option(R"((?:^|[ ,])(--?[a-zA-Z0-9][a-zA-Z0-9-]*))");
    for (auto it = std::sregex_iterator(help.begin(), help.end(), option);
         it != std::sregex_iterator(); ++it)
        named.insert((*it)[1]);
    ASSERT_GT(named.size(), 20u) << help;
    const std::string offered = "\n" + offers(dir, {"-"});
    for (const std::string& o : named)
        EXPECT_NE(offered.find("\n" + o + "\n"), std::string::npos) << o << " is not offered:\n"
                                                                    << offered;
}

TEST(CliCompletion, OffersValuesFoldersAndPascalSources) {
    TempDir dir;
    for (const char* name : {"src/x.pas", "s.pas", "S.INC", "s.txt", "with space.pas", "t.dat"})
        dir.write(name, "");
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--ca"}, "--case\n"},
        {{"--case", ""}, "upper\nlower\nfirst\ncapitalize\nkeep\n"},
        {{"--color", "=", "al"}, "always\n"},
        {{"--color", "="}, "auto\nalways\nnever\n"},
        {{"--lists", "n"}, "numeric\nnone\nnumeric,tokens\n"},
        {{"--backup", "=", "n"}, "numbered\nnone\n"},
        {{"--backup", "s"}, "src\ns.pas\n"}, // its value only after "="
        {{"s"}, "src\ns.pas\n"},
        {{"S"}, "S.INC\n"},
        {{"w"}, "with space.pas\n"},
        {{"--case", "upper", "s"}, "src\ns.pas\n"},
        {{"--personal", "t"}, "t.dat\n"},
        {{"--out", ""}, "src\n"},
        {{"--break", ""}, "\n"}, // a number of the user's own
    };
    for (const auto& [words, want] : cases) {
        std::string got = offers(dir, words);
        EXPECT_EQ(got, want) << words.back();
    }
}

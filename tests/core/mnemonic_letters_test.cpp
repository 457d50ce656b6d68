#include "language/mnemonic_letters.h"

#include <gtest/gtest.h>

using namespace parvex;

namespace {

// Every item shown with every other one.
std::vector<std::vector<int>> all_together(int n) {
    std::vector<std::vector<int>> c(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            if (i != j)
                c[static_cast<std::size_t>(i)].push_back(j);
    return c;
}

std::string letters(const std::vector<char>& chosen) {
    std::string s;
    for (char c : chosen)
        s += c ? c : '-';
    return s;
}

} // namespace

TEST(MnemonicLetters, CaptionsOfOnePageGetDistinctLettersFromTheirOwnText) {
    struct Case {
        const char* what;
        std::vector<Mnemonic_Item> items;
        std::string expected;
    } cases[] = {
        {"the program's own captions keep their letters",
         {{"create NEW-List", 'N'}, {"Save to Work-Data-Path", 'W'}, {"Save to Sourcepath", 'S'}},
         "NWS"},
        {"a translation that holds the letter keeps it",
         {{"NEUE Liste erstellen", 'N'},
          {"In Arbeitspfad speichern", 'W'},
          {"In Quellpfad speichern", 'S'}},
         "NIS"},
        {"a caption without its letter takes the first free word start",
         {{"Speichern", 'S'}, {"Suchen", 'X'}},
         "SU"},
        {"word starts come before the letters inside a word", {{"alle ersetzen", 'X'}}, "A"},
        {"a fixed key is never taken by a caption", {{"", 'B', true}, {"Blättern", 'X'}}, "BL"},
        {"letters beyond ASCII are skipped, the word still counts as one",
         {{"Größe", 'X'}, {"Ökonomie", 'X'}},
         "GK"},
        {"a caption with no free letter gets none", {{"ab", 'A'}, {"ba", 'B'}, {"ab", 'X'}}, "AB-"},
        {"an empty caption gets none", {{"", 'N'}}, "-"},
        {"the first of two wanting a letter keeps it", {{"Save", 'S'}, {"Search", 'S'}}, "SE"},
    };
    for (const Case& c : cases) {
        const int n = static_cast<int>(c.items.size());
        EXPECT_EQ(letters(Choose_Mnemonics(c.items, all_together(n))), c.expected) << c.what;
    }
}

TEST(MnemonicLetters, ItemsNeverShownTogetherMayShareALetter) {
    // 0 and 1 lie on two pages of one page control; 2 is shown with both.
    const std::vector<Mnemonic_Item> items{{"Load", 'L'}, {"Log", 'L'}, {"List", 'L'}};
    const std::vector<std::vector<int>> conflicts{{2}, {2}, {0, 1}};
    EXPECT_EQ(letters(Choose_Mnemonics(items, conflicts)), "LLI");
}

#pragma once
// Which letter of its caption each button is pressed by (Alt + letter). A caption in another
// language keeps its button's letter where the letter is in it, else it gets another one, and no
// two buttons shown at the same time share a letter.

#include <string>
#include <vector>

namespace parvex {

struct Mnemonic_Item {
    std::string caption; // UTF-8; only ASCII letters and digits can become its letter
    char preferred = 0;  // the letter it had in the program's own language (upper case), 0: none
    bool fixed = false;  // a key of its own that no caption gives (an icon button): kept as it is
};

// conflicts[i]: the items shown together with item i. Gives each item its letter (upper case),
// 0 where its caption has none left. Items keep their preferred letter where the caption holds
// it and no item shown with them took it first; the others take the first free letter that
// starts a word of their caption, then any free letter or digit of it.
std::vector<char> Choose_Mnemonics(const std::vector<Mnemonic_Item>& items,
                                   const std::vector<std::vector<int>>& conflicts);

} // namespace parvex

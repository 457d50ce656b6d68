#include "language/mnemonic_letters.h"

#include <algorithm>
#include <cctype>

namespace parvex {

namespace {

bool key_char(unsigned char c) {
    return c < 128 && std::isalnum(c);
}

char upper(char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

bool caption_has(const std::string& caption, char letter) {
    for (char c : caption)
        if (key_char(static_cast<unsigned char>(c)) && upper(c) == letter)
            return true;
    return false;
}

// Word starts first, then every letter or digit, each once, in caption order.
std::vector<char> candidates(const std::string& caption) {
    std::vector<char> starts, rest;
    bool in_word = false;
    for (char c : caption) {
        const bool k = key_char(static_cast<unsigned char>(c));
        // A byte of a UTF-8 sequence belongs to a word too ("Größe" has one word).
        const bool word = k || static_cast<unsigned char>(c) >= 128;
        if (k)
            (in_word ? rest : starts).push_back(upper(c));
        in_word = word;
    }
    std::vector<char> out;
    for (const std::vector<char>* part : {&starts, &rest})
        for (char c : *part)
            if (std::find(out.begin(), out.end(), c) == out.end())
                out.push_back(c);
    return out;
}

} // namespace

std::vector<char> Choose_Mnemonics(const std::vector<Mnemonic_Item>& items,
                                   const std::vector<std::vector<int>>& conflicts) {
    const std::size_t n = items.size();
    std::vector<char> chosen(n, 0);
    auto free_for = [&](std::size_t i, char letter) {
        if (i < conflicts.size())
            for (int j : conflicts[i])
                if (j >= 0 && static_cast<std::size_t>(j) < n && static_cast<std::size_t>(j) != i &&
                    chosen[static_cast<std::size_t>(j)] == letter)
                    return false;
        return true;
    };
    for (std::size_t i = 0; i < n; ++i)
        if (items[i].fixed)
            chosen[i] = upper(items[i].preferred);
    for (std::size_t i = 0; i < n; ++i) {
        const char p = upper(items[i].preferred);
        if (!items[i].fixed && p != 0 && caption_has(items[i].caption, p) && free_for(i, p))
            chosen[i] = p;
    }
    for (std::size_t i = 0; i < n; ++i) {
        if (items[i].fixed || chosen[i] != 0)
            continue;
        for (char c : candidates(items[i].caption))
            if (free_for(i, c)) {
                chosen[i] = c;
                break;
            }
    }
    return chosen;
}

} // namespace parvex

#pragma once
// The literals of current Pascal that the scanner and the nested reading both know, as plain
// rules: text blocks of several lines opened by an odd run of apostrophes, backtick literals,
// and control characters written with a caret ("^M").

#include <cstddef>
#include <string_view>

namespace parvex {

inline constexpr std::size_t kNoEnd = std::string_view::npos;

// The number of apostrophes in the run that starts at `at`.
inline std::size_t Quote_Run(std::string_view s, std::size_t at) {
    std::size_t k = at;
    while (k < s.size() && s[k] == '\'')
        ++k;
    return k - at;
}

// A text block opens with an odd run of three or more apostrophes that ends its line (blanks
// may follow it). No literal of one line looks like that: such a run alone opens a literal
// that never closes. Gives the run's length, or 0.
inline std::size_t Text_Block_Opener(std::string_view s, std::size_t at) {
    const std::size_t run = Quote_Run(s, at);
    if (run < 3 || run % 2 == 0)
        return 0;
    for (std::size_t k = at + run; k < s.size(); ++k)
        if (s[k] != ' ' && s[k] != '\t')
            return 0;
    return run;
}

// A text block opened by `quotes` apostrophes closes on the first line whose first characters
// other than blanks are that many apostrophes; gives the end of that run, or kNoEnd. A longer run
// might close the block or belong to its text: the block is taken to go on, so that nothing in it
// is changed when in doubt.
inline std::size_t Text_Block_Close(std::string_view s, std::size_t quotes) {
    std::size_t k = 0;
    while (k < s.size() && (s[k] == ' ' || s[k] == '\t'))
        ++k;
    return Quote_Run(s, k) == quotes ? k + quotes : kNoEnd;
}

// The backtick that closes a backtick literal whose text goes on at `from`, or kNoEnd when the
// line ends first. A doubled backtick stands for one inside the literal (read either way, the
// same bytes belong to literals).
inline std::size_t Backtick_Close(std::string_view s, std::size_t from) {
    for (std::size_t k = from; k < s.size(); ++k) {
        if (s[k] != '`')
            continue;
        if (k + 1 < s.size() && s[k + 1] == '`') {
            ++k;
            continue;
        }
        return k;
    }
    return kNoEnd;
}

inline bool Is_Ascii_Letter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
inline bool Is_Name_Char(char c) {
    return Is_Ascii_Letter(c) || (c >= '0' && c <= '9') || c == '_' ||
           static_cast<unsigned char>(c) >= 0x80;
}

// "^M" is the control character CR, and the letter's case is part of its value ("^m" is "-" for
// a compiler that takes the code of the letter as it stands); "P = ^T" is a pointer type. A caret
// stands for neither behind a name, ")", "]" or another caret ("p^", "f(x)^", "a[1]^", "p^^"):
// there it is taken as dereferencing. Elsewhere a caret followed by one letter and no further
// name character is a character constant or a one-letter pointer type: its letter is left as
// written. `after_name` says that the caret follows a name directly.
inline bool Caret_Letter_At(std::string_view s, std::size_t caret, bool after_name) {
    if (after_name || caret + 1 >= s.size() || !Is_Ascii_Letter(s[caret + 1]))
        return false;
    return caret + 2 >= s.size() || !Is_Name_Char(s[caret + 2]);
}

} // namespace parvex

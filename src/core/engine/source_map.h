#pragma once
// What a browsable page needs of one source, as the listing reads it: the ranges its scanner
// masks as comments and literals, every word with its place, and each routine heading with the
// END that the remark logic pairs with it. Places are those of the source as it is on disk.

#include <cstdint>
#include <string>
#include <vector>

namespace parvex {

struct SourceMap {
    enum class Kind : std::uint8_t { Comment, Literal };
    // A masked stretch of one line, [start, end) in bytes.
    struct Range {
        std::uint32_t line; // counted from 1
        std::uint32_t start, end;
        Kind kind;
    };
    // A word the listing takes: a token, or a number (digits only).
    struct Word {
        std::uint32_t line;
        std::uint32_t start, length;
        bool number;
    };
    // A routine heading ("procedure Name") and the END that closes its body; end_line 0 when
    // no END closes it (a heading of an interface part, say).
    struct Routine {
        std::string name;           // as the source spells it
        std::uint32_t line, column; // of the word PROCEDURE or FUNCTION
        std::uint32_t end_line = 0, end_column = 0;
    };
    std::vector<Range> ranges;     // in order of line and place
    std::vector<Word> words;       // in order of line and place
    std::vector<Routine> routines; // in order of their headings

    void Clear() {
        ranges.clear();
        words.clear();
        routines.clear();
    }
};

} // namespace parvex

#pragma once
// The reading of a text in which comments nest ("{ a { b } c }" is one comment), as Free Pascal
// reads its own modes; Delphi's modes do not nest. The scanner reads without nesting; where a
// comment holds an opener of its own kind the two readings part, and this one is kept beside
// the scanner's until both stand in code again at the end of a line. Whatever this reading
// takes for a literal stays as written, so neither reading's literals are ever re-cased.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

namespace parvex {

class NestedReading {
public:
    enum class Kind : std::uint8_t { Brace, Paren };
    using Stretches = std::vector<std::pair<std::size_t, std::size_t>>; // [from, to)

    bool Active() const { return active_; }
    // The readings part at `at` of the current line, inside a comment of the given kind that
    // the scanner reads as one level deep: at `at` stands a second opener of that kind.
    void Start(Kind kind, std::size_t at);

    // Reads the current line (from where the reading started, on its first line) and adds every
    // stretch of it that it reads as a literal to `literals`.
    void Read(std::string_view line, Stretches& literals);
    // At the end of a line: the readings agree again when both stand in code.
    void End_Line(bool scanner_in_code) {
        if (state_ == State::Code && scanner_in_code)
            *this = NestedReading();
    }

private:
    enum class State : std::uint8_t { Code, Brace, Paren, TextBlock, Backtick };

    bool active_ = false;
    State state_ = State::Code;
    std::size_t depth_ = 0;  // of a comment
    std::size_t quotes_ = 0; // of a text block
    std::size_t from_ = 0;   // where the reading goes on in the current line
};

} // namespace parvex

#pragma once
// A reader of Pascal text of its own, apart from the listing's scanner: splits a text into
// lines and tells for every byte whether it stands in code, in a comment or in a literal,
// taking out the "{ of Name }" remarks a listing puts behind END. It knows the literals of
// current Pascal (text blocks between odd runs of apostrophes, backtick literals, the letter of
// a control character such as "^M") and reads comments both with and without nesting: a byte
// either reading takes for a literal counts as one.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace parvex {

enum class LineEnd : unsigned char { None, LF, CR, CRLF };

// The lines of a text one after the other: CR LF, LF and CR each end a line, and a final line
// end starts no further line.
class LineCursor {
public:
    static constexpr bool kKnowsEnds = true;
    explicit LineCursor(std::string_view text) : p_(text.data()), end_(text.data() + text.size()) {}
    // The next line, without its line end; false after the last.
    bool Next(std::string_view& line);
    // The `length` bytes from here, if a line end (or the end of the text) follows them; the
    // cursor stays. They are the next line when they hold no line end: a caller that finds
    // them equal to a line of another text, or equal but for the case of letters, knows that.
    bool Peek(std::size_t length, std::string_view& line) const {
        const auto left = static_cast<std::size_t>(end_ - p_);
        if (p_ >= end_ || length > left ||
            (length < left && p_[length] != '\n' && p_[length] != '\r'))
            return false;
        line = std::string_view(p_, length);
        return true;
    }
    // Moves past a line that Peek gave, and its line end.
    void Skip(std::size_t length);
    // The line end of the line last passed (None: the end of the text).
    LineEnd End() const {
        const auto n = p_ - line_end_;
        return n == 0               ? LineEnd::None
               : n == 2             ? LineEnd::CRLF
               : *line_end_ == '\r' ? LineEnd::CR
                                    : LineEnd::LF;
    }
    // The line last passed here and the one last passed by `other` end alike.
    bool Same_End(const LineCursor& other) const {
        const auto n = p_ - line_end_;
        return n == other.p_ - other.line_end_ && (n == 0 || *line_end_ == *other.line_end_);
    }

private:
    const char* p_;
    const char* end_;
    const char* line_end_ = p_; // where the line end of the line last passed begins
};

// All lines of a text at once.
std::vector<std::string_view> Text_Lines(std::string_view text);

enum class ByteKind : unsigned char { Code, Comment, Literal };

// The bytes are equal, or the same ASCII letter in another case.
inline bool Same_But_Case(char a, char b) {
    return a == b || (((a >= 'a' && a <= 'z') || (a >= 'A' && a <= 'Z')) && (a ^ b) == 0x20);
}

// One line with the remarks taken out, and what every byte left is.
struct CodeLine {
    std::string text;
    std::vector<ByteKind> kinds;
};

class CodeReader {
public:
    // Reads the next line of a text; a comment left open goes on into the next line.
    void Read_Line(std::string_view line, CodeLine& out);
    // The same for a line that is not needed: only the open comment goes on.
    void Skip_Line(std::string_view line);
    // Skip_Line for a line whose rewritten form `other` differs from it at most in the letter
    // case of ASCII letters in code, comments and literals (remarks too) equal byte for byte:
    // true, and `other` reads the same way. Else false, with nothing read; such a line needs
    // Read_Line (a remark added, say, or a fault).
    bool Read_Recased(std::string_view line, std::string_view other);
    // Two readers in the same state read the same line the same way.
    bool operator==(const CodeReader& o) const {
        return open_ == o.open_ && block_quotes_ == o.block_quotes_ &&
               nesting_.on == o.nesting_.on && (!nesting_.on || nesting_ == o.nesting_);
    }

private:
    enum class Open : unsigned char { None, Brace, Paren, Block, Tick };
    Open open_ = Open::None;
    std::size_t block_quotes_ = 0; // apostrophes that opened an open text block

    // The reading in which comments nest, while it and the plain one disagree (from a comment
    // that holds an opener of its own kind until both stand in code at the end of a line).
    struct Nesting {
        bool on = false;
        Open open = Open::None;
        std::size_t depth = 0, quotes = 0;
        bool operator==(const Nesting&) const = default;
    };
    Nesting nesting_;
    // Reads `line` from `from` in the nesting reading; adds the stretches it takes for literals.
    void read_nesting(std::string_view line, std::size_t from,
                      std::vector<std::pair<std::size_t, std::size_t>>& literals);

    enum class Mode { Skip, Build, Compare };
    // Reads a line; with Compare, stops at the first run in which `other` differs from it in
    // more than letter case in code, and says so with false.
    template <Mode M>
    [[gnu::always_inline]] bool scan(std::string_view line, CodeLine* out, std::string_view other);
};

} // namespace parvex

#pragma once
// A reader of Pascal text of its own, apart from the listing's scanner: splits a text into
// lines and tells for every byte whether it stands in code, in a comment or in a literal,
// taking out the "{ of Name }" remarks a listing puts behind END.

#include <string>
#include <string_view>
#include <vector>

namespace parvex {

// The lines of a text one after the other: CR LF, LF and CR each end a line, and a final line
// end starts no further line.
class LineCursor {
public:
    explicit LineCursor(std::string_view text) : p_(text.data()), end_(text.data() + text.size()) {}
    // The next line, without its line end; false after the last.
    bool Next(std::string_view& line);

private:
    const char* p_;
    const char* end_;
    const char* lf_ = nullptr;   // the LF that ends the current stretch, or null
    const char* stop_ = nullptr; // that LF, or the end of the text
    bool stop_known_ = false;
    const char* cr_ = nullptr; // the next CR at or after p_, or the end, once known
    bool cr_known_ = false;
};

// All lines of a text at once.
std::vector<std::string_view> Text_Lines(std::string_view text);

enum class ByteKind : unsigned char { Code, Comment, Literal };

// True when a line read in code holds neither a literal nor a comment (nor a remark) and the
// other line differs from it only in the letter case of ASCII letters: all code, both.
bool Recased_Plain_Code(std::string_view line, std::string_view other);

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
    // Two readers in the same state read the same line the same way.
    bool operator==(const CodeReader&) const = default;
    // No comment is open: the next line starts in code.
    bool In_Code() const { return open_ == Open::None; }

private:
    enum class Open : unsigned char { None, Brace, Paren };
    Open open_ = Open::None;

    template <bool Build> void scan(std::string_view line, CodeLine* out);
};

} // namespace parvex

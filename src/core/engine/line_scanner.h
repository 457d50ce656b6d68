#pragma once
// The line scanner: prepares one source line as two copies kept in step, the work line (literals,
// comments and handled words masked) and the out line (the text that is written back).

#include "engine/nested_reading.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace parvex {

// The 24 terminators that, with TAB and blank, separate words.
inline constexpr std::string_view kDefaultTerminators = "{}()[]<>:=+-*;^,.'\"/\\#$&";

// TAB (when use_tab), then blank (when use_blank), then the terminators.
std::string Build_Delimiters(std::string_view terminators, bool use_blank, bool use_tab);

// What covers a position of the work line. Erased positions (an old remark) exist only while the
// line is being prepared; they are dropped from both lines before Prepare_Line returns.
enum class Mask : std::uint8_t { None = 0, Literal, Comment, Handled, Erased };

// Which kind of comment is still open at the end of a line.
enum class OpenComment : std::uint8_t { None, Brace, Paren };

struct ScanLine {
    std::string work;
    std::string out;
    std::vector<Mask> mask; // one entry per work position

    // Takes a copy of the line, which must not lie in this ScanLine's own buffers.
    void assign(std::string_view line);
    // Takes the line's text without copying it into the work line (the out line is a copy).
    void assign(std::string&& line);
    // Queues text to go into both lines at `pos` (a position of the lines as they stand now), its
    // work copy marked with `kind`. Positions stay put until apply_inserts() puts every queued
    // text in place in one pass, so a line with many remarks costs time linear in its length.
    void insert_later(std::size_t pos, std::string_view work_text, std::string_view out_text,
                      Mask kind);
    void apply_inserts();
    // The same for the out line alone, for a caller that reads no further than the out line
    // (the work line and its masks stay as they were).
    void apply_inserts_to_out();
    // How far apply_inserts() will move the text now at `pos` (of the out line).
    std::size_t queued_before(std::size_t pos) const;
    // Drops the positions marked Erased from both lines, in one pass.
    void drop_erased();

private:
    struct Insert {
        std::size_t pos;
        std::string work_text;
        std::string out_text;
        Mask kind;
    };
    std::vector<Insert> inserts_;
    std::string spare_out_; // the out line's last buffer, reused by apply_inserts_to_out()
};

class LineScanner {
public:
    explicit LineScanner(std::string_view delimiters = {});
    void set_delimiters(std::string_view delimiters);
    const std::string& delimiters() const { return delimiters_; }
    bool is_delimiter(char c) const { return is_delim_[static_cast<unsigned char>(c)]; }

    OpenComment Comment_Open = OpenComment::None;

    // Forgets everything carried from line to line: an open comment, an open literal of several
    // lines, a reading in which comments nest. Called before the first line of every text.
    void Start_Text();
    // A literal of several lines (a text block or a backtick literal) is open at the end of the
    // last line prepared; it spans that many lines so far, its first included.
    bool Literal_Open() const { return open_literal_ != OpenLiteral::None; }
    std::size_t Literal_Lines() const { return literal_lines_ + 1; }
    // Of the last line prepared: how many lines before it the first literal it reported began
    // (a literal of several lines is reported on its last line, and belongs to its first).
    std::size_t First_Literal_Back() const { return first_literal_back_; }

    // One left-to-right pass: literals are masked with blanks and reported in `literals` (a
    // literal of one line as it stands in the work line, a doubled quote showing as two blanks; a
    // text block or a backtick literal as written, its lines joined by CR LF), comments are
    // masked with "_", the letter of a control character such as "^M" is masked like a literal,
    // old "{ of Name }" remarks are removed from both lines when `remove_old_remarks`, and the work
    // line is cut at "//". Only a remark where a run puts one counts as old: behind one blank
    // that follows END or END and one more character ("end; { of Foo }"); any other comment
    // that happens to start with "{ of" is the author's and stays.
    void Prepare_Line(ScanLine& line, bool remove_old_remarks, std::vector<std::string>& literals);
    // The same; the texts of the literals are only made when `literals` is given.
    void Prepare_Line(ScanLine& line, bool remove_old_remarks, std::vector<std::string>* literals);

private:
    // Length of an old remark "{ of Name }" starting at `pos`, or 0.
    std::size_t old_remark_length(const std::string& work, std::size_t pos) const;
    // True when the blank before `pos` follows END, or END and one character.
    bool behind_end(const ScanLine& line, std::size_t pos) const;
    // Prepare_Line without the final removal of erased positions.
    bool prepare(ScanLine& line, bool remove_old_remarks, std::vector<std::string>* literals);
    // Where the code that starts at `from` ends: at the next character that may open a
    // literal or a comment, or at the end of the line.
    std::size_t code_run_end(std::string_view w, std::size_t from) const;
    // A literal of several lines opens at `at` and covers the rest of the line.
    enum class OpenLiteral : std::uint8_t { None, TextBlock, Backtick };
    void open_literal(OpenLiteral kind, ScanLine& line, std::size_t at, bool keep_text);
    // The next line of a literal of several lines that is open: where on it the literal ends,
    // or kNoEnd when it goes on.
    std::size_t open_literal_end(std::string_view w) const;
    // Whether the caret at `caret` follows a name directly ("p^"), not a number or a literal.
    bool caret_after_name(const ScanLine& line, std::size_t caret) const;
    // The first "}" from `from`, and in `opener` the first "{" before it (npos when none).
    std::size_t brace_close(std::string_view w, std::size_t from, std::size_t& opener) const;
    // A "(*" comment covers [from, to) of the line: if it holds another "(*", a reading in which
    // comments nest parts from this one there.
    void watch_nesting(const std::string& w, std::size_t from, std::size_t to,
                       NestedReading::Kind kind);
    // Masks what the nested reading takes for a literal where this one found code.
    void apply_nested_reading(ScanLine& line);

    std::string delimiters_;
    bool is_delim_[256] = {};
    bool starts_[256] = {}; // characters that may open a literal or a comment, and the caret

    OpenLiteral open_literal_ = OpenLiteral::None;
    std::size_t block_quotes_ = 0;  // of an open text block
    std::size_t literal_lines_ = 0; // lines of the open literal after its first
    std::string literal_text_;      // its text so far, when literals are reported
    std::size_t first_literal_back_ = 0;
    NestedReading nested_;
    NestedReading::Stretches nested_literals_;
};

bool Is_Underscores(std::string_view word);
bool Is_Numeric(std::string_view word);
// The output case of the radio group: 0 upper, 1 lower, 2 as stored, 3 capitalized; other values
// (no item selected) leave the token as it is.
void Apply_Output_Case(std::string& token, int choice);

} // namespace parvex

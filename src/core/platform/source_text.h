#pragma once
// A Pascal source as the listing takes it in and gives it back: its lines, the UTF-8 byte-order
// mark it may start with and its line ends. Binary and UTF-16 files are refused: rewritten line
// by line as 8-bit text they would come back broken.

#include "platform/file_stamp.h"
#include "platform/input_read.h"
#include "platform/text_file.h"

#include <string>

namespace parvex {

// What the new text keeps of its source besides the lines: every byte but the lines' own.
struct TextForm {
    std::string bom;               // a UTF-8 byte-order mark the source starts with
    std::string line_end = "\r\n"; // the source's first line end; CR LF when it has none
    // The source's last line has a line end ("abc" stays "abc", a final ^Z stays the last byte).
    bool last_line_ended = true;
    // Of a source whose lines do not all end in `line_end` (apart from a last line without one):
    // each line's own end, one letter a line ('n' LF, 'c' CR LF, 'r' CR, '-' none). Empty when
    // they all do.
    std::string ends;

    // The line end that follows line `i` of a text of `lines` lines.
    std::string_view End_Of(std::size_t i, std::size_t lines) const {
        if (!ends.empty() && i < ends.size()) {
            switch (ends[i]) {
            case 'n':
                return "\n";
            case 'c':
                return "\r\n";
            case 'r':
                return "\r";
            default:
                return {};
            }
        }
        return i + 1 < lines || last_line_ended ? std::string_view(line_end) : std::string_view();
    }
};

enum class SourceStatus { Read, Missing, Unreadable, Binary, Too_Large, No_Memory };

struct SourceText {
    SourceStatus status = SourceStatus::Read;
    std::string error; // unless Read: what it is, without the file name
    TextList lines;    // without the byte-order mark
    TextForm form;
};

inline constexpr std::string_view Binary_Source_Text = "binary or UTF-16 file, not listed";

// The same without copies: the lines point into the bytes read, which must outlive them.
struct SourceView {
    SourceStatus status = SourceStatus::Read;
    std::string error;
    LineViews lines;
    TextForm form;
};

// Reads a source. A file that holds a NUL byte or starts with a UTF-16 byte-order mark is
// Binary and gives no lines; so does one larger than `limit` (Too_Large) or one the memory
// does not suffice for (No_Memory). With `stamp`, what the file looked like when it was read.
SourceText Load_Source_Text(const std::string& name, std::uint64_t limit = Default_Max_Input_Size,
                            FileStamp* stamp = nullptr);
// The same for bytes already read.
SourceText Source_From_Bytes(std::string_view bytes);
// `room` is a list whose memory may be used again for the lines.
SourceView Source_View(std::string_view bytes, LineViews room = {});
// The bytes of a text in the given form: the mark, then every line followed by its line end.
std::string Compose_Text(const TextList& lines, const TextForm& form);

} // namespace parvex

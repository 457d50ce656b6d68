#pragma once
// Decodes the small mark-up at the start of a message text ("^C:" centre, "^F:name^" file
// strip, "^P:caption^" progress strip) into the display text and what the dialog should show.

#include <string>
#include <string_view>

namespace parvex {

// What a decoded message asks of the dialog window. The window applies it as a whole.
struct Decoded_Message {
    std::string text;             // the text to show, mark-up removed
    bool centred = false;         // "^C:" seen
    bool file_strip = false;      // a "^F:" code showed the file-name strip
    std::string file_name;        // survives only when "^F:" is the last code
    bool progress_strip = false;  // a "^P:" code showed the progress strip
    std::string progress_caption; // caption of the last "^P:" code
};

inline constexpr char Markup_Lead = '^';

// Applies the codes at the start of `msg` one after the other. A code is the lead "^", an
// upper-case letter out of "CFP" and one more character that is skipped unread (written ":").
// Any other letter after "^" is not a code: decoding stops there and leaves that text as it is.
Decoded_Message Decode_Mess(std::string_view msg);

// Shortens a path from the left at folder boundaries ("/" or "\") until `fits` accepts it,
// giving "...\rest" (with the separator the path uses). Returns the last, shortest form when
// nothing fits.
template <typename Fits> std::string Shorten_Path_Left(std::string_view path, Fits&& fits) {
    std::string current(path);
    if (fits(current))
        return current;
    std::size_t from = 0;
    while (true) {
        std::size_t sep = path.find_first_of("/\\", from == 0 ? 1 : from);
        if (sep == std::string_view::npos || sep + 1 >= path.size())
            return current;
        current = "..." + std::string(path.substr(sep));
        if (fits(current))
            return current;
        from = sep + 1;
    }
}

} // namespace parvex

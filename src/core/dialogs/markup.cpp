#include "dialogs/markup.h"

namespace parvex {

namespace {

// Splits the text after a "^F:" or "^P:" code at its closing "^": the enclosed value and the
// rest. Without a closing "^" the value is empty and the whole remainder stays as text.
void split_enclosed(std::string_view after_code, std::string& value, std::string_view& rest) {
    std::size_t close = after_code.find(Markup_Lead);
    if (close == std::string_view::npos) {
        value.clear();
        rest = after_code;
        return;
    }
    value = std::string(after_code.substr(0, close));
    rest = after_code.substr(close + 1);
}

} // namespace

Decoded_Message Decode_Mess(std::string_view msg) {
    Decoded_Message out;
    std::string_view t = msg;
    while (!t.empty() && t.front() == Markup_Lead) {
        if (t.size() < 2)
            break;
        char code = t[1];
        if (code != 'C' && code != 'F' && code != 'P')
            break;
        std::string_view after = t.size() > 3 ? t.substr(3) : std::string_view{};
        // Every code empties the file name, so a name survives only behind the last code.
        out.file_name.clear();
        if (code == 'C') {
            out.centred = true;
            t = after;
        } else if (code == 'F') {
            std::string name;
            split_enclosed(after, name, t);
            out.file_name = std::move(name);
            out.file_strip = true;
        } else {
            split_enclosed(after, out.progress_caption, t);
            out.progress_strip = true;
        }
    }
    out.text = std::string(t);
    return out;
}

} // namespace parvex

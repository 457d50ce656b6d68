#include "platform/source_text.h"

#include "platform/file_kind.h"

#include <cstring>
#include <new>

namespace parvex {

namespace {
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Every line end is kept as it is: the source's own, a missing one at the end included. Most
// texts end every line alike, which is settled by counting; only a text of mixed line ends
// keeps one letter per line.
void note_line_ends(std::string_view bytes, const LineViews& lines, TextForm& form) {
    if (lines.empty())
        return;
    form.last_line_ended = bytes.back() == '\n' || bytes.back() == '\r';
    std::size_t in_lines = 0;
    for (std::string_view l : lines)
        in_lines += l.size();
    const std::size_t ended = lines.size() - (form.last_line_ended ? 0 : 1);
    bool alike = in_lines + ended * form.line_end.size() == bytes.size();
    // Ends of one byte each can still be a mix of LF and CR.
    if (alike && form.line_end == "\n")
        alike = std::memchr(bytes.data(), '\r', bytes.size()) == nullptr;
    else if (alike && form.line_end == "\r")
        alike = std::memchr(bytes.data(), '\n', bytes.size()) == nullptr;
    if (alike)
        return;
    form.ends.reserve(lines.size());
    const char* const end = bytes.data() + bytes.size();
    for (std::string_view l : lines) {
        const char* p = l.data() + l.size();
        form.ends += p == end ? '-' : *p == '\n' ? 'n' : p + 1 < end && p[1] == '\n' ? 'c' : 'r';
    }
}

} // namespace

SourceView Source_View(std::string_view bytes, LineViews room) {
    SourceView text;
    if (Looks_Binary(bytes)) {
        text.status = SourceStatus::Binary;
        text.error = std::string(Binary_Source_Text);
        return text;
    }
    // The mark stays out of the lines, so the first word of the file is read as a word.
    if (bytes.starts_with(kUtf8Bom)) {
        text.form.bom = std::string(kUtf8Bom);
        bytes.remove_prefix(kUtf8Bom.size());
    }
    // The new text keeps the source's line ends (a git diff then shows only changed words);
    // the first line end decides, and a text without one gets CR LF.
    if (auto end = bytes.find_first_of("\r\n"); end != std::string_view::npos)
        text.form.line_end = bytes[end] == '\n'                                 ? "\n"
                             : end + 1 < bytes.size() && bytes[end + 1] == '\n' ? "\r\n"
                                                                                : "\r";
    text.lines = Line_Views(bytes, std::move(room));
    note_line_ends(bytes, text.lines, text.form);
    return text;
}

SourceText Source_From_Bytes(std::string_view bytes) {
    SourceView view = Source_View(bytes);
    SourceText text;
    text.status = view.status;
    text.error = std::move(view.error);
    text.form = std::move(view.form);
    text.lines.assign(view.lines.begin(), view.lines.end());
    return text;
}

SourceText Load_Source_Text(const std::string& name, std::uint64_t limit, FileStamp* stamp) {
    SourceText text;
    if (std::string what = Describe_Non_File(name); !what.empty()) {
        text.status = SourceStatus::Missing;
        text.error = what;
        return text;
    }
    std::string bytes;
    if (stamp)
        *stamp = Take_File_Stamp(name); // before the read: a change while reading shows too
    if (InputRead r = Read_Input_File(name, bytes, limit, "not listed"); !r) {
        text.status = r.status == InputStatus::Binary      ? SourceStatus::Binary
                      : r.status == InputStatus::Too_Large ? SourceStatus::Too_Large
                      : r.status == InputStatus::No_Memory ? SourceStatus::No_Memory
                                                           : SourceStatus::Unreadable;
        text.error = std::move(r.error);
        return text;
    }
    try {
        if (stamp)
            Keep_Racy_Bytes(*stamp, std::string_view(bytes));
        return Source_From_Bytes(bytes);
    } catch (const std::bad_alloc&) {
        text.status = SourceStatus::No_Memory;
        text.error = "not enough memory to read its " + Size_Text(bytes.size()) + ", not listed";
        return text;
    }
}

std::string Compose_Text(const TextList& lines, const TextForm& form) {
    std::size_t total = form.bom.size();
    for (const auto& l : lines)
        total += l.size() + form.line_end.size();
    std::string out;
    out.reserve(total);
    out += form.bom;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        out += lines[i];
        out += form.End_Of(i, lines.size());
    }
    return out;
}

} // namespace parvex

#include "platform/source_text.h"

#include "platform/file_kind.h"

#include <new>

namespace parvex {

namespace {
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
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
    for (const auto& l : lines) {
        out += l;
        out += form.line_end;
    }
    return out;
}

} // namespace parvex

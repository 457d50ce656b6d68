#pragma once
// Whole-file reading and writing for 8-bit text: lines in, lines out, CR LF on disk, and every
// write through a temporary file in the same folder that is renamed over the target.

#include <string>
#include <string_view>
#include <vector>

namespace parvex {

using TextList = std::vector<std::string>;

// The outcome of a file operation; `error` names the file and the system's reason.
struct [[nodiscard]] FileResult {
    bool ok = true;
    std::string error;
    static FileResult success() { return {}; }
    static FileResult failure(std::string text) { return {false, std::move(text)}; }
    explicit operator bool() const { return ok; }
};

bool File_Exists(const std::string& name); // a regular file (or a link to one)
bool Dir_Exists(const std::string& name);

FileResult Read_File(const std::string& name, std::string& bytes);
// Splits on CR LF, LF or CR; a final line end does not start another line.
TextList Split_Lines(std::string_view bytes);
// Every line followed by CR LF, the last one too.
std::string Join_Lines(const TextList& lines);

FileResult Load_Lines(const std::string& name, TextList& lines);
FileResult Save_Lines(const std::string& name, const TextList& lines);
// Writes the bytes to a temporary file beside `name`, flushes it and renames it over `name`.
FileResult Write_File_Atomic(const std::string& name, std::string_view bytes);
// The first half of that: writes the bytes to a new temporary file beside `name` and gives its
// name in `staged`; the caller renames it over `name` (or deletes it) when the time has come.
FileResult Stage_File(const std::string& name, std::string_view bytes, std::string& staged);
FileResult Delete_File(const std::string& name); // a missing file is no failure
FileResult Rename_File(const std::string& from, const std::string& to);
FileResult Make_Dirs(const std::string& dir);

} // namespace parvex

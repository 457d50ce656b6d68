#pragma once
// Whole-file reading and writing for 8-bit text: lines in, lines out, CR LF on disk, and every
// write through a temporary file in the same folder that is renamed over the target.

#include <string>
#include <string_view>
#include <vector>

namespace parvex {

using TextList = std::vector<std::string>;
// Lines that point into a text held elsewhere.
using LineViews = std::vector<std::string_view>;

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
// True when the file holds exactly these bytes (read piece by piece; false when unreadable).
bool File_Holds(const std::string& name, std::string_view bytes);
// Splits on CR LF, LF or CR; a final line end does not start another line.
TextList Split_Lines(std::string_view bytes);
// The same lines as views into the bytes, for a reader that needs no copies.
// `room` is a list whose memory may be used again.
LineViews Line_Views(std::string_view bytes, LineViews room = {});
// Every line followed by CR LF, the last one too.
std::string Join_Lines(const TextList& lines);

FileResult Load_Lines(const std::string& name, TextList& lines);
FileResult Save_Lines(const std::string& name, const TextList& lines);
// How a staged file is made: its permission bits (-1: those of the file it replaces, else
// 0666 less the umask; set-user and set-group id are never kept) and whether its bytes reach the
// disk (fsync) before the file is handed back.
struct StageMode {
    int permissions = -1;
    bool sync = false;
};

// The permission bits a new file gets: 0666 less the process's umask.
int New_File_Permissions();

// Writes the bytes to a temporary file beside `name` and renames it over `name`.
FileResult Write_File_Atomic(const std::string& name, std::string_view bytes, StageMode mode = {});
// The first half of that: writes the bytes to a new temporary file beside `name` and gives its
// name in `staged`; the caller renames it over `name` (or deletes it) when the time has come.
// The temporary file is named ".parvex-XXXXXX" (Temp_File_Prefix and six characters).
FileResult Stage_File(const std::string& name, std::string_view bytes, std::string& staged,
                      StageMode mode = {});
inline constexpr std::string_view Temp_File_Prefix = ".parvex-";
// Flushes a folder's entries (renames, new names) to the disk.
FileResult Sync_Folder(const std::string& folder);
FileResult Delete_File(const std::string& name); // a missing file is no failure
FileResult Rename_File(const std::string& from, const std::string& to);
FileResult Make_Dirs(const std::string& dir);

} // namespace parvex

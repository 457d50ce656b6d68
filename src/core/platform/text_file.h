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
    // The owner and group to give the file (-1: whoever writes it), as the file it replaces had
    // them. Where the system does not allow it the file stays this user's (StagedFile::owner_kept).
    int owner = -1;
    int group = -1;
};

// The permission bits a new file gets: 0666 less the process's umask.
int New_File_Permissions();
// Writes the bytes to a temporary file beside `name` and renames it over `name`.
FileResult Write_File_Atomic(const std::string& name, std::string_view bytes, StageMode mode = {});

// A temporary file beside its target, written whole and locked (flock) by this process until it
// takes the target's place or is removed: the clean-up of a later run tells the temporary files
// of a run still writing from those a killed run left behind by that lock, not by their time.
// Removed when it goes out of scope without having taken its place.
class StagedFile {
public:
    StagedFile() = default;
    ~StagedFile();
    StagedFile(StagedFile&& other) noexcept;
    StagedFile& operator=(StagedFile&& other) noexcept;
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    const std::string& path() const { return path_; }
    explicit operator bool() const { return fd_ >= 0; }
    // False when the owner or group asked for could not be given (the reason in owner_error).
    bool owner_kept() const { return owner_error_.empty(); }
    const std::string& owner_error() const { return owner_error_; }
    // Renames it over `target` ("Cannot write "target": ..." when that fails); then it is empty.
    FileResult Commit(const std::string& target);
    // Removes it; then it is empty.
    void Discard();

private:
    friend FileResult Stage_File(const std::string&, std::string_view, StagedFile&, StageMode);
    std::string path_;
    int fd_ = -1; // open, holding the lock
    std::string owner_error_;
};

// The first half of Write_File_Atomic: writes the bytes to a new temporary file beside `name`
// and hands it over in `staged`; the caller commits it (or drops it) when the time has come.
FileResult Stage_File(const std::string& name, std::string_view bytes, StagedFile& staged,
                      StageMode mode = {});

// Temporary files are named Temp_File_Prefix, twelve random letters and digits, and
// Temp_File_Suffix (".parvex-q7Rk2ZbW0mXe.tmp"): a name no user chooses for a file of their own.
inline constexpr std::string_view Temp_File_Prefix = ".parvex-";
inline constexpr std::string_view Temp_File_Suffix = ".tmp";
inline constexpr std::size_t Temp_File_Random_Chars = 12;
bool Is_Temp_File_Name(std::string_view name);
// Flushes a folder's entries (renames, new names) to the disk.
FileResult Sync_Folder(const std::string& folder);
FileResult Delete_File(const std::string& name); // a missing file is no failure
FileResult Rename_File(const std::string& from, const std::string& to);
FileResult Make_Dirs(const std::string& dir);

} // namespace parvex

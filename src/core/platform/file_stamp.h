#pragma once
// What a file looked like when it was read, so that a save can tell whether someone changed it
// since: its identity, size and times, and its bytes while those cannot tell.

#include <chrono>
#include <ctime>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace parvex {

struct FileStamp {
    bool taken = false; // false: the file could not be looked at
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{}; // the content's time, which a user may set back
    timespec changed{};  // the inode's time, which every write moves on and nobody sets
    // Written so shortly before it was read that a second write within the same tick of the file
    // system's clock (a few milliseconds; two seconds on some) would leave the times as they are:
    // then the bytes read decide.
    bool racy = false;
    std::string bytes; // kept only when racy
};

// Taken just before the file is read, so that a change while it is read shows as well. `now`
// is the time of the read.
FileStamp
Take_File_Stamp(const std::string& name,
                std::chrono::system_clock::time_point now = std::chrono::system_clock::now());
// Keeps the bytes read where the stamp alone cannot decide (a racy stamp).
void Keep_Racy_Bytes(FileStamp& stamp, std::string_view bytes);
void Keep_Racy_Bytes(FileStamp& stamp, std::string&& bytes);

// True when `name` is still the file the stamp describes: the same file (not one put in its
// place), the same size and times and, for a racy stamp, the same bytes. A stamp that was not
// taken describes no file: any file there now is a change.
bool File_Unchanged(const std::string& name, const FileStamp& stamp);

} // namespace parvex

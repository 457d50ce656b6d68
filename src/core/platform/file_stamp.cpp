#include "platform/file_stamp.h"

#include "platform/text_file.h"

#include <sys/stat.h>

namespace parvex {

namespace {

// File times come from a coarse clock (a tick of a few milliseconds; two seconds on FAT), and
// a file server's clock may stand a little off: a stamp this close to its read is racy.
constexpr auto kRacyMargin = std::chrono::seconds(2);

std::chrono::system_clock::time_point time_of(const timespec& t) {
    return std::chrono::system_clock::time_point(
        std::chrono::duration_cast<std::chrono::system_clock::duration>(
            std::chrono::seconds(t.tv_sec) + std::chrono::nanoseconds(t.tv_nsec)));
}

bool same_time(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

} // namespace

FileStamp Take_File_Stamp(const std::string& name, std::chrono::system_clock::time_point now) {
    FileStamp stamp;
    struct stat st {};
    if (name.empty() || ::stat(name.c_str(), &st) != 0)
        return stamp;
    stamp.taken = true;
    stamp.device = st.st_dev;
    stamp.inode = st.st_ino;
    stamp.size = st.st_size;
    stamp.modified = st.st_mtim;
    stamp.changed = st.st_ctim;
    const auto latest = std::max(time_of(st.st_mtim), time_of(st.st_ctim));
    stamp.racy = latest + kRacyMargin >= now;
    return stamp;
}

void Keep_Racy_Bytes(FileStamp& stamp, std::string_view bytes) {
    if (stamp.racy)
        stamp.bytes.assign(bytes);
}

void Keep_Racy_Bytes(FileStamp& stamp, std::string&& bytes) {
    if (stamp.racy)
        stamp.bytes = std::move(bytes);
}

bool File_Unchanged(const std::string& name, const FileStamp& stamp) {
    struct stat st {};
    const bool is = ::stat(name.c_str(), &st) == 0;
    if (!stamp.taken)
        return !is;
    if (!is || st.st_dev != stamp.device || st.st_ino != stamp.inode || st.st_size != stamp.size ||
        !same_time(st.st_mtim, stamp.modified) || !same_time(st.st_ctim, stamp.changed))
        return false;
    return !stamp.racy || File_Holds(name, stamp.bytes);
}

} // namespace parvex

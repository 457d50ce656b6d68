#include "platform/folder_lock.h"

#include "platform/text_file.h"

#include <cerrno>
#include <chrono>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <set>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace parvex {

namespace {

std::string dir_or_dot(const std::string& folder) {
    return folder.empty() ? std::string(".") : folder;
}

// The first moment this process cared about temporary files; files older than it cannot be
// one of its own saves in progress.
const std::chrono::system_clock::time_point& process_start() {
    static const auto start = std::chrono::system_clock::now();
    return start;
}

bool is_temp_name(const char* name) {
    const std::string_view n(name);
    return n.size() == Temp_File_Prefix.size() + 6 && n.starts_with(Temp_File_Prefix);
}

} // namespace

FolderLock::FolderLock(const std::string& folder) {
    (void)process_start();
    fd_ = ::open(dir_or_dot(folder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0)
        return;
    while (::flock(fd_, LOCK_EX) != 0) {
        if (errno != EINTR) { // a file system without locks: save as before
            ::close(fd_);
            fd_ = -1;
            return;
        }
    }
}

FolderLock::~FolderLock() {
    if (fd_ >= 0)
        ::close(fd_); // closing the descriptor releases the lock
}

int Remove_Stale_Temps(const std::string& folder) {
    static std::mutex mutex;
    static std::set<std::string> done;
    {
        std::lock_guard<std::mutex> guard(mutex);
        if (!done.insert(folder).second)
            return 0;
    }
    const std::string dir = dir_or_dot(folder);
    DIR* d = ::opendir(dir.c_str());
    if (!d)
        return 0;
    const auto start = process_start();
    int removed = 0;
    while (const dirent* e = ::readdir(d)) {
        if (!is_temp_name(e->d_name))
            continue;
        struct stat st {};
        if (::fstatat(::dirfd(d), e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode))
            continue;
        const auto modified = std::chrono::system_clock::time_point(
            std::chrono::duration_cast<std::chrono::system_clock::duration>(
                std::chrono::seconds(st.st_mtim.tv_sec) +
                std::chrono::nanoseconds(st.st_mtim.tv_nsec)));
        if (modified >= start)
            continue;
        if (::unlinkat(::dirfd(d), e->d_name, 0) == 0)
            ++removed;
    }
    ::closedir(d);
    return removed;
}

} // namespace parvex

#include "platform/folder_lock.h"

#include "platform/text_file.h"

#include <cerrno>
#include <condition_variable>
#include <dirent.h>
#include <fcntl.h>
#include <map>
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

} // namespace

namespace {
// The folders this process holds locked, with how many of its saves use each.
struct Held {
    int fd = -1;
    int users = 0;
    bool taking = false; // a thread is waiting for the lock of another process
};
std::mutex held_mutex;
std::condition_variable held_changed;
std::map<std::string, Held> held;

int take_lock(const std::string& dir) {
    int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    while (::flock(fd, LOCK_EX) != 0) {
        if (errno != EINTR) { // a file system without locks: save as before
            ::close(fd);
            return -1;
        }
    }
    return fd;
}
} // namespace

FolderLock::FolderLock(const std::string& folder) : key_(dir_or_dot(folder)) {
    std::unique_lock<std::mutex> lock(held_mutex);
    held_changed.wait(lock, [&] { return !held[key_].taking; });
    Held& h = held[key_];
    if (h.users > 0) {
        ++h.users;
        locked_ = true;
        return;
    }
    h.taking = true;
    lock.unlock();
    const int fd = take_lock(key_); // may wait for another process
    // The one moment no save of this process is under way in the folder (the others wait for
    // `taking`): what a killed run left goes now, before any thread makes a file of its own.
    if (fd >= 0)
        (void)Remove_Stale_Temps(folder);
    lock.lock();
    Held& now = held[key_];
    now.taking = false;
    if (fd >= 0) {
        now.fd = fd;
        now.users = 1;
        locked_ = true;
    } else {
        held.erase(key_);
    }
    held_changed.notify_all();
}

FolderLock::~FolderLock() {
    if (!locked_)
        return;
    std::lock_guard<std::mutex> lock(held_mutex);
    auto it = held.find(key_);
    if (it == held.end() || --it->second.users > 0)
        return;
    ::close(it->second.fd); // closing the descriptor releases the lock
    held.erase(it);
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
    const uid_t me = ::geteuid();
    int removed = 0;
    while (const dirent* e = ::readdir(d)) {
        if (!Is_Temp_File_Name(e->d_name))
            continue;
        // Ours: a regular file of this user, and no process (this one included) holds its lock,
        // so the run that wrote it is gone. Whatever cannot be told stays.
        struct stat named {
        }, opened{};
        if (::fstatat(::dirfd(d), e->d_name, &named, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(named.st_mode) || named.st_uid != me)
            continue;
        const int fd = ::openat(::dirfd(d), e->d_name,
                                O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0)
            continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &opened) == 0 &&
            opened.st_dev == named.st_dev && opened.st_ino == named.st_ino &&
            ::unlinkat(::dirfd(d), e->d_name, 0) == 0)
            ++removed;
        ::close(fd);
    }
    ::closedir(d);
    return removed;
}

} // namespace parvex

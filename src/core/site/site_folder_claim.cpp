#include "site/site_folder_claim.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace parvex::site {

FolderClaim::~FolderClaim() {
    Release();
}

void FolderClaim::Release() {
    if (fd_ >= 0)
        ::close(fd_); // closing the file lets go of its lock
    fd_ = -1;
}

bool FolderClaim::Take(const std::string& folder) {
    Release();
    // Made and locked under a name of its own first, so that no other run ever sees the lock
    // file unlocked while this one lives.
    std::string staged = folder + "/" + kClaimFile + "-XXXXXX";
    const int fd = ::mkostemp(staged.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    int locked;
    while ((locked = ::flock(fd, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
    }
    if (locked != 0 || ::rename(staged.c_str(), (folder + "/" + kClaimFile).c_str()) != 0) {
        ::unlink(staged.c_str());
        ::close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

FileResult Remove_Claimed_Folder(const std::string& folder) {
    std::vector<fs::path> entries;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (it->path().filename() != kClaimFile)
            entries.push_back(it->path());
    if (ec)
        return ec == std::errc::no_such_file_or_directory
                   ? FileResult::success()
                   : FileResult::failure(folder + ": cannot be removed: " + ec.message());
    for (const fs::path& entry : entries) {
        fs::remove_all(entry, ec); // a symbolic link goes, not what it points to
        if (ec)
            return FileResult::failure(entry.string() + ": cannot be removed: " + ec.message());
    }
    const std::string claim = folder + "/" + kClaimFile;
    if (::unlink(claim.c_str()) != 0 && errno != ENOENT)
        return FileResult::failure(claim + ": cannot be removed: " + std::strerror(errno));
    if (::rmdir(folder.c_str()) != 0 && errno != ENOENT)
        return FileResult::failure(folder + ": cannot be removed: " + std::strerror(errno));
    return FileResult::success();
}

int Remove_Stale_Work_Folders(const std::string& parent) {
    const std::string dir = parent.empty() ? std::string(".") : parent;
    std::vector<std::string> names;
    if (DIR* d = ::opendir(dir.c_str())) {
        while (const dirent* e = ::readdir(d))
            if (std::string_view(e->d_name).starts_with(kWorkFolderPrefix))
                names.emplace_back(e->d_name);
        ::closedir(d);
    }
    int removed = 0;
    for (const std::string& name : names) {
        const std::string folder = dir + "/" + name;
        struct stat st {};
        if (::lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
            continue;
        const std::string claim = folder + "/" + kClaimFile;
        const int fd = ::open(claim.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue; // no lock file: not a folder of ours
        struct stat held {
        }, now{};
        // Taken only when nobody holds the lock, and the file locked is still the one at that
        // name (not one a finishing run has just let go of).
        if (::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::lstat(claim.c_str(), &now) == 0 &&
            now.st_dev == held.st_dev && now.st_ino == held.st_ino)
            if (Remove_Claimed_Folder(folder))
                ++removed;
        ::close(fd);
    }
    return removed;
}

} // namespace parvex::site

#include "platform/file_kind.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace parvex {

namespace {

// What a path is that stat() could not follow.
std::string unreachable(const std::string& path, int err) {
    struct stat lst {};
    if (err == ENOENT && ::lstat(path.c_str(), &lst) == 0 && S_ISLNK(lst.st_mode))
        return "is a symbolic link to nothing";
    if (err == ENOENT || err == ENOTDIR)
        return "File does not exist";
    if (err == ELOOP)
        return "is a symbolic link that leads in a loop";
    return std::string("cannot be reached: ") + std::strerror(err);
}

std::string kind_of(mode_t mode) {
    if (S_ISDIR(mode))
        return "a folder";
    if (S_ISFIFO(mode))
        return "a named pipe (FIFO)";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "a device";
    if (S_ISSOCK(mode))
        return "a socket";
    return "not a regular file";
}

} // namespace

std::string Describe_Non_File(const std::string& path) {
    struct stat st {};
    if (path.empty())
        return "File does not exist";
    if (::stat(path.c_str(), &st) != 0)
        return unreachable(path, errno);
    if (S_ISREG(st.st_mode))
        return {};
    return "is " + kind_of(st.st_mode) + ", not a file";
}

bool Is_Read_Only(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return false;
    return (st.st_mode & 0222) == 0 || ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0;
}

std::string Describe_Non_Folder(const std::string& path) {
    struct stat st {};
    if (path.empty())
        return "Folder does not exist";
    if (::stat(path.c_str(), &st) != 0) {
        std::string why = unreachable(path, errno);
        return why == "File does not exist" ? "Folder does not exist" : why;
    }
    if (S_ISDIR(st.st_mode))
        return {};
    return S_ISREG(st.st_mode) ? "is a file, not a folder"
                               : "is " + kind_of(st.st_mode) + ", not a folder";
}

} // namespace parvex

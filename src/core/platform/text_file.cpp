#include "platform/text_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace parvex {

namespace {

std::string system_error(const std::string& what, const std::string& name, int err) {
    return what + " \"" + name + "\": " + std::strerror(err);
}

std::string folder_of(const std::string& name) {
    auto slash = name.rfind('/');
    if (slash == std::string::npos)
        return {};
    return name.substr(0, slash + 1);
}

} // namespace

bool File_Exists(const std::string& name) {
    struct stat st {};
    return !name.empty() && ::stat(name.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool Dir_Exists(const std::string& name) {
    struct stat st {};
    return !name.empty() && ::stat(name.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

FileResult Read_File(const std::string& name, std::string& bytes) {
    bytes.clear();
    int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return FileResult::failure(system_error("Cannot open", name, errno));
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        return FileResult::failure(system_error("Cannot read", name, EISDIR));
    }
    if (st.st_size > 0)
        bytes.reserve(static_cast<std::size_t>(st.st_size));
    char buffer[1 << 16];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            int err = errno;
            ::close(fd);
            bytes.clear();
            return FileResult::failure(system_error("Cannot read", name, err));
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return FileResult::success();
}

TextList Split_Lines(std::string_view bytes) {
    TextList lines;
    std::size_t start = 0;
    const std::size_t n = bytes.size();
    for (std::size_t i = 0; i < n; ++i) {
        char c = bytes[i];
        if (c != '\r' && c != '\n')
            continue;
        lines.emplace_back(bytes.substr(start, i - start));
        if (c == '\r' && i + 1 < n && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.emplace_back(bytes.substr(start));
    return lines;
}

std::string Join_Lines(const TextList& lines) {
    std::size_t total = 0;
    for (const auto& l : lines)
        total += l.size() + 2;
    std::string out;
    out.reserve(total);
    for (const auto& l : lines) {
        out += l;
        out += "\r\n";
    }
    return out;
}

FileResult Load_Lines(const std::string& name, TextList& lines) {
    std::string bytes;
    FileResult r = Read_File(name, bytes);
    if (!r) {
        lines.clear();
        return r;
    }
    lines = Split_Lines(bytes);
    return r;
}

FileResult Save_Lines(const std::string& name, const TextList& lines) {
    return Write_File_Atomic(name, Join_Lines(lines));
}

FileResult Write_File_Atomic(const std::string& name, std::string_view bytes) {
    std::string tmpl = folder_of(name) + ".parvex-XXXXXX";
    std::vector<char> path(tmpl.begin(), tmpl.end());
    path.push_back('\0');
    int fd = ::mkstemp(path.data());
    if (fd < 0)
        return FileResult::failure(system_error("Cannot write", name, errno));
    std::string tmp(path.data());
    auto fail = [&](int err) {
        ::close(fd);
        ::unlink(tmp.c_str());
        return FileResult::failure(system_error("Cannot write", name, err));
    };
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return fail(errno);
        }
        done += static_cast<std::size_t>(n);
    }
    // Keep the permissions of the file being replaced; new files get the usual 0666 & ~umask.
    struct stat st {};
    if (::stat(name.c_str(), &st) == 0) {
        ::fchmod(fd, st.st_mode & 07777);
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    if (::close(fd) != 0) {
        int err = errno;
        ::unlink(tmp.c_str());
        return FileResult::failure(system_error("Cannot write", name, err));
    }
    if (::rename(tmp.c_str(), name.c_str()) != 0) {
        int err = errno;
        ::unlink(tmp.c_str());
        return FileResult::failure(system_error("Cannot write", name, err));
    }
    return FileResult::success();
}

FileResult Delete_File(const std::string& name) {
    if (::unlink(name.c_str()) != 0 && errno != ENOENT)
        return FileResult::failure(system_error("Cannot delete", name, errno));
    return FileResult::success();
}

FileResult Rename_File(const std::string& from, const std::string& to) {
    if (::rename(from.c_str(), to.c_str()) != 0)
        return FileResult::failure(system_error("Cannot rename", from, errno));
    return FileResult::success();
}

FileResult Make_Dirs(const std::string& dir) {
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec && !Dir_Exists(dir))
        return FileResult::failure("Cannot create folder \"" + dir + "\": " + ec.message());
    return FileResult::success();
}

} // namespace parvex

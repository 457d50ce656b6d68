#include "platform/text_file.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
    // Read straight into the string: room for the size the file has (and a byte more, which
    // a file that grows meanwhile fills first), more as long as it goes on.
    bytes.resize(st.st_size > 0 ? static_cast<std::size_t>(st.st_size) + 1 : 1 << 16);
    std::size_t at = 0;
    for (;;) {
        if (at == bytes.size())
            bytes.resize(2 * at);
        ssize_t n = ::read(fd, bytes.data() + at, bytes.size() - at);
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
        at += static_cast<std::size_t>(n);
    }
    ::close(fd);
    bytes.resize(at);
    return FileResult::success();
}

bool File_Holds(const std::string& name, std::string_view bytes) {
    int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st {};
    bool same = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
                static_cast<std::size_t>(st.st_size) == bytes.size();
    char buffer[1 << 16];
    std::size_t at = 0;
    while (same) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            same = n == 0 && at == bytes.size();
            break;
        }
        const auto got = static_cast<std::size_t>(n);
        same = at + got <= bytes.size() && std::memcmp(buffer, bytes.data() + at, got) == 0;
        at += got;
    }
    ::close(fd);
    return same;
}

namespace {
// The line ends (CR and LF) of a text, found 64 bytes at a time: one bit per byte of a block,
// so that a line costs a count of trailing zeros instead of a search call of its own.
class LineEnds {
public:
    LineEnds(const char* begin, const char* end) : end_(end), block_(begin) {
        bits_ = begin < end ? block_bits(begin) : 0;
    }
    // The first CR or LF at or after `p`, or the end of the text.
    const char* next(const char* p) {
        for (;;) {
            while (bits_ == 0) {
                if (end_ - block_ <= 64)
                    return end_;
                block_ += 64;
                bits_ = block_bits(block_);
            }
            const char* at = block_ + std::countr_zero(bits_);
            bits_ &= bits_ - 1;
            if (at >= p)
                return at;
        }
    }

private:
    std::uint64_t block_bits(const char* b) const {
        if (end_ - b >= 64)
            return bits_of(b);
        // The last block is read from a copy: nothing past the text is touched.
        char tail[64] = {};
        std::memcpy(tail, b, static_cast<std::size_t>(end_ - b));
        return bits_of(tail);
    }
    static std::uint64_t bits_of(const char* b) {
        std::uint64_t bits = 0;
#if defined(__SSE2__)
        const __m128i lf = _mm_set1_epi8('\n'), cr = _mm_set1_epi8('\r');
        for (int k = 0; k < 4; ++k) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + 16 * k));
            const int m =
                _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, lf), _mm_cmpeq_epi8(v, cr)));
            bits |= static_cast<std::uint64_t>(static_cast<unsigned>(m)) << (16 * k);
        }
#else
        for (int k = 0; k < 64; ++k)
            bits |= static_cast<std::uint64_t>(b[k] == '\n' || b[k] == '\r') << k;
#endif
        return bits;
    }

    const char* end_;
    const char* block_;  // the block the bits belong to
    std::uint64_t bits_; // its line ends not handed out yet
};

// Calls `line` with each line of the bytes, without its line end. LF, CR LF and a CR alone
// each end a line; the last line needs no line end.
template <class Each> void for_each_line(std::string_view bytes, Each&& line) {
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    LineEnds ends(p, end);
    while (p < end) {
        const char* e = ends.next(p);
        line(std::string_view(p, static_cast<std::size_t>(e - p)));
        if (e == end)
            break;
        p = e + 1;
        if (*e == '\r' && p < end && *p == '\n')
            ++p; // CR LF
    }
}
} // namespace

TextList Split_Lines(std::string_view bytes) {
    TextList lines;
    // Room for every line at once: growing a list of millions of short lines (a token file)
    // would move them all a few times over. (A file with CR alone grows as it goes.)
    lines.reserve(static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1);
    for_each_line(bytes, [&](std::string_view l) { lines.emplace_back(l); });
    return lines;
}

LineViews Line_Views(std::string_view bytes, LineViews room) {
    LineViews lines = std::move(room);
    lines.clear();
    lines.reserve(bytes.size() / 32 + 1);
    for_each_line(bytes, [&](std::string_view l) { lines.push_back(l); });
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

namespace {
mode_t process_umask() {
    // Read without changing it: setting the mask to 0 for a moment, the usual way to learn it,
    // would give a folder or file another thread creates in that moment wide-open permissions.
    static const mode_t mask = [] {
        if (FILE* status = std::fopen("/proc/self/status", "r")) {
            char line[256];
            unsigned value = 0;
            bool found = false;
            while (!found && std::fgets(line, sizeof line, status))
                found = std::sscanf(line, "Umask: %o", &value) == 1;
            std::fclose(status);
            if (found)
                return static_cast<mode_t>(value & 0777);
        }
        mode_t m = ::umask(0);
        ::umask(m);
        return m;
    }();
    return mask;
}
} // namespace

int New_File_Permissions() {
    return static_cast<int>(0666 & ~process_umask());
}

bool Is_Temp_File_Name(std::string_view name) {
    if (name.size() != Temp_File_Prefix.size() + Temp_File_Random_Chars + Temp_File_Suffix.size() ||
        !name.starts_with(Temp_File_Prefix) || !name.ends_with(Temp_File_Suffix))
        return false;
    const std::string_view random = name.substr(Temp_File_Prefix.size(), Temp_File_Random_Chars);
    return std::all_of(random.begin(), random.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
    });
}

namespace {
// Creates a new temporary file beside `name` with the given permission bits and locks it; never
// opens one that is there already, nor follows a link.
int create_temp(const std::string& name, mode_t bits, std::string& path) {
    static constexpr char chars[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local char anchor = 0; // its address tells the threads apart
    thread_local std::uint64_t state = [] {
        std::uint64_t seed = 0;
        if (::getrandom(&seed, sizeof seed, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof seed))
            seed = static_cast<std::uint64_t>(
                std::chrono::steady_clock::now().time_since_epoch().count());
        return seed ^ (static_cast<std::uint64_t>(::getpid()) << 32) ^
               reinterpret_cast<std::uintptr_t>(&anchor);
    }();
    const std::string base = folder_of(name) + std::string(Temp_File_Prefix);
    for (int attempt = 0; attempt < 100; ++attempt) {
        path = base;
        for (std::size_t k = 0; k < Temp_File_Random_Chars; ++k) {
            state = state * 6364136223846793005ull + 1442695040888963407ull; // LCG step
            path.push_back(chars[(state >> 33) % (sizeof chars - 1)]);
        }
        path += Temp_File_Suffix;
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, bits);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return fd;
        }
        // Locked at once. A clean-up that found it in the moment before (unlocked, so taken for
        // a killed run's) may have removed it: then the name no longer leads here, and another
        // is made. A file system without locks keeps the file unlocked (no clean-up removes it).
        int rc;
        while ((rc = ::flock(fd, LOCK_EX)) != 0 && errno == EINTR) {
        }
        struct stat mine {
        }, named{};
        if (rc == 0 && (::fstat(fd, &mine) != 0 || ::lstat(path.c_str(), &named) != 0 ||
                        mine.st_dev != named.st_dev || mine.st_ino != named.st_ino)) {
            ::close(fd);
            continue;
        }
        return fd;
    }
    errno = EEXIST;
    return -1;
}
} // namespace

StagedFile::~StagedFile() {
    Discard();
}

StagedFile::StagedFile(StagedFile&& other) noexcept
    : path_(std::move(other.path_)), fd_(std::exchange(other.fd_, -1)),
      owner_error_(std::move(other.owner_error_)) {
    other.path_.clear();
}

StagedFile& StagedFile::operator=(StagedFile&& other) noexcept {
    if (this != &other) {
        Discard();
        path_ = std::move(other.path_);
        other.path_.clear();
        fd_ = std::exchange(other.fd_, -1);
        owner_error_ = std::move(other.owner_error_);
    }
    return *this;
}

void StagedFile::Discard() {
    if (fd_ < 0)
        return;
    ::unlink(path_.c_str()); // while still locked: no clean-up takes it for a killed run's
    ::close(fd_);
    fd_ = -1;
    path_.clear();
}

FileResult StagedFile::Commit(const std::string& target) {
    if (fd_ < 0)
        return FileResult::failure(system_error("Cannot write", target, EBADF));
    if (::rename(path_.c_str(), target.c_str()) != 0) {
        const int err = errno;
        Discard();
        return FileResult::failure(system_error("Cannot write", target, err));
    }
    ::close(fd_); // the lock goes with it
    fd_ = -1;
    path_.clear();
    return FileResult::success();
}

FileResult Stage_File(const std::string& name, std::string_view bytes, StagedFile& staged,
                      StageMode mode) {
    staged.Discard();
    // Without a given mode keep the permissions of the file being replaced; new files get the
    // usual 0666 & ~umask. A rewritten file never becomes set-user or set-group id.
    mode_t bits = 0666 & ~process_umask();
    struct stat st {};
    if (mode.permissions >= 0)
        bits = static_cast<mode_t>(mode.permissions);
    else if (::stat(name.c_str(), &st) == 0)
        bits = st.st_mode;
    bits &= 0777;
    StagedFile file;
    // Created with its final bits (the umask may take some away: those are set after), never
    // wider than them; a file system without permission bits gives what it gives.
    file.fd_ = create_temp(name, bits, file.path_);
    if (file.fd_ < 0) {
        const int err = errno;
        file.path_.clear();
        return FileResult::failure(system_error("Cannot write", name, err));
    }
    auto fail = [&](int err) {
        file.Discard();
        return FileResult::failure(system_error("Cannot write", name, err));
    };
    if ((bits & process_umask()) != 0)
        (void)::fchmod(file.fd_, bits);
    // A new file is this user's, of this user's group (or of the folder's, where the folder
    // passes its group on: then giving the same group again changes nothing).
    static const uid_t me = ::geteuid();
    static const gid_t my_group = ::getegid();
    const bool other_owner = mode.owner >= 0 && static_cast<uid_t>(mode.owner) != me;
    const bool other_group = mode.group >= 0 && static_cast<gid_t>(mode.group) != my_group;
    if ((other_owner || other_group) &&
        ::fchown(file.fd_, static_cast<uid_t>(mode.owner), static_cast<gid_t>(mode.group)) != 0) {
        file.owner_error_ = std::strerror(errno);
        // The group alone may be allowed (a group this user belongs to).
        if (other_group)
            (void)::fchown(file.fd_, static_cast<uid_t>(-1), static_cast<gid_t>(mode.group));
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(file.fd_, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return fail(errno);
        }
        done += static_cast<std::size_t>(n);
    }
    if (mode.sync && ::fsync(file.fd_) != 0)
        return fail(errno);
    // The descriptor stays open for the lock; closing a second one reports what a close would
    // (a network file system's failed write-back).
    if (const int probe = ::dup(file.fd_); probe < 0 || ::close(probe) != 0)
        return fail(errno);
    staged = std::move(file);
    return FileResult::success();
}

FileResult Write_File_Atomic(const std::string& name, std::string_view bytes, StageMode mode) {
    StagedFile staged;
    if (FileResult r = Stage_File(name, bytes, staged, mode); !r)
        return r;
    return staged.Commit(name);
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

FileResult Sync_Folder(const std::string& folder) {
    const std::string dir = folder.empty() ? std::string(".") : folder;
    int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return FileResult::failure(system_error("Cannot open folder", dir, errno));
    int rc = ::fsync(fd);
    int err = errno;
    ::close(fd);
    // Some file systems cannot flush a folder; their renames are as safe as they get.
    if (rc != 0 && err != EINVAL && err != EROFS)
        return FileResult::failure(system_error("Cannot flush folder", dir, err));
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

#include "platform/input_read.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace parvex {

namespace {

std::string system_error(const char* what, const std::string& name, int err) {
    return std::string(what) + " \"" + name + "\": " + std::strerror(err);
}

// Reads until `want` bytes are in or the input ends; false with errno set on a failure.
bool read_some(int fd, char* into, std::size_t want, std::size_t& got) {
    got = 0;
    while (got < want) {
        const ssize_t n = ::read(fd, into + got, want - got);
        if (n == 0)
            return true;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        got += static_cast<std::size_t>(n);
    }
    return true;
}

InputRead refusal(InputStatus status, std::uint64_t size, std::uint64_t limit,
                  std::string_view outcome) {
    InputRead r;
    r.status = status;
    r.size = size;
    switch (status) {
    case InputStatus::Binary:
        r.error = "binary or UTF-16 file, ";
        break;
    case InputStatus::Too_Large: {
        // Sizes that would read alike are given in bytes.
        std::string limit_text = Size_Text(limit), size_text = Size_Text(size);
        if (limit_text == size_text) {
            limit_text = std::to_string(limit) + " bytes";
            size_text = std::to_string(size) + " bytes";
        }
        r.error = std::string(Too_Large_Words) + limit_text +
                  (size > limit ? " (" + size_text + "), " : ", ");
        break;
    }
    case InputStatus::No_Memory:
        r.error = "not enough memory to read its " + Size_Text(size) + ", ";
        break;
    case InputStatus::Read:
    case InputStatus::Unreadable:
        break;
    }
    r.error += outcome;
    return r;
}

// The rest of an input after its first `at` bytes, which `bytes` holds already: at most
// `limit` + 1 bytes in all, so that an input that goes on past the limit is seen to.
// `expected` is the size the input should have (0 when unknown).
InputRead read_rest(int fd, const std::string& name, std::string& bytes, std::size_t at,
                    std::uint64_t expected, std::uint64_t limit, std::string_view outcome) {
    const std::uint64_t cap = limit + 1; // limit < 2^63: no overflow
    try {
        // Room for the size the file has and a byte more, which a file that grows meanwhile
        // fills first; more (twice as much each time) as long as it goes on.
        std::uint64_t room =
            std::max<std::uint64_t>({expected + 1, at + 1, std::uint64_t{1} << 16});
        bytes.resize(static_cast<std::size_t>(std::min(room, cap)));
        for (;;) {
            if (at == bytes.size()) {
                if (at >= cap)
                    break;
                bytes.resize(static_cast<std::size_t>(std::min<std::uint64_t>(2 * at, cap)));
            }
            std::size_t got = 0;
            if (!read_some(fd, bytes.data() + at, bytes.size() - at, got)) {
                const int err = errno;
                std::string().swap(bytes);
                InputRead r;
                r.status = InputStatus::Unreadable;
                r.error = system_error("Cannot read", name, err);
                return r;
            }
            at += got;
            if (at < bytes.size())
                break; // the end of the input
        }
    } catch (const std::bad_alloc&) {
        std::string().swap(bytes);
        return refusal(InputStatus::No_Memory, std::max<std::uint64_t>(expected, at), limit,
                       outcome);
    } catch (const std::length_error&) {
        std::string().swap(bytes);
        return refusal(InputStatus::No_Memory, std::max<std::uint64_t>(expected, at), limit,
                       outcome);
    }
    if (at > limit) {
        // Of a stream (or a file grown while read) only the part up to the limit is known.
        std::string().swap(bytes);
        return refusal(InputStatus::Too_Large, expected, limit, outcome);
    }
    bytes.resize(at);
    InputRead r;
    r.size = at;
    return r;
}

} // namespace

bool Looks_Binary(std::string_view bytes) {
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF"))
        return true; // UTF-16 without a NUL byte in the first lines is still UTF-16
    return std::memchr(bytes.data(), '\0', bytes.size()) != nullptr;
}

InputRead Read_Input_File(const std::string& name, std::string& bytes, std::uint64_t limit,
                          std::string_view outcome) {
    bytes.clear();
    const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        InputRead r;
        r.status = InputStatus::Unreadable;
        r.error = system_error("Cannot open", name, errno);
        return r;
    }
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        InputRead r;
        r.status = InputStatus::Unreadable;
        r.error = system_error("Cannot read", name, EISDIR);
        return r;
    }
    const std::uint64_t size =
        S_ISREG(st.st_mode) && st.st_size > 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
    // The first bytes decide whether the file is text at all: a binary file of gigabytes is
    // refused without reading the rest, and a text file's size before any memory is taken.
    char probe[Binary_Probe_Size];
    std::size_t got = 0;
    if (!read_some(fd, probe, sizeof probe, got)) {
        const int err = errno;
        ::close(fd);
        InputRead r;
        r.status = InputStatus::Unreadable;
        r.error = system_error("Cannot read", name, err);
        return r;
    }
    InputRead r;
    if (Looks_Binary(std::string_view(probe, got))) {
        r = refusal(InputStatus::Binary, std::max<std::uint64_t>(size, got), limit, outcome);
    } else if (size > limit || got > limit) {
        r = refusal(InputStatus::Too_Large, size, limit, outcome);
    } else if (got < sizeof probe) {
        bytes.assign(probe, got); // the whole file
        r.size = got;
    } else {
        try {
            bytes.assign(probe, got);
        } catch (const std::bad_alloc&) {
            ::close(fd);
            return refusal(InputStatus::No_Memory, size, limit, outcome);
        }
        r = read_rest(fd, name, bytes, got, size, limit, outcome);
    }
    ::close(fd);
    // A NUL byte further on makes it binary as well.
    if (r && Looks_Binary(bytes)) {
        std::string().swap(bytes);
        r = refusal(InputStatus::Binary, r.size, limit, outcome);
    }
    return r;
}

InputRead Read_Input_Stream(int fd, const std::string& name, std::string& bytes,
                            std::uint64_t limit, std::string_view outcome) {
    bytes.clear();
    return read_rest(fd, name, bytes, 0, 0, limit, outcome);
}

std::string Size_Text(std::uint64_t bytes) {
    if (bytes < 1024)
        return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
    static constexpr const char* units[] = {"KiB", "MiB", "GiB", "TiB", "PiB", "EiB"};
    int unit = 0;
    std::uint64_t scale = 1024;
    while (unit < 5 && bytes / scale >= 1024) {
        scale *= 1024;
        ++unit;
    }
    char text[32];
    if (bytes % scale == 0)
        std::snprintf(text, sizeof text, "%llu %s", static_cast<unsigned long long>(bytes / scale),
                      units[unit]);
    else
        std::snprintf(text, sizeof text, "%.1f %s",
                      static_cast<double>(bytes) / static_cast<double>(scale), units[unit]);
    // A size just above a whole number of units would read as that number: it is given exactly.
    if (std::string_view(text).find(".0 ") != std::string_view::npos)
        return std::to_string(bytes) + " bytes";
    return text;
}

bool Parse_Size(std::string_view text, std::uint64_t& bytes) {
    std::size_t i = 0;
    std::uint64_t value = 0;
    constexpr std::uint64_t max = std::uint64_t{1} << 63;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + static_cast<std::uint64_t>(text[i] - '0');
        if (value > max)
            return false;
    }
    if (i == 0)
        return false;
    std::string_view unit = text.substr(i);
    int shift = 0;
    if (!unit.empty()) {
        switch (unit.front()) {
        case 'k':
        case 'K':
            shift = 10;
            break;
        case 'm':
        case 'M':
            shift = 20;
            break;
        case 'g':
        case 'G':
            shift = 30;
            break;
        default:
            return false;
        }
        unit.remove_prefix(1);
        if (unit != "" && unit != "B" && unit != "iB")
            return false;
    }
    if (value > (max >> shift))
        return false;
    bytes = value << shift;
    return true;
}

} // namespace parvex

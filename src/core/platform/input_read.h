#pragma once
// Reading an input whose size and kind the user does not control (sources, token files): a
// binary file is told from its first bytes and the rest is never read, a file beyond a size
// limit is refused before it is read, and a file the memory does not suffice for fails alone,
// without taking the program down.

#include <cstdint>
#include <string>
#include <string_view>

namespace parvex {

// The largest input read unless the user sets another limit. The largest real Pascal sources
// are generated tables of a few megabytes (5.7 MB in the Free Pascal tree); 64 MiB takes every
// one of them with room to spare, while a listing of that much text still needs well under a
// gigabyte of memory.
inline constexpr std::uint64_t Default_Max_Input_Size = std::uint64_t{64} << 20;

// How much of a file decides whether it is binary before the rest is read.
inline constexpr std::size_t Binary_Probe_Size = 8192;

enum class InputStatus { Read, Unreadable, Binary, Too_Large, No_Memory };

struct [[nodiscard]] InputRead {
    InputStatus status = InputStatus::Read;
    // Unreadable: the system's reason with the file name; the others: what the file is and
    // what was not done with it, without the name ("binary or UTF-16 file, not listed").
    std::string error;
    std::uint64_t size = 0; // the size the file has (as far as read, for a stream)
    explicit operator bool() const { return status == InputStatus::Read; }
};

// The words every refusal for size begins with, so that a caller can add how to raise the limit.
inline constexpr std::string_view Too_Large_Words = "larger than the limit of ";

// Bytes that start a binary or UTF-16 file: a NUL byte, or a UTF-16 byte-order mark.
bool Looks_Binary(std::string_view bytes);

// Reads a file whole. `outcome` ends every refusal: what is not done with the file ("not
// listed", "not loaded"). A binary file is refused from its first bytes, a file larger than
// `limit` before anything beyond them is read, and a NUL byte anywhere later still makes it
// binary. `bytes` is empty unless the read succeeded.
InputRead Read_Input_File(const std::string& name, std::string& bytes, std::uint64_t limit,
                          std::string_view outcome);
// The same for an open descriptor read to its end (standard input); `name` is used in the
// system's reasons. Binary bytes are read whole and left to the caller, who may want to give
// them back as they came.
InputRead Read_Input_Stream(int fd, const std::string& name, std::string& bytes,
                            std::uint64_t limit, std::string_view outcome);

// A size for messages: "812 bytes", "64 MiB", "1.5 GiB".
std::string Size_Text(std::uint64_t bytes);
// A size as users write it: a whole number of bytes, or one with K, M or G (1024, 1024², 1024³,
// upper or lower case, "KiB"/"KB" alike). False for anything else and for sizes beyond 2^63.
bool Parse_Size(std::string_view text, std::uint64_t& bytes);

} // namespace parvex

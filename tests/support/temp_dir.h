#pragma once
// A fresh folder under the system's temporary folder, removed again when the test ends.

#include <cstdint>
#include <filesystem>
#include <string>

namespace parvex::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The folder as a string with a trailing "/", the way the program's folder routines give it.
    std::string dir() const { return path_.string() + "/"; }
    std::filesystem::path write(const std::string& name, const std::string& bytes) const;
    // A file that starts with `head` and is `size` bytes long, the rest a hole of NUL bytes
    // that takes no room on the disk (a "huge" file for tests that must stay small and fast).
    std::filesystem::path write_sparse(const std::string& name, const std::string& head,
                                       std::uintmax_t size) const;
    std::string read(const std::string& name) const;

private:
    std::filesystem::path path_;
};

std::string read_bytes(const std::filesystem::path& file);
void write_bytes(const std::filesystem::path& file, const std::string& bytes);
// Pascal text without a NUL byte ("x := 1;" lines), `n` bytes long.
std::string text_of_size(std::size_t n);

} // namespace parvex::test

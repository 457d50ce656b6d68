#pragma once
// A fresh folder under the system's temporary folder, removed again when the test ends.

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
    std::string read(const std::string& name) const;

private:
    std::filesystem::path path_;
};

std::string read_bytes(const std::filesystem::path& file);
void write_bytes(const std::filesystem::path& file, const std::string& bytes);

} // namespace parvex::test

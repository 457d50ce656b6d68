#include "temp_dir.h"

#include <fstream>
#include <random>
#include <sstream>

namespace parvex::test {

TempDir::TempDir() {
    std::random_device rd;
    auto base = std::filesystem::temp_directory_path();
    for (;;) {
        auto candidate = base / ("parvex-test-" + std::to_string(rd()));
        if (std::filesystem::create_directory(candidate)) {
            path_ = candidate;
            break;
        }
    }
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::filesystem::path TempDir::write(const std::string& name, const std::string& bytes) const {
    auto file = path_ / name;
    std::filesystem::create_directories(file.parent_path());
    write_bytes(file, bytes);
    return file;
}

std::filesystem::path TempDir::write_sparse(const std::string& name, const std::string& head,
                                            std::uintmax_t size) const {
    auto file = write(name, head);
    std::filesystem::resize_file(file, size);
    return file;
}

std::string text_of_size(std::size_t n) {
    std::string s;
    while (s.size() < n)
        s += "x := 1;\n";
    s.resize(n);
    return s;
}

std::string TempDir::read(const std::string& name) const {
    return read_bytes(path_ / name);
}

std::string read_bytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void write_bytes(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
}

} // namespace parvex::test

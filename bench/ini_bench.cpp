// Speed of the INI module on large files: the names of sections of a file of 1 MB (and 4 MB) of
// distinct sections, and of a settings-sized file read many times. The cost per section must not
// grow with the number of sections.
// Usage: build/bin/parvex-ini-bench

#include "frame/ini_file.h"

#include <chrono>
#include <cstdio>
#include <string>

namespace {

// `bytes` of sections "[Section N]" with one entry each, every tenth spelt in lower case again
// later on (the same section, met twice).
std::string sections(std::size_t bytes) {
    std::string text;
    for (std::size_t n = 0; text.size() < bytes; ++n) {
        text += "[Section " + std::to_string(n) + "]\r\nKey=" + std::to_string(n) + "\r\n";
        if (n % 10 == 9)
            text += "[section " + std::to_string(n - 5) + "]\r\nOther=1\r\n";
    }
    return text;
}

void run(const char* what, const std::string& text, int rounds) {
    const parvex::IniFile ini = parvex::IniFile::parse(text);
    std::size_t names = 0;
    const auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; ++i)
        names += ini.section_names().size();
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    std::printf("%-34s %9.3f ms per call  %8zu sections  %6.1f ns per line\n", what,
                1e3 * s / rounds, names / static_cast<std::size_t>(rounds),
                1e9 * s / rounds / static_cast<double>(ini.lines().size()));
}

} // namespace

int main() {
    std::string settings;
    for (int n = 0; n < 8; ++n)
        settings += "[TForm" + std::to_string(n) + "]\r\nA=1\r\nB=2\r\n";
    run("section_names, 8 sections", settings, 20000);
    run("section_names, 256 KB of sections", sections(256 << 10), 3);
    run("section_names, 1 MB of sections", sections(1 << 20), 1);
    run("section_names, 4 MB of sections", sections(4 << 20), 1);
}

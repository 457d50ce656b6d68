// Speed of the rich-text reader on generated pages: a page the size of the shipped ones, a large
// styled document at the 4 MiB input limit, and 10,000 nested groups.
// Usage: build/bin/parvex-rtf-bench

#include "richtext/rtf_reader.h"

#include <chrono>
#include <cstdio>
#include <string>

namespace {

std::string styled(std::size_t bytes) {
    std::string rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Sans;}}{\\colortbl ;\\red0\\green0\\blue128;}";
    const std::string para = "\\pard\\qc{\\b Title}\\par\\pard Some \\i text\\i0  with caf\\'e9, "
                             "\\u8364? and https://www.example.org/x links.\\line {\\field{\\*"
                             "\\fldinst HYPERLINK \"https://a.example\"}{\\fldrslt here}}\\par\r\n";
    while (rtf.size() + para.size() < bytes)
        rtf += para;
    return rtf + "}";
}

void run(const char* what, const std::string& input, int rounds) {
    std::size_t paragraphs = 0;
    const auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; ++i) {
        parvex::rich::Document d = parvex::rich::Read_Rtf(input);
        parvex::rich::Link_Plain_Addresses(d);
        paragraphs += d.paragraphs.size();
    }
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    std::printf("%-28s %9zu bytes %8.3f ms/read %8.1f MB/s (%zu paragraphs)\n", what, input.size(),
                s * 1000 / rounds, input.size() * rounds / s / 1e6,
                paragraphs / static_cast<std::size_t>(rounds));
}

} // namespace

int main() {
    run("page (2 KB)", styled(2048), 2000);
    run("large document (4 MiB)", styled((4u << 20) - 16), 5);
    const int depth = 10000;
    run("10,000 nested groups",
        "{\\rtf1 " + std::string(depth, '{') + "x" + std::string(depth, '}') + "}", 200);
    return 0;
}

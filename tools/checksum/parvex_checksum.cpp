// parvex-checksum: gives shipped data files (the rich-text pages) the checksum line the program
// tests them against, with the same routine and the default key the program uses.
//
//   parvex-checksum FILE...           writes or replaces the checksum line of each file
//   parvex-checksum --verify FILE...  only tests each file; exit status 1 when one fails

#include "tables/file_routines.h"

#include <cstdio>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
    bool verify = false;
    int first = 1;
    if (argc > 1 && std::strcmp(argv[1], "--verify") == 0) {
        verify = true;
        first = 2;
    }
    if (first >= argc) {
        std::fprintf(stderr, "usage: parvex-checksum [--verify] FILE...\n");
        return 2;
    }
    int status = 0;
    for (int i = first; i < argc; ++i) {
        std::string key; // empty: the program's default key
        parvex::TextList lines;
        parvex::FileResult r = parvex::Check_Data_File(!verify, !verify, argv[i], key, lines);
        if (!r) {
            std::fprintf(stderr, "%s: %s\n", argv[i], r.error.c_str());
            status = 1;
            continue;
        }
        std::printf("%s: %s %s\n", argv[i], verify ? "passes" : "written",
                    key.c_str() + 1); // without the 0xFF lead byte
    }
    return status;
}

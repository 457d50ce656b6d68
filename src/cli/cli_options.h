#pragma once
// The command line of parvex-list, parsed into the engine's options and the list of paths.

#include "engine/listing_options.h"

#include <string>
#include <vector>

namespace parvex::cli {

struct CliOptions {
    ListingOptions listing;
    SaveOptions save{.remedies = Remedies::Command_Line};
    std::vector<std::string> paths;
    std::string personal_file; // empty: the program's own Dont/Tokens-Personal.dat if present
    std::string tokens_file;
    std::string out_dir;
    bool to_stdout = false;
    std::string stdin_name;     // the name of the source read from standard input ("-")
    bool diff = false;          // print a unified diff of what would change, write nothing
    bool list_changed = false;  // print the names of the files that would change
    bool nul_separated = false; // -z: those names each ended by a NUL, not quoted
    unsigned jobs = 0;          // parallel jobs, 0: one per processor
    bool spellings = false;     // print the tokens written more than one way, write nothing
    std::string spellings_out;  // their majority spellings, as a personal token file
    bool check = false;
    bool force = false; // list read-only sources in place as well
    bool quiet = false;
    bool help = false;
    bool version = false;
};

struct ParseResult {
    bool ok = true;
    std::string error; // for bad usage
    CliOptions options;
};

ParseResult Parse_Command_Line(const std::vector<std::string>& args);
const char* Usage_Text();

} // namespace parvex::cli

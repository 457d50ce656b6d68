#pragma once
// The command line of parvex-list, parsed into the engine's options and the list of paths.

#include "config/project_config.h"
#include "engine/listing_options.h"
#include "platform/input_read.h"

#include <string>
#include <vector>

namespace parvex::cli {

enum class ColorUse { Auto, Always, Never };

struct CliOptions {
    // What the listing and the save read: the settings that apply to a batch's sources
    // (configuration and command line settled), set by the caller for each batch.
    ListingOptions listing;
    SaveOptions save{.remedies = Remedies::Command_Line};
    std::string personal_file; // "" for none
    std::string tokens_file;   // "" for none
    // The settings the command line gives, over those of any configuration file.
    ConfigValues given;
    bool no_config = false;   // --no-config: no .parvex is read
    std::string print_config; // --print-config FILE
    std::string config_from;  // look for .parvex as if the current folder were this one
    std::string files_from;   // a file of paths, one a line ("-": standard input)
    bool null_names = false;  // -0: those paths end with a NUL byte, not a line end
    ColorUse color = ColorUse::Auto;
    std::vector<std::string> paths;
    std::uint64_t max_size = Default_Max_Input_Size; // larger sources and token files are refused
    std::string out_dir;
    bool to_stdout = false;
    std::string stdin_name;     // the name of the source read from standard input ("-")
    bool diff = false;          // print a unified diff of what would change, write nothing
    bool list_changed = false;  // print the names of the files that would change
    bool nul_separated = false; // -z: those names each ended by a NUL, not quoted
    unsigned jobs = 0;          // parallel jobs, 0: one per processor
    bool spellings = false;     // print the tokens written more than one way, write nothing
    std::string spellings_out;  // their majority spellings, as a personal token file
    std::string html_dir;       // write the cross-reference site of all sources there
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

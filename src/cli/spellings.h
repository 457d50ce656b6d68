#pragma once
// The spelling report: every token that the given sources write in more than one way, with how
// often and where first each spelling occurs, so that a team can settle its dictionary.

#include "cli_options.h"
#include "source_walk.h"

#include "engine/token_table.h"

#include <string>
#include <vector>

namespace parvex::cli {

struct SpellingResult {
    bool errors = false; // a file could not be read, or the spelling file not written
};

// Prints the report (with `options.spellings`) and writes the majority spelling of each such
// token to `options.spellings_out` (when given): refused, before anything is read, when it would
// replace a source, a saved original or a result of the call; written through a temporary file
// with the most restrictive permission bits of the sources. Words are taken the way a listing
// takes them; keywords and identifiers are counted alike. `tokens` gives the spelling a run
// would write.
SpellingResult Spelling_Report(const CliOptions& options, const TokenTable& tokens,
                               const std::vector<SourceJob>& jobs, const std::string& stdin_name);

} // namespace parvex::cli

#pragma once
// The cross-reference site of parvex-list --html: reads the sources on several threads and
// hands them to the site's writer in command-line and walk order.

#include "cli_options.h"
#include "source_walk.h"

#include "engine/token_table.h"

#include <string>
#include <vector>

namespace parvex::cli {

struct SiteRunResult {
    bool errors = false; // a source was skipped, or the site could not be written
};

SiteRunResult Site_Run(const CliOptions& options, TokenTable& tokens,
                       const std::vector<SourceJob>& jobs, const std::vector<std::string>& paths);

// Where each source stands in the site: its path from the nearest folder that holds every
// input ("rtl/unix/x.pp"), and that folder's name as the project's title.
struct SitePaths {
    std::vector<std::string> paths;
    std::string title;
};
SitePaths Site_Paths(const std::vector<SourceJob>& jobs, const std::vector<std::string>& inputs);

} // namespace parvex::cli

#pragma once
// Turns the command line's paths into the list of sources to list, each with the folder its
// results go to.

#include <string>
#include <vector>

namespace parvex::cli {

struct SourceJob {
    std::string file;       // the source
    std::string out_folder; // where its results go, ending in "/"
};

struct WalkResult {
    std::vector<SourceJob> jobs;
    std::vector<std::string> errors; // paths that do not exist or could not be walked
};

// Pascal source names: .pas, .pp, .dpr, .lpr, .inc in any letter case.
bool Is_Pascal_Source(const std::string& name);

// A file is taken as it is; a folder is walked recursively in sorted order. With `out_dir` the
// results go there, mirroring the sub-folders of a walked folder.
WalkResult Collect_Sources(const std::vector<std::string>& paths, const std::string& out_dir);

} // namespace parvex::cli

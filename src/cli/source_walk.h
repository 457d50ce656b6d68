#pragma once
// Turns the command line's paths into the list of sources to list, each with the folder its
// results go to, and refuses what would write results over sources.

#include "engine/listing_options.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace parvex::cli {

class SourceChoice;

struct SourceJob {
    std::string file;       // the source
    std::string out_folder; // where its results go, ending in "/"
};

struct WalkResult {
    std::vector<SourceJob> jobs;
    std::vector<std::string> errors; // paths that do not exist or could not be walked
    bool refused = false;            // the whole call must write nothing (see `errors`)
};

// Pascal source names: .pas, .pp, .dpr, .lpr, .inc in any letter case.
bool Is_Pascal_Source(std::string_view name);

// A file is taken as it is (a link named on the command line is followed); a folder is walked
// recursively in sorted order, following no links and leaving out hidden files and folders
// (names that start with "."), and a folder that cannot be read is an error. A file met twice
// (after "."/".." and links) is listed once. With `out_dir` the results go there, mirroring the
// sub-folders of a walked folder; an `out_dir` that is an input folder, lies inside one or holds
// one is refused, as is the folder of an input file. `choice` (if any) leaves out paths named
// by exclude patterns, named ones and walked ones alike. `out_option` names the option in
// messages; with `out_replaced_whole` (a folder that is replaced as a whole) any folder that
// holds an input file is refused too.
WalkResult Collect_Sources(const std::vector<std::string>& paths, const std::string& out_dir,
                           SourceChoice* choice = nullptr, std::string_view out_option = "--out",
                           bool out_replaced_whole = false);

// Drops each job whose results would be written over the results of an earlier job or over
// another source (two inputs with one output name), with an error line for each. Each job's
// results are named by the save options `options_of` gives for it.
void Drop_Name_Clashes(WalkResult& walk,
                       const std::function<const SaveOptions&(const SourceJob&)>& options_of);

} // namespace parvex::cli

#pragma once
// The listing of a batch of sources: read, list, check and hand out each file in command-line
// and walk order. With several jobs the files are read, verified and saved in parallel while
// one thread lists them in order, so the token index grows exactly as in a run with one job,
// and every output comes out in file order.

#include "cli_options.h"
#include "source_walk.h"

#include "engine/token_table.h"

#include <string>
#include <vector>

namespace parvex::cli {

enum class BatchMode {
    Save,         // the new text replaces the source (or goes to --out), with the lists
    Print,        // the new text to standard output (--stdout and the filter)
    Diff,         // a unified diff of every file that would change
    List_Changed, // the name of every file that would change
    Check         // --check alone: what the run left unhandled, nothing written
};

struct BatchResult {
    bool errors = false;         // a file could not be read, written or was refused
    bool findings = false;       // --check found something, or a file would change
    bool progress_shown = false; // the line of files done is on the terminal
};

// Where a batch stands among the batches of one call (one for each configuration its sources
// fall under): the line of files done counts the files of the whole call.
struct BatchPlace {
    std::size_t done_before = 0; // the files of the batches before this one
    std::size_t total = 0;       // all files of the call (0: this batch's)
};

// The filter's source, read by the caller, and the place its output goes instead of standard
// output: the caller prints it only when the run went well.
struct FilterIo {
    const std::string* input = nullptr;
    std::string* output = nullptr;
};

// `stdin_name` not empty: the one job reads standard input (or `filter`'s input) and is called
// so in messages.
BatchResult Run_Batch(const CliOptions& options, BatchMode mode, TokenTable& tokens,
                      const std::vector<SourceJob>& jobs, const std::string& stdin_name,
                      const FilterIo* filter = nullptr, const BatchPlace& place = {});

// The number of parallel jobs -j 0 stands for: the processors of the machine.
unsigned Default_Jobs();

} // namespace parvex::cli

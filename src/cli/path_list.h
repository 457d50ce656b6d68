#pragma once
// The paths of --files-from: one a line, or each ended by a NUL byte (-0), as
// `git ls-files -z` and `find -print0` give them.

#include <string>
#include <vector>

namespace parvex::cli {

// Adds the paths of `file` ("-": standard input) to `paths`; empty entries are skipped. False,
// with the reason in `error`, when the list cannot be read.
[[nodiscard]] bool Read_Path_List(const std::string& file, bool nul_ended,
                                  std::vector<std::string>& paths, std::string& error);

} // namespace parvex::cli

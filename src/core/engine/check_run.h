#pragma once
// The check run: shows what the last listing run left unhandled in its work lines.

#include "engine/engine_message.h"
#include "engine/listing_lists.h"

#include <string>
#include <string_view>
#include <vector>

namespace parvex {

struct CheckResult {
    bool ran = false;   // false when there was nothing to check
    bool clean = true;  // nothing left on any line
    FileResult written; // the error file, when one was written
    std::vector<EngineMessage> messages;
};

// What the check shows on the first line of a literal of several lines that never closes.
inline constexpr std::string_view kLiteralNeverClosed = "(literal never closed)";

// Fills `lists.src_tmp` with what is left of every work line once "_" and the delimiters are
// removed, and names the first line of a literal that never closes. When anything is left and
// `data_dir` is not empty, writes "Tokens-ERROR.dat" there.
CheckResult Check_Run(ListingLists& lists, const std::string& delimiters,
                      const std::string& data_dir);

} // namespace parvex

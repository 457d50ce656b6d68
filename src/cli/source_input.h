#pragma once
// Reading one source of a batch, from its file or from standard input, within the size limit:
// the one place that decides what a source that cannot be listed is called in a message.

#include "source_walk.h"

#include "platform/file_stamp.h"

#include <cstdint>
#include <string>

namespace parvex::cli {

// Reads the job's bytes (standard input when `from_stdin`). False with one line in `error`,
// the name first: a missing or unreadable file, a binary one (told from its first bytes; from
// standard input, binary bytes are read and left to the caller), one beyond `limit`, or one the
// memory does not suffice for. With `stamp` (a file only), what the file looked like when it was
// read, for the last look at it before a save.
bool Read_Source_Bytes(const SourceJob& job, const std::string& shown, bool from_stdin,
                       std::uint64_t limit, std::string& bytes, std::string& error,
                       FileStamp* stamp = nullptr);

// A refusal for size with the way to raise the limit; any other text as it is.
std::string With_Limit_Hint(std::string error);

} // namespace parvex::cli

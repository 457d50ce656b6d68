#include "source_input.h"

#include "platform/file_kind.h"
#include "platform/input_read.h"

#include <unistd.h>

namespace parvex::cli {

bool Read_Source_Bytes(const SourceJob& job, const std::string& shown, bool from_stdin,
                       std::uint64_t limit, std::string& bytes, std::string& error,
                       FileStamp* stamp) {
    InputRead r;
    if (from_stdin) {
        r = Read_Input_Stream(STDIN_FILENO, "standard input", bytes, limit, "not listed");
    } else if (std::string what = Describe_Non_File(job.file); !what.empty()) {
        error = shown + ": " + what;
        return false;
    } else {
        if (stamp) // taken before the bytes are read: an edit while they are read shows as well
            *stamp = Take_File_Stamp(job.file);
        r = Read_Input_File(job.file, bytes, limit, "not listed");
    }
    if (r)
        return true;
    error = r.status == InputStatus::Unreadable ? r.error : With_Limit_Hint(shown + ": " + r.error);
    return false;
}

std::string With_Limit_Hint(std::string error) {
    if (error.find(Too_Large_Words) != std::string::npos)
        error += " (--max-size raises the limit)";
    return error;
}

} // namespace parvex::cli

#include "path_list.h"

#include "platform/file_kind.h"
#include "platform/text_file.h"

#include <iostream>
#include <iterator>

namespace parvex::cli {

bool Read_Path_List(const std::string& file, bool nul_ended, std::vector<std::string>& paths,
                    std::string& error) {
    std::string bytes;
    if (file == "-") {
        bytes.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
        if (std::cin.bad()) {
            error = "--files-from -: cannot read standard input";
            return false;
        }
    } else if (std::string what = Describe_Non_File(file); !what.empty()) {
        error = "--files-from " + file + ": " + what;
        return false;
    } else if (FileResult r = Read_File(file, bytes); !r) {
        error = r.error;
        return false;
    }
    // A name may hold any byte but the end mark: blanks and CRs are kept as they are.
    const char end = nul_ended ? '\0' : '\n';
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t stop = bytes.find(end, start);
        if (stop == std::string::npos)
            stop = bytes.size();
        if (stop > start)
            paths.emplace_back(bytes, start, stop - start);
        start = stop + 1;
    }
    return true;
}

} // namespace parvex::cli

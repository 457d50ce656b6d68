#include "frame/log_view.h"

namespace parvex {

std::string Log_View_Line(std::string_view line) {
    std::string out;
    out.reserve(line.size() + 16);
    for (char c : line) {
        if (c != '\t') {
            out.push_back(c);
            continue;
        }
        const int col = static_cast<int>(out.size());
        int stop = (col / Log_View_Tab_Width + 1) * Log_View_Tab_Width;
        if (stop - col < Log_View_Min_Gap)
            stop += Log_View_Tab_Width;
        out.append(static_cast<std::size_t>(stop - col), ' ');
    }
    return out;
}

} // namespace parvex

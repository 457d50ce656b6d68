#include "engine/check_run.h"

#include "tables/subs.h"

namespace parvex {

CheckResult Check_Run(ListingLists& lists, const std::string& delimiters,
                      const std::string& data_dir) {
    CheckResult result;
    if (lists.src.empty()) {
        result.messages.push_back({MessageKind::L_Error, "NO Check ...",
                                   "No Check can be done\r\nbecause no data\r\nwas selected !"});
        return result;
    }
    result.ran = true;
    bool removed[256] = {};
    removed[static_cast<unsigned char>('_')] = true;
    for (unsigned char c : delimiters)
        removed[c] = true;

    lists.src_tmp.resize(lists.src.size());
    for (std::size_t i = 0; i < lists.src.size(); ++i) {
        std::string t = Trim(lists.src[i]);
        std::string left;
        for (char c : t)
            if (!removed[static_cast<unsigned char>(c)])
                left.push_back(c);
        lists.src_tmp[i] = Trim(left);
        if (!lists.src_tmp[i].empty())
            result.clean = false;
    }
    // Everything behind a literal that never closes is masked as part of it: its first line is
    // what the run left unhandled.
    if (const std::size_t at = lists.open_literal_line; at > 0 && at <= lists.src_tmp.size()) {
        std::string& left = lists.src_tmp[at - 1];
        left += left.empty() ? "" : " ";
        left += kLiteralNeverClosed;
        result.clean = false;
    }

    if (result.clean) {
        result.messages.push_back({MessageKind::L_Mess, "Check done !", "^C:NO ERROR FOUND"});
        return result;
    }
    if (!data_dir.empty()) {
        const std::string file = data_dir + "Tokens-ERROR.dat";
        result.written = Save_Lines(file, lists.src_tmp);
        if (!result.written) {
            result.messages.push_back({MessageKind::General_Error, "", result.written.error});
            return result;
        }
        result.messages.push_back({MessageKind::L_Error, "Check done !",
                                   "^F:" + file +
                                       "^look at the remaining tokens\r\nand if "
                                       "possible\r\nsend us the file as Error-Report"});
    }
    return result;
}

} // namespace parvex

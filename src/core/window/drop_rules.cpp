#include "window/drop_rules.h"

#include "tables/subs.h"

namespace parvex {

std::string File_Ext(std::string_view file_name) {
    const auto slash = file_name.find_last_of('/');
    const std::string_view name =
        slash == std::string_view::npos ? file_name : file_name.substr(slash + 1);
    const auto dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string() : std::string(name.substr(dot));
}

bool Is_Pas_File(std::string_view file_name) {
    return Upper_Ascii(File_Ext(file_name)) == ".PAS";
}

Drop_Choice Choose_Dropped_File(const std::vector<std::string>& files) {
    if (files.empty())
        return {};
    const std::string& first = files.front();
    return {Is_Pas_File(first) ? Drop_Choice::Kind::Accepted : Drop_Choice::Kind::Refused, first};
}

} // namespace parvex

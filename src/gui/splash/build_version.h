#pragma once
// The build version "YY.MM.DD.HHMM" and its parts as the splash keeps them (four-digit year).

#include <string>
#include <string_view>

namespace parvex {

struct Build_Version {
    std::string year, month, day, hour, minute;
    bool operator==(const Build_Version&) const = default;
};

// "02.06.28.2149" gives 2002, 06, 28, 21, 49; a text of another shape gives empty parts.
inline Build_Version Split_Build_Version(std::string_view v) {
    auto digits = [&](std::size_t from, std::size_t n) {
        for (std::size_t i = from; i < from + n; ++i)
            if (v[i] < '0' || v[i] > '9')
                return false;
        return true;
    };
    if (v.size() != 13 || v[2] != '.' || v[5] != '.' || v[8] != '.' || !digits(0, 2) ||
        !digits(3, 2) || !digits(6, 2) || !digits(9, 4))
        return {};
    return {"20" + std::string(v.substr(0, 2)), std::string(v.substr(3, 2)),
            std::string(v.substr(6, 2)), std::string(v.substr(9, 2)), std::string(v.substr(11, 2))};
}

} // namespace parvex

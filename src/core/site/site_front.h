#pragma once
// The site's fixed front end (style sheet, script and icon), built into the program from the files
// in src/core/site/front/.

#include <string_view>
#include <vector>

namespace parvex::site {

struct FrontFile {
    const char* name; // "site.css", "site.js", "icon.svg"
    std::string_view bytes;
};

const std::vector<FrontFile>& Front_Files();

} // namespace parvex::site

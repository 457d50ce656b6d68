#pragma once
// The HTML of the site's pages: a frame shared by all (head, search bar, occurrence panel,
// scripts) around what each kind of page holds. Every text from a source or a name goes
// through Html_Escape, every link through Url_Escape.

#include <cstdint>
#include <string>
#include <vector>

namespace parvex::site {

struct PageFrame {
    std::string root;    // the way up to the site's folder: "", "../", "../../", ...
    std::string title;   // the page's own title (UTF-8, not escaped)
    std::string project; // the project's name
    std::string kind;    // "index", "source" or "list"
    std::vector<std::pair<std::string, std::string>> data; // further data-* attributes
};

// The page around `body` (HTML made by the caller).
std::string Page_Html(const PageFrame& frame, const std::string& body);

// A source's page: its text comes from the data scripts named in the frame's data.
std::string Source_Body(const std::string& project, const std::string& path,
                        const std::string& text_note);

// One row of the index's tree.
struct TreeFile {
    std::string path; // as shown, "/" between folders
    std::string url;  // the page, from the site's folder, already escaped
    std::uint32_t lines = 0, tokens = 0;
};
struct ProjectTotals {
    std::uint32_t files = 0;
    std::uint64_t lines = 0, tokens = 0;
    std::uint32_t distinct_tokens = 0, literals = 0, numbers = 0, routines = 0;
    std::uint32_t skipped = 0;
};
std::string Index_Body(const std::vector<TreeFile>& files, const ProjectTotals& totals,
                       const std::string& text_note);

// A project-wide list (kind T tokens, L literals, N numbers, R routines): filled by the script.
std::string List_Body(char kind);
const char* List_Title(char kind);
const char* List_File(char kind); // "tokens.html", ...

} // namespace parvex::site

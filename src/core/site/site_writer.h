#pragma once
// The cross-reference site of a whole project: takes the sources one after the other (each
// made ready by a SiteReader on any thread), writes their pages and text as it goes, and at the
// end the project-wide data (occurrences, search, lists) and the index, in a fresh folder that
// then takes the place of the old site in one step.

#include "engine/token_table.h"
#include "platform/text_file.h"
#include "site/site_source.h"

#include <cstdint>
#include <memory>
#include <string>

namespace parvex::site {

struct SiteOptions {
    std::string title;      // the project's name on every page
    std::string text_note;  // how the pages show the text ("as on disk")
    std::string delimiters; // what separates words, as the listing takes them
};

// What a finished site holds, for messages and benchmarks.
struct SiteSummary {
    std::uint32_t files = 0;
    std::uint64_t lines = 0, tokens = 0;
    std::uint32_t distinct_tokens = 0, literals = 0, numbers = 0, routines = 0;
    std::uint64_t site_files = 0, site_bytes = 0;
};

class SiteWriter {
public:
    explicit SiteWriter(SiteOptions options);
    ~SiteWriter(); // an unfinished site is removed
    SiteWriter(const SiteWriter&) = delete;
    SiteWriter& operator=(const SiteWriter&) = delete;

    // Makes the fresh folder beside `out`. `out` may be missing, an empty folder or a site
    // written before; anything else is refused, so that no folder of the user's is replaced.
    [[nodiscard]] FileResult Begin(const std::string& out);
    // The next source; `path` is its place in the site's tree ("rtl/unix/x.pp"), as bytes.
    [[nodiscard]] FileResult Add(const std::string& path, SiteSource& source);
    // A source that could not be read: counted on the index.
    void Skipped();
    // Writes the project-wide data, the index and the lists, and puts the site in place of
    // `out`. `tokens` (may be null) gives the spelling a token is shown with, as a listing
    // would write it; else the spelling met first.
    [[nodiscard]] FileResult Finish(const TokenTable* tokens);
    const SiteSummary& Summary() const;

    // The name of the file that marks a folder as a site of this program.
    static constexpr const char* kMarkFile = ".parvex-site";

private:
    struct State;
    std::unique_ptr<State> s_;
};

// The page of a source at `path` in the site's tree, from the site's folder (as a file name).
std::string Page_Path(const std::string& path);

// Whether `folder` may be replaced by a site: missing, empty, or a site written before.
// Empty text when it may; else why not.
std::string Site_Target_Problem(const std::string& folder);

} // namespace parvex::site

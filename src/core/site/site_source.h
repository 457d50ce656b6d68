#pragma once
// One source made ready for the cross-reference site, on any thread: its text in the form the
// pages read (markers for comments, directives and literals, as the listing's scanner masks
// them), every token, literal and number with the lines it stands on, and its routines.

#include "engine/listing_options.h"
#include "engine/listing_run.h"
#include "engine/source_map.h"
#include "platform/text_file.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace parvex::site {

// Markers in a page's text: a comment, a directive or a literal starts; the stretch ends.
inline constexpr char kCommentMark = '\x01', kDirectiveMark = '\x02', kLiteralMark = '\x03',
                      kEndMark = '\x04';
// Kinds of keys: the first letter of every key of the site's data.
inline constexpr char kToken = 'T', kLiteral = 'L', kNumber = 'N';

struct SiteSource {
    std::uint32_t lines = 0;
    std::uint32_t tokens = 0; // token occurrences (numbers and literals not counted)
    // The text in pieces of whole lines: each the body of one string of a data script.
    struct Piece {
        std::uint32_t first_line;
        std::string text; // lines joined by LF, in UTF-8, with the markers above
    };
    std::vector<Piece> pieces;
    struct Entry {
        std::string key;      // kind letter + the key (a token in capitals)
        std::string spelling; // kind letter + the spelling met first
        std::uint32_t count = 0;
        std::uint32_t first_count = 0; // occurrences spelt as `spelling`
        std::vector<std::pair<std::string, std::uint32_t>> others; // other spellings: count
        std::string lines; // the distinct lines: the first, then twice each step (Append_Varint)
        std::uint32_t last_line = 0;
    };
    std::vector<Entry> entries; // in order of first occurrence
    std::vector<SourceMap::Routine> routines;

    void Clear();
};

// Reads sources for the site; one reader per thread.
class SiteReader {
public:
    // The bytes of a piece of text before a new piece begins.
    static constexpr std::size_t kPieceBytes = 32 * 1024;

    // `lines`: the source's lines as read (without byte-order mark); `utf8`: whether the whole
    // text is valid UTF-8 (else it is read as Latin-1).
    void Read(const LineViews& lines, bool utf8, const ListingOptions& options, SiteSource& out);

private:
    SiteSource::Entry& entry(SiteSource& out, const std::string& key, std::string_view spelling);
    void note(SiteSource& out, char kind, std::string_view word, std::uint32_t line);

    ListingEngine engine_;
    SourceMap map_;
    std::string display_;
    LineViews views_;
    std::unordered_map<std::string, std::uint32_t> index_; // key -> entry
    std::string key_;
};

} // namespace parvex::site
